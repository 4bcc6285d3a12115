#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the whole test suite (the window
# tests on Qt's offscreen platform).
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j "$(nproc)" "$@"
