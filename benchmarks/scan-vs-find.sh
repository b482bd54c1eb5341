#!/usr/bin/env bash
# Whole-process scan and clean times of the release command-line tool beside find over the same
# generated tree: 100,000 files in 5,000 folders, one *.tmp per folder, five .DS_Store files. Warm
# cache, best of several runs. Usage: benchmarks/scan-vs-find.sh [path/to/quillsweep-cli]
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:-}
if [ -z "$tool" ]; then # the release build, brought up to date
  tool=build/native-release/cli/quillsweep-cli
  cmake --preset native-release >/dev/null && cmake --build --preset native-release --target quillsweep-cli >/dev/null
fi
runs=${RUNS:-7}
tree=$(mktemp -d /tmp/qs-bench-tree.XXXXXX)
state=$(mktemp -d /tmp/qs-bench-state.XXXXXX)
trap 'rm -rf "$tree" "$state"' EXIT

for d in $(seq 0 4999); do
  dir=$tree/d$((d / 100))/s$d
  mkdir -p "$dir"
  names=()
  for f in $(seq 0 18); do names+=("$dir/f$f.dat"); done
  names+=("$dir/x$d.tmp")
  touch "${names[@]}"
done
for d in 0 1000 2000 3000 4000; do touch "$tree/d$((d / 100))/s$d/.DS_Store"; done

tmps=()
for d in $(seq 0 4999); do tmps+=("$tree/d$((d / 100))/s$d/x$d.tmp"); done
# The clean's records go to a scratch state folder, never the user's.
export XDG_STATE_HOME="$state"

best() { # command... -> best wall time in seconds over $runs runs; BEFORE runs untimed first
  local best=999 start end t
  for _ in $(seq "$runs"); do
    ${BEFORE:-true}
    start=$(date +%s.%N); "$@" >/dev/null 2>&1 || true; end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc)
    if (( $(echo "$t < $best" | bc) )); then best=$t; fi
  done
  printf '%.3f' "$best"
}

row() { # label tool-seconds find-seconds
  printf '%-44s %8s s %8s s %6.2fx\n' "$1" "$2" "$3" "$(echo "$2 / $3" | bc -l)"
}

find "$tree" >/dev/null  # warm the cache
printf '%-44s %10s %10s %7s\n' "scan" "tool" "find" "ratio"
row "option 21 Custom Files *.tmp (5,000 found)" \
  "$(best "$tool" scan "$tree" --no-prefs --options 21 --custom-files '*.tmp')" "$(best find "$tree" -iname '*.tmp')"
row "option 17 .DS_Store (5 found)" \
  "$(best "$tool" scan "$tree" --no-prefs --options 17)" "$(best find "$tree" -name .DS_Store)"
# Every option that searches the targets, beside one find with all their masks.
row "options 4,5,13-22 (the targets' options)" \
  "$(best "$tool" scan "$tree" --no-prefs --options 4,5,13-22 --custom-files '*.tmp')" \
  "$(best find "$tree" \( -name 'FILE????.CHK' -o -iname Thumbs.db -o -iname ehthumbs.db -o -iname ehthumbs_vista.db \
      -o -iname '*.tmp' -o -iname '*.temp' -o -iname '*.~tmp' -o -iname '~$*.*' -o -iname '*.cache' -o -iname '*.cch' \
      -o -iname '*.cache-?' -o -iname '*.bak' -o -iname '*.bkp' -o -iname '*.old' -o -iname '*.wbk' -o -iname '*.~*' \
      -o -iname '*~' -o -iname '*.orig' -o -iname '*.gid' -o -iname '*.ftg' -o -iname '*.fts' -o -iname '*.fnd' \
      -o -iname '*.syd' -o -iname '*.prv' -o -iname '*.$$$' -o -iname '*.---' -o -iname mscreate.dir -o -name .DS_Store \
      -o -path '*/.Trashes/*' -o -path '*/.Spotlight-V100/*' -o \( -type d -empty \) \))"

# The clean deletes what it found: the 5,000 *.tmp files come back before every run. The tool and
# find take turns, so that a change in the machine's load falls on both.
restore() { touch "${tmps[@]}"; }
printf '%-44s %10s %10s %7s\n' "clean (scan included)" "tool" "find" "ratio"
cleaned=999 found=999
for _ in $(seq "$runs"); do
  t=$(runs=1 BEFORE=restore best "$tool" clean "$tree" --no-prefs --options 21 --custom-files '*.tmp' --yes)
  if (( $(echo "$t < $cleaned" | bc) )); then cleaned=$t; fi
  t=$(runs=1 BEFORE=restore best find "$tree" -iname '*.tmp' -delete)
  if (( $(echo "$t < $found" | bc) )); then found=$t; fi
done
row "option 21 Custom Files *.tmp (5,000 removed)" "$cleaned" "$found"
