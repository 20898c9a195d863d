#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the pure
# rules natively under sanitizers and briefly fuzzed, the Windows code under
# Wine on a virtual display, and the 32-bit program as it ships.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset fuzz
cmake --build --preset fuzz
ctest --preset fuzz

cmake --preset win32 -DBUILD_TESTING=OFF
cmake --build --preset win32

cmake --preset win64 -DHOMECLICK_SHIPPED_EXE="$PWD/build/win32/homeclick.exe"
cmake --build --preset win64
ctest --preset win64
