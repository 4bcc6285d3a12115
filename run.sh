#!/usr/bin/env bash
# Sets up what is missing, builds, and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No graphical display here (DISPLAY is not set), so the window cannot open."
  echo "The command-line version does every job of the window: build/bin/lumarin-cli --help"
  exit 1
fi
exec build/bin/lumarin "$@"
