#!/bin/sh
# Start-up time and memory of the game, headless: process start to the first drawn splash
# frame, to the main menu, resident memory at the main menu and in a level reached from it
# through the packs and the score sheet. Each run is a first start in an empty folder with
# its own documents folder (full screen, as a first start is).
#   bench/startup.sh [build folder] [runs]    (the build needs -DPINDRAKE_RESOURCES=ON)
set -eu
build=$(cd "${1:-build}" && pwd)
runs=${2:-3}
program="$build/bench/bench_startup"
[ -x "$program" ] || program="$build/bench_startup"
if [ ! -x "$program" ]; then
  echo "bench_startup not built: ninja -C $build bench_startup" >&2
  exit 1
fi
if [ ! -f "$build/Resources/texts/texts.xml" ]; then
  echo "no generated Resources in $build (configure with -DPINDRAKE_RESOURCES=ON, build target resources)" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/pindrake_startup_XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy
run=1
while [ "$run" -le "$runs" ]; do
  start="$work/run$run"
  mkdir -p "$start/Resources"
  for entry in "$build"/Resources/*; do ln -s "$entry" "$start/Resources/"; done
  echo "run $run:"
  # The game's log goes to a file; the figures come on standard error.
  (cd "$start" && XDG_DOCUMENTS_DIR="$start/Documents" PINDRAKE_BENCH_T0=$(date +%s%N) "$program" >"$start/game.log")
  run=$((run + 1))
done
echo "goals: first splash frame under 250 ms, main menu memory under 150 MB, level memory under 170 MB"
