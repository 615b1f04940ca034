#!/usr/bin/env bash
# What CI costs: clones the committed HEAD into a fresh folder, runs scripts/test.sh there
# with the compiler cache off, on the given processors only (default two: 0 and 1), and
# prints each phase's wall time and processor time (user + system), then the whole.
#   bash bench/ci_time.sh [processors for taskset, default 0,1] [folder, default build-ci]
# The folder is inside the work tree and removed first; the clone, its build folders and the
# run's log (ci_time.log) stay in it for a look afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
cpus=${1:-0,1}
work=${2:-build-ci}
rm -rf "$work"
git clone -q --no-hardlinks . "$work"
log=$(pwd)/$work/ci_time.log

start=$SECONDS
status=0
(cd "$work" && CCACHE_DISABLE=1 taskset -c "$cpus" bash scripts/test.sh) >"$log" 2>&1 || status=$?
wall=$((SECONDS - start))

echo "CI from a clean clone on processors $cpus (log: $log)"
awk '/^test\.sh: .* took [0-9]+ s, processor [0-9]+ s$/ {
       name = $0; sub(/^test\.sh: /, "", name); sub(/ took .*/, "", name)
       printf "  %-16s %6.1f min wall %6.1f CPU-min\n", name, $(NF - 4) / 60, $(NF - 1) / 60
       cpu += $(NF - 1) }
     END { printf "  %-16s %6s          %6.1f CPU-min\n", "phases together", "", cpu / 60 }' "$log"
awk -v wall="$wall" 'BEGIN { printf "  %-16s %6.1f min wall\n", "whole run", wall / 60 }'
if [ "$status" -ne 0 ]; then
  echo "scripts/test.sh failed (exit status $status): see $log" >&2
  exit "$status"
fi
