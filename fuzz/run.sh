#!/usr/bin/env bash
# Fuzzes the record reader and the record decoder with libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer. Not part of ./test.sh.
# Usage: fuzz/run.sh [SECONDS]   (default 120)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="${LUMARIN_FUZZ_DIR:-/tmp/lumarin-fuzz}"
mkdir -p "$OUT/corpus"
command -v clang++ >/dev/null || apt-get -o DPkg::Lock::Timeout=600 install -y -q clang >/dev/null
SOURCES=()
for name in text errors clock paths line_file marc_record marc_reader; do SOURCES+=("$ROOT/core/$name.cpp"); done
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$ROOT" -I"$ROOT/tests" "$ROOT/fuzz/fuzz_record_file.cpp" "${SOURCES[@]}" -o "$OUT/fuzz_record_file"
# Seed the corpus with the shared sample files when they are there.
for f in "$ROOT"/../shared/data/real/*; do
  case "$f" in *.mrc|*.marc|*.iso|*.dat|*.usmarc) cp -n "$f" "$OUT/corpus/" 2>/dev/null || true ;; esac
done
"$OUT/fuzz_record_file" "$OUT/corpus" -max_total_time="${1:-120}" -max_len=20000 -timeout=10 -print_final_stats=1
