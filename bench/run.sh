#!/usr/bin/env bash
# The benchmark: builds the programs and baselines, runs them under Wine on a
# virtual display, and writes bench/results/results.md and cadence.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
dpkg-query -W -f='${Status}' gnuplot-nox 2>/dev/null | grep -q 'install ok installed' ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends gnuplot-nox
cmake --preset win32 -DBUILD_TESTING=OFF
cmake --build --preset win32
cmake --preset win64
cmake --build --preset win64
session=$PWD/build/bench-session
tests/support/wine-session start "$session"
trap 'tests/support/wine-session stop "$session"' EXIT
python3 bench/bench.py --session "$session" \
    --homeclick build/win64/homeclick.exe --shipped build/win32/homeclick.exe \
    --counter build/win64/click_counter.exe \
    --baseline-clicker build/win64/baseline_clicker.exe --baseline-window build/win64/baseline_window.exe \
    --baseline-styled-window build/win64/baseline_styled_window.exe \
    --results bench/results "$@"
