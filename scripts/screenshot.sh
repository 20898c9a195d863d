#!/usr/bin/env bash
# Builds the 32-bit program, runs it under Wine on a virtual display and writes
# docs/homeclick-window.png, the picture in the README.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset win32 -DBUILD_TESTING=OFF
cmake --build --preset win32
session=$PWD/build/screenshot-session
tests/support/wine-session start "$session" >/dev/null
trap 'tests/support/wine-session stop "$session"' EXIT
# shellcheck disable=SC1091
. "$session/env"
LC_ALL=${LC_ALL:-zh_CN.UTF-8} "$WINE" build/win32/homeclick.exe >/dev/null 2>&1 &
tests/support/capture-window "$DISPLAY" docs/homeclick-window.png
kill $! 2>/dev/null || true
