#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, as CI does (.ci/run):
#   build-asan/  every suite under AddressSanitizer and UndefinedBehaviorSanitizer, leak
#                checks on; this build also makes the game, its Resources and the benchmarks
#   build-tsan/  the sound tests under ThreadSanitizer
#   build-fuzz/  a short run of every file reader's fuzz target (scripts/fuzz.sh)
# Warnings are errors in every build made here. build/ is scripts/play.sh's, so switching
# between the two never rebuilds either. Each phase ends with a line "test.sh: <phase> ..."
# giving its wall and processor time (bench/ci_time.sh collects them).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

# Runs a phase and prints its wall time and the processor time (user + system) of what it ran.
phase() {
  local name=$1
  shift
  local start=$SECONDS before
  children_seconds
  before=$seconds
  "$@"
  children_seconds
  echo "test.sh: $name took $((SECONDS - start)) s, processor $((seconds - before)) s"
}
# Sets `seconds` to the user and system time of every finished child of this shell so far.
# `times` must run in this shell itself (in a command substitution it would count the
# children of that subshell: none).
times_file=$(mktemp)
trap 'rm -f "$times_file"' EXIT
children_seconds() {
  times >"$times_file"
  seconds=$(awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); printf "%d\n", u[1] * 60 + u[2] + s[1] * 60 + s[2] }' \
    "$times_file")
}

phase setup bash scripts/setup.sh

# The leak check stops every thread at the end and reads their thread-local blocks; for the
# libraries Mesa loads, the __tls_get_addr hook hands it bogus bounds, and the check then
# crashes at exit, in some runs and not others (under CTest in most). Without the hook it
# leaves those bounds alone; the suite reports the same leaks either way (none).
export ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1
phase "sanitizer build" bash -c 'cmake -S . -B build-asan -G Ninja -DPINDRAKE_SANITIZE=address -DPINDRAKE_WERROR=ON &&
  cmake --build build-asan'
# The tests make and remove tens of thousands of files (a copy of the Resources for every game
# they start) and flush every save they write: in memory that costs a sixth of what it costs on
# a disk. Only where memory has room to spare (a container's /dev/shm may hold 64 MB).
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ] &&
  [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -gt 2097152 ]; then
  export TMPDIR=/dev/shm
fi
phase "sanitizer tests" ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 300
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

phase "thread build" bash -c 'cmake -S . -B build-tsan -G Ninja -DPINDRAKE_SANITIZE=thread -DPINDRAKE_WERROR=ON \
  -DPINDRAKE_RESOURCES=OFF -DPINDRAKE_BENCH=OFF -DPINDRAKE_TEST_FILES=engine/sound &&
  cmake --build build-tsan --target test_engine'
export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=1"
phase "thread tests" ctest --test-dir build-tsan --output-on-failure --timeout 300
unset TSAN_OPTIONS

phase fuzz bash scripts/fuzz.sh 5000 build-asan/Resources
