#!/bin/bash
# The long fuzz run, by hand: every target for SECONDS (default 600), one after another, growing
# its kept corpus in fuzz/corpus/<target> (merged to the inputs that add coverage). A crash stops
# the run with the target's log; its input lands in out/fuzz-crashes/<target>/.
#   fuzz-campaign.sh [SECONDS] [TARGET...]
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift || true
bin="$root/out/build/fuzz/fuzz"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(cd "$root/fuzz/seeds" && ls))
for t in "${targets[@]}"; do
  kept="$root/fuzz/corpus/$t" fresh="$root/out/fuzz-corpus/$t" crashes="$root/out/fuzz-crashes/$t"
  mkdir -p "$kept" "$fresh" "$crashes"
  log="$root/out/build/fuzz/$t.campaign.log"
  before=$(ls "$kept" | wc -l)
  "$bin/$t" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$crashes/" \
    "$fresh" "$kept" "$root/fuzz/seeds/$t" >"$log" 2>&1 || { tail -40 "$log"; echo "fuzz: $t FAILED"; exit 1; }
  # Keep only what adds coverage: merge everything found into a fresh kept folder.
  merged=$(mktemp -d)
  "$bin/$t" -merge=1 "$merged" "$kept" "$fresh" >/dev/null 2>&1
  rm -rf "$kept" && mv "$merged" "$kept"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
  echo "fuzz: $t ${seconds}s, $runs runs, $cov, kept corpus $before -> $(ls "$kept" | wc -l) files"
done
