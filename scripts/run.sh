#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit program and starts it under Wine.
# Without an X display it runs on a virtual one, and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset win32 -DBUILD_TESTING=OFF
cmake --build --preset win32
exe=$PWD/build/win32/homeclick.exe

export WINEPREFIX=${WINEPREFIX:-$PWD/build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    session=$PWD/build/run-session
    tests/support/wine-session start "$session" >/dev/null
    # shellcheck disable=SC1091
    . "$session/env"
    trap 'tests/support/wine-session stop "$session"' EXIT
    echo "No X display here: homeclick runs on the virtual display $DISPLAY (Xvfb)."
    echo "Its picture is written to build/homeclick-window.png once the window is up; Ctrl-C ends it."
    ( tests/support/capture-window "$DISPLAY" build/homeclick-window.png >/dev/null 2>&1 || true ) &
else
    echo "Starting $exe on $DISPLAY"
fi
wine=${WINE:-$(command -v wine)}
exec "$wine" "$exe"
