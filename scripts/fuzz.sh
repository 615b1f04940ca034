#!/usr/bin/env bash
# Builds the file readers' fuzz targets with clang (build-fuzz/, address and undefined
# behaviour sanitizers on) and runs each for a fixed number of inputs, on a corpus seeded
# from a build's generated Resources and the save files in tests/fuzz/seeds. A crash, a
# sanitizer report, an oversized allocation or a hang fails the run and leaves the input in
# build-fuzz/.
#   bash scripts/fuzz.sh [inputs per target, default 5000] [Resources, default build/Resources]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5000}
resources=${2:-build/Resources}
if [ ! -f "$resources/texts/texts.xml" ]; then
  echo "fuzz: no generated Resources in $resources (run scripts/build.sh first)" >&2
  exit 1
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DPINDRAKE_FUZZ=ON \
  -DPINDRAKE_TESTS=OFF -DPINDRAKE_BENCH=OFF -DPINDRAKE_RESOURCES=OFF
cmake --build build-fuzz

# The save reader writes its files on every input: a memory-backed folder keeps that fast.
scratch=/dev/shm
[ -d "$scratch" ] && [ -w "$scratch" ] || scratch=${TMPDIR:-/tmp}
work=$(mktemp -d "$scratch/pindrake_fuzz_XXXXXX")
trap 'rm -rf "$work"' EXIT

corpus=$work/corpus
mkdir -p "$corpus/level_reader" "$corpus/font_reader" "$corpus/save_readers" "$corpus/zip_reader"
cp "$resources"/Levels/*.xml "$corpus/level_reader/"
cp "$resources"/font/*.fnt "$corpus/font_reader/"
cp tests/fuzz/seeds/save_readers/* "$corpus/save_readers/"
zips=$(cd "$corpus/zip_reader" && pwd)
(cd "$resources" &&
  zip -q -P pindrake "$zips/password.zip" font/font20.fnt Levels/Level_0.xml &&
  zip -q -0 -P pindrake "$zips/stored.zip" interface/cursor.png &&
  zip -q "$zips/plain.zip" texts/texts.xml sounds/card_select.ogg)

for target in level_reader font_reader save_readers zip_reader; do
  echo "fuzz: $target, $runs inputs"
  TMPDIR=$work "build-fuzz/tests/fuzz/fuzz_$target" -runs="$runs" -seed=1 -timeout=10 \
    -rss_limit_mb=2048 -malloc_limit_mb=256 -print_final_stats=0 \
    -artifact_prefix="build-fuzz/$target-" "$corpus/$target" >/dev/null 2>"$work/$target.log" || {
    tail -n 60 "$work/$target.log" >&2
    echo "fuzz: $target failed; the input is in build-fuzz/" >&2
    exit 1
  }
  grep -E '^Done' "$work/$target.log" || true
done
echo "fuzz: every reader held"
