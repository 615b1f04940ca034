#!/usr/bin/env bash
# Kills the game's saves of play in the middle, again and again, and counts what that did to
# them (bench/kill_during_save.sh does the same for the start-up and the close): a finished
# frame's results and money, a purchase, a trophy and its prize, a player's deletion (with a
# newcomer added after it) and the editor's save of a level file. Each run starts from the
# same seeded saves, writes one kind of save in a loop through the game's own code
# (bench/play_save_kills.cpp), is killed at a random moment and is followed by a start as the
# game makes it, which reports corrupt saves, players or results lost or not as written,
# data of the player nobody saved changed, and temporary or staged files left over.
# Headless; prints figures, never fails.
#   bench/kill_during_play_saves.sh [build folder] [runs in all]
# Goal: 1,000 runs in all with 0 corrupt, 0 lost, 0 changed, 0 leftovers.
set -u
build=$(cd "${1:-build}" && pwd)
runs=${2:-1000}
program="$build/bench/bench_play_save_kills"
[ -x "$program" ] || program="$build/bench_play_save_kills"
if [ ! -x "$program" ]; then
  echo "kill_during_play_saves: build bench_play_save_kills in $build first" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/pindrake_play_kill_XXXXXX")
trap 'rm -rf "$work"' EXIT
start="$work/start"
export XDG_DOCUMENTS_DIR="$work/Documents"
base="$XDG_DOCUMENTS_DIR/Ostvane/Pindrake"
mkdir -p "$start"
(cd "$start" && "$program" seed >/dev/null) || { echo "kill_during_play_saves: the seed failed" >&2; exit 1; }

kinds=(frame purchase trophy deletion editor)
per_kind=$((runs / ${#kinds[@]}))
random_ms() { echo $(( (RANDOM * 32768 + RANDOM) % ($1 + 1) )); }

restore_seed() {
  rm -rf "$base/Saves"
  cp -a "$base/seed/Saves" "$base/Saves"
  cp "$base"/seed/Levels/* "$start/Resources/Levels/"
}

printf '%-9s %6s %8s %6s %8s %10s\n' kind runs corrupt lost changed leftovers
begin=$(date +%s)
for kind in "${kinds[@]}"; do
  corrupt=0 lost=0 changed=0 leftovers=0 done_runs=0
  for ((run = 1; run <= per_kind; run++)); do
    restore_seed
    : >"$work/saver.err"
    (cd "$start" && exec "$program" "$kind") >/dev/null 2>"$work/saver.err" &
    saver=$!
    until grep -q ready "$work/saver.err" 2>/dev/null || ! kill -0 "$saver" 2>/dev/null; do sleep 0.001; done
    sleep "$(printf '0.%03d' "$(random_ms 60)")"
    kill -KILL "$saver" 2>/dev/null
    wait "$saver" 2>/dev/null
    read -r c l h t < <(cd "$start" && "$program" check "$kind" 2>&1 >/dev/null)
    corrupt=$((corrupt + c)) lost=$((lost + l)) changed=$((changed + h)) leftovers=$((leftovers + t))
    done_runs=$((done_runs + 1))
  done
  printf '%-9s %6d %8d %6d %8d %10d\n' "$kind" "$done_runs" "$corrupt" "$lost" "$changed" "$leftovers"
done
echo "($(($(date +%s) - begin)) s; goal: 1000 runs in all, 0 corrupt, 0 lost, 0 changed, 0 leftovers)"
