#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, then the
# rendering and widget suites under AddressSanitizer (with leak detection) and the sound
# suite under ThreadSanitizer, each in a build folder of its own, and finally a short run of
# every file reader's fuzz target. Warnings are errors in every build made here.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
# The recording tests play sound in real time: on a machine busy with the other tests the
# sound thread can be starved long enough to leave a gap. They run alone, after the rest.
recorded='^SoundWave\.'

bash scripts/build.sh -DPINDRAKE_WERROR=ON
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300 -E "$recorded"
ctest --test-dir build --output-on-failure --timeout 300 -R "$recorded"

cmake -S . -B build-asan -G Ninja -DPINDRAKE_SANITIZE=address -DPINDRAKE_WERROR=ON -DPINDRAKE_RESOURCES=OFF \
  -DPINDRAKE_BENCH=OFF
cmake --build build-asan --target test_engine test_primitives test_gui
export ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 300 -L 'engine|primitives|gui' -E "$recorded"
ctest --test-dir build-asan --output-on-failure --timeout 300 -R "$recorded"
unset ASAN_OPTIONS LSAN_OPTIONS

cmake -S . -B build-tsan -G Ninja -DPINDRAKE_SANITIZE=thread -DPINDRAKE_WERROR=ON -DPINDRAKE_RESOURCES=OFF \
  -DPINDRAKE_BENCH=OFF
cmake --build build-tsan --target test_engine
TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=1" \
  ctest --test-dir build-tsan --output-on-failure --timeout 300 -R 'Sound|Mixer'

bash scripts/fuzz.sh 5000
