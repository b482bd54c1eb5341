#!/usr/bin/env bash
# A clean that moves 10,000 files to the Trash beside one that deletes them, in the same run, by the
# release command-line tool (scan included, warm cache, best of several runs). Fails when moving
# costs more than 1.5 times deleting. The tree and the Trash are scratch folders on one file system
# (the home trash is then the one used); run it where /tmp is private, as the tests are.
# Usage: benchmarks/recycle-vs-delete.sh [path/to/quillsweep-cli]
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:-build/native-release/cli/quillsweep-cli}
if [ ! -x "$tool" ]; then
  cmake --preset native-release >/dev/null && cmake --build --preset native-release --target quillsweep-cli >/dev/null
fi
runs=${RUNS:-5}
tree=$(mktemp -d /tmp/qs-bench-tree.XXXXXX)
scratch=$(mktemp -d /tmp/qs-bench-home.XXXXXX)
trap 'rm -rf "$tree" "$scratch"' EXIT
# The records and the Trash of these cleans are scratch ones, never the user's.
export XDG_STATE_HOME="$scratch/state" XDG_DATA_HOME="$scratch/data"

files=()
for d in $(seq 0 99); do
  mkdir -p "$tree/d$d"
  for f in $(seq 0 99); do files+=("$tree/d$d/f$f.tmp"); done
done
# Each run starts from the same 10,000 files and an empty Trash.
restore() { rm -rf "$XDG_DATA_HOME/Trash"; touch "${files[@]}"; }

best() { # command... -> best wall time in seconds over $runs runs
  local best=999 start end t
  for _ in $(seq "$runs"); do
    restore
    start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc)
    if (( $(echo "$t < $best" | bc) )); then best=$t; fi
  done
  printf '%.3f' "$best"
}

restore
find "$tree" >/dev/null  # warm the cache
clean=("$tool" clean "$tree" --no-prefs --options 13 --yes)
delete=$(best "${clean[@]}")
recycle=$(best "${clean[@]}" --recycle)
restore; "${clean[@]}" --recycle >/dev/null 2>&1
moved=$(find "$XDG_DATA_HOME/Trash/files" -mindepth 1 -maxdepth 1 | wc -l)
ratio=$(echo "$recycle / $delete" | bc -l)
printf '%-40s %8s s\n' "delete 10,000 files (scan included)" "$delete"
printf '%-40s %8s s  (%d in the Trash)\n' "move them to the Trash" "$recycle" "$moved"
printf '%-40s %8.2fx (goal: at most 1.50x)\n' "ratio" "$ratio"
[ "$moved" -eq 10000 ] && (( $(echo "$ratio <= 1.5" | bc) ))
