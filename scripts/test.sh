#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, then the
# rendering and widget suites under AddressSanitizer and the sound suite under
# ThreadSanitizer, each in a build folder of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)

bash scripts/build.sh
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300

cmake -S . -B build-asan -G Ninja -DPINDRAKE_SANITIZE=address -DPINDRAKE_RESOURCES=OFF -DPINDRAKE_BENCH=OFF
cmake --build build-asan --target test_engine test_primitives test_gui
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 300 -L 'engine|primitives|gui'

cmake -S . -B build-tsan -G Ninja -DPINDRAKE_SANITIZE=thread -DPINDRAKE_RESOURCES=OFF -DPINDRAKE_BENCH=OFF
cmake --build build-tsan --target test_engine
TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=1" \
  ctest --test-dir build-tsan --output-on-failure --timeout 300 -R 'Sound|Mixer'
