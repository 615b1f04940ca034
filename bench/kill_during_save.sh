#!/usr/bin/env bash
# Kills the game again and again at random moments of its start-up and of its close, when it
# writes its saves, and counts what that did to them: corrupt saves (a save the next start
# has to set aside as .corrupt), players lost or changed, the run counter lost, and temporary
# files left behind once a last, undisturbed start and close have run. Headless, each run in
# the same documents folder seeded with three players. Prints figures, never fails.
#   bench/kill_during_save.sh [build folder] [runs]    (the build needs its Resources)
# Goal: 1,000 runs with 0 corrupt, 0 lost or changed, 0 leftovers.
set -u
build=$(cd "${1:-build}" && pwd)
runs=${2:-1000}
program="$build/pindrake"
if [ ! -x "$program" ] || [ ! -f "$build/Resources/texts/texts.xml" ]; then
  echo "kill_during_save: build the game and its Resources in $build first" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/pindrake_kill_XXXXXX")
trap 'rm -rf "$work"' EXIT
start="$work/start"
documents="$work/Documents"
saves="$documents/Ostvane/Pindrake/Saves"
statistics="$documents/Ostvane/Pindrake/Statistics"
mkdir -p "$start/Resources" "$saves" "$statistics"
for entry in "$build"/Resources/*; do ln -s "$entry" "$start/Resources/"; done
export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy LP_NUM_THREADS=1
export XDG_DOCUMENTS_DIR="$documents"

# Three players as the game itself writes them, so that a close saving the same settings
# leaves the file byte for byte as it was.
player() {  # id name money sound music fullscreen back type places reshuffles jokers
  printf '\t<player id="%s" name="%s" money="%s" soundVolume="%s" musicVolume="%s" isFullscreen="%s" isMuteAll="false" currentBack="%s" currentCardType="%s" additionalCardPlaces="%s" isShowedFirstHint="2" reshuffles="%s" jokers="%s" isShowedHint29="true">\n' "$@"
  printf '\t\t<trophies gameWasPassedOnJuniorLevel="true" gameWasPassedOnProfessionalLevel="false" onePackWasPassedWithResult300OnJuniorLevel="true" sixPacksWasPassedWithResult300OnJuniorLevel="false" twelvePacksWasPassedWithResult300OnJuniorLevel="false" wasStrike="true" wasTwoStrikesInSuccession="true" wasThreeStrikesInSuccession="false" totalScore_100000_achievedOnJuniorLevel="false" totalScore_500000_achievedOnJuniorLevel="false" totalScore_1000000_achievedOnJuniorLevel="false" totalScore_100000_achievedOnProfessionalLevel="false" totalScore_500000_achievedOnProfessionalLevel="false" totalScore_1000000_achievedOnProfessionalLevel="false" reshuffleBonusWasUsed10Times="true" reshuffleBonusWasUsed50Times="false" reshuffleBonusWasUsed100Times="false" jokerBonusWasUsed10Times="true" jokerBonusWasUsed50Times="false" jokerBonusWasUsed100Times="false" allPlacesForBonusCardsWereBought="false" />\n'
  printf '\t\t<statistics numberOfPacksCompletedWithResult300_juniorMode="1" numberOfPacksCompletedWithResult300_professionalMode="0" numberOfUsageOfBonusReshuffle="12" numberOfUsageOfBonusJoker="11" />\n'
  printf '\t</player>\n'
}
{
  printf '<?xml version="1.0"?>\n<players numberOfPlayers="3" currentPlayer="1">\n'
  player 0 Ann 1200 0.3 0.6 false 2 1 1 4 5
  player 1 Bob 77 0.25 0.75 false 7 2 3 9 8
  player 2 Cy 31415 0.8 0.1 false 11 0 0 1 0
  printf '</players>\n'
} >"$work/players.seed"
cp "$work/players.seed" "$saves/players.xml"

random_ms() { echo $(( (RANDOM * 32768 + RANDOM) % ($1 + 1) )); }
sleep_ms() { sleep "$(printf '0.%03d' "$1")"; }
session() { sed -n 's/.*sessionNumber="\([0-9]*\)".*/\1/p' "$statistics/statistics.xml" 2>/dev/null | head -n 1; }
count_temporaries() { find "$saves" "$statistics" -type f \( -name '*.tmp-??????' -o -name '*.tmp' \) | wc -l; }
count_corrupt() { find "$saves" "$statistics" -type f -name '*.corrupt*' | wc -l; }

run_game() {  # starts the game in the background; its pid in $game, its log in $log
  log="$work/game.log"
  : >"$log"
  (cd "$start" && exec "$program") >"$log" 2>&1 &
  game=$!
}
wait_for_loop() {  # until the main loop has started (at most 20 s)
  local waited=0
  until grep -qx 'Start' "$log" 2>/dev/null; do
    sleep 0.005
    waited=$((waited + 5))
    [ "$waited" -gt 20000 ] && return 1
    kill -0 "$game" 2>/dev/null || return 1
  done
}

changed=0
counter_lost=0
killed_in_start_up=0
killed_in_close=0
temporaries_seen=0
previous_session=$(session)
previous_session=${previous_session:-0}
begin=$(date +%s)
for ((run = 1; run <= runs; run++)); do
  run_game
  if ((run % 2)); then
    # Start-up: the save folders are made, stale temporaries removed, the run counted.
    sleep_ms "$(random_ms 500)"
    kill -KILL "$game" 2>/dev/null
    killed_in_start_up=$((killed_in_start_up + 1))
  else
    # Close: the current player's settings are saved, then everything is released.
    if wait_for_loop; then
      kill -TERM "$game" 2>/dev/null
      sleep_ms "$(random_ms 80)"
    fi
    kill -KILL "$game" 2>/dev/null
    killed_in_close=$((killed_in_close + 1))
  fi
  wait "$game" 2>/dev/null
  temporaries_seen=$((temporaries_seen + $(count_temporaries)))
  if ! cmp -s "$work/players.seed" "$saves/players.xml"; then
    changed=$((changed + 1))
    cp "$work/players.seed" "$saves/players.xml"
  fi
  now_session=$(session)
  if [ -n "$now_session" ]; then
    [ "$now_session" -lt "$previous_session" ] && counter_lost=$((counter_lost + 1))
    previous_session=$now_session
  fi
done
seconds=$(($(date +%s) - begin))

# One undisturbed start and close: it reads every save (setting aside any corrupt one) and
# removes what the killed runs left.
run_game
wait_for_loop && kill -TERM "$game"
wait "$game"
status=$?
cmp -s "$work/players.seed" "$saves/players.xml" || changed=$((changed + 1))

echo "runs:                         $runs ($killed_in_start_up killed in start-up, $killed_in_close in the close; $seconds s)"
echo "corrupt saves:                $(count_corrupt)"
echo "players lost or changed:      $changed"
echo "run counter lost:             $counter_lost (counter now $(session))"
echo "temporaries left by kills:    $temporaries_seen (each removed by the next start)"
echo "leftover temporary files:     $(count_temporaries)"
echo "last undisturbed run:         exit status $status"
echo "goal: 1000 runs, 0 corrupt, 0 lost or changed, 0 leftovers"
