#!/usr/bin/env bash
# Builds the benchmarks and prints their figures. Large files go to
# ${LUMARIN_BENCH_DIR:-/tmp/lumarin-bench}. Usage: bench/run.sh [reader|all]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
bash "$ROOT/scripts/setup.sh" >/dev/null
need=()
command -v yaz-marcdump >/dev/null || need+=(yaz)
[ -x /usr/bin/time ] || need+=(time)
command -v bc >/dev/null || need+=(bc)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q "${need[@]}" >/dev/null
fi
DIR="${LUMARIN_BENCH_DIR:-/tmp/lumarin-bench}"
mkdir -p "$DIR"
BIN="$ROOT/build/bin"
what="${1:-all}"

peak_of() { /usr/bin/time -f '%e %M' "$@" 2>&1 >/dev/null | tail -1; }

if [ "$what" = reader ] || [ "$what" = all ]; then
  echo "== record reader =="
  BIG="$DIR/books-500k.iso" SMALL="$DIR/books-50k.iso"
  [ -f "$BIG" ] || "$BIN/bench_reader" generate "$BIG" 500000
  [ -f "$SMALL" ] || "$BIN/bench_reader" generate "$SMALL" 50000
  cat "$BIG" > /dev/null   # warm the page cache for both readers alike
  "$BIN/bench_reader" count "$BIG"
  "$BIN/bench_reader" scan "$BIG"
  "$BIN/bench_reader" scan "$SMALL"
  "$BIN/bench_reader" isbn-list "$BIG" "$DIR/isbn.txt"
  read -r ysec ykb < <(peak_of yaz-marcdump -n "$BIG")
  lsec=$(/usr/bin/time -f '%e' "$BIN/bench_reader" scan "$BIG" 2>&1 >/dev/null | tail -1)
  echo "yaz-marcdump -n on the same file: ${ysec} s, peak RSS $((ykb / 1024)) MB"
  echo "lumarin scan (010 \$a of every record): ${lsec} s  -> $(echo "scale=1; $ysec / $lsec" | bc) x yaz's rate"
fi

for b in "$BIN"/bench_*; do
  name=$(basename "$b")
  [ "$name" = bench_reader ] && continue
  if [ "$what" = all ] || [ "$what" = "${name#bench_}" ]; then
    echo "== ${name#bench_} =="
    "$b" "$DIR"
  fi
done
