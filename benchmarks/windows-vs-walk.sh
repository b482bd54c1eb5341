#!/usr/bin/env bash
# The Windows tool under Wine beside the floor measured in the same run: a bare FindFirstFileExW
# walk (benchmarks/win32/BareWalk.cpp) over the same generated tree, and the same walk deleting
# what matches. Whole-process times, best of RUNS (default 3), warm cache; in the scan rows the
# tool and the walk take turns.
#   scans: 100,000 files in 5,000 folders, one *.tmp per folder, five .DS_Store files;
#   clean (scan included): 1,000 *.tmp of 20,000 files, on a fresh copy of the tree each run.
# Usage: benchmarks/windows-vs-walk.sh [path/to/quillsweep-cli.exe]
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:-}
if [ -z "$tool" ]; then # the Windows build, brought up to date
  tool=build/windows/cli/quillsweep-cli.exe
  cmake --preset windows >/dev/null && cmake --build --preset windows --target quillsweep-cli >/dev/null
fi
runs=${RUNS:-3}
work=$(mktemp -d /tmp/qs-bench-walk.XXXXXX)
walk=$work/BareWalk.exe
i686-w64-mingw32-g++-posix -O2 -municode -static benchmarks/win32/BareWalk.cpp -o "$walk"

tree() { # folder count -> files: 19 .dat and one .tmp per folder
  for d in $(seq 0 $(($2 - 1))); do
    local dir=$1/d$((d / 100))/s$d
    mkdir -p "$dir"
    (cd "$dir" && touch $(seq -f 'f%g.dat' 0 18) "x$d.tmp")
  done
}
tree "$work/scan" 5000
for d in 0 1000 2000 3000 4000; do touch "$work/scan/d$((d / 100))/s$d/.DS_Store"; done
tree "$work/template" 1000

unset DISPLAY
source scripts/wine-env.sh >/dev/null
trap 'qs_wine_stop; rm -rf "$work"' EXIT
win() { echo "Z:${1//\//\\}"; }

seconds() { # command... -> wall time; Wine's output goes to a file (its server keeps pipes open)
  local start end
  start=$(date +%s.%N); "$@" >"$work/out" 2>&1 || true; end=$(date +%s.%N)
  echo "$end - $start" | bc
}
best() { # [--fresh] command... -> best time; --fresh copies the clean tree anew before each run
  local fresh=0 best=999 t
  [ "$1" = --fresh ] && { fresh=1; shift; }
  for _ in $(seq "$runs"); do
    if [ $fresh = 1 ]; then rm -rf "$work/clean"; cp -a "$work/template" "$work/clean"; fi
    t=$(seconds "$@")
    if (( $(echo "$t < $best" | bc) )); then best=$t; fi
  done
  printf '%.3f' "$best"
}
row() { printf '%-46s %8s s %8s s %6.2fx\n' "$1" "$2" "$3" "$(echo "$2 / $3" | bc -l)"; }
# The tool and its floor in turn, so that a change in the machine's load falls on both.
pair() { # label tool-command... -- floor-command...
  local label=$1 side=tool tool=() floor=() a t bt=999 bf=999
  shift
  for a in "$@"; do
    if [ "$a" = -- ] && [ $side = tool ]; then side=floor; elif [ $side = tool ]; then tool+=("$a"); else floor+=("$a"); fi
  done
  for _ in $(seq "$runs"); do
    t=$(seconds "${tool[@]}"); if (( $(echo "$t < $bt" | bc) )); then bt=$t; fi
    t=$(seconds "${floor[@]}"); if (( $(echo "$t < $bf" | bc) )); then bf=$t; fi
  done
  row "$label" "$(printf '%.3f' "$bt")" "$(printf '%.3f' "$bf")"
}

wine "$walk" "$(win "$work/scan")" '*.tmp' >/dev/null 2>&1  # warm Wine and the cache
printf '%-46s %10s %10s %7s\n' "Windows tool under Wine" "tool" "floor" "ratio"
pair "scan option 21 *.tmp (5,000 of 100,000)" \
  wine "$tool" scan "$(win "$work/scan")" --no-prefs --options 21 --custom-files '*.tmp' -- \
  wine "$walk" "$(win "$work/scan")" '*.tmp'
pair "scan option 17 .DS_Store (5 of 100,000)" \
  wine "$tool" scan "$(win "$work/scan")" --no-prefs --options 17 -- \
  wine "$walk" "$(win "$work/scan")" '.DS_Store'
# The clean and its floor in turn as well, each on a fresh copy of the tree; the tool goes last,
# so what its clean left can be counted.
floor=999 cleaned=999
for _ in $(seq "$runs"); do
  rm -rf "$work/clean"; cp -a "$work/template" "$work/clean"
  t=$(seconds wine "$walk" "$(win "$work/clean")" '*.tmp' --delete)
  if (( $(echo "$t < $floor" | bc) )); then floor=$t; fi
  rm -rf "$work/clean"; cp -a "$work/template" "$work/clean"
  t=$(seconds wine "$tool" clean "$(win "$work/clean")" --no-prefs --options 21 --custom-files '*.tmp' --yes)
  if (( $(echo "$t < $cleaned" | bc) )); then cleaned=$t; fi
done
row "clean option 21 *.tmp (1,000 of 20,000)" "$(printf '%.3f' "$cleaned")" "$(printf '%.3f' "$floor")"
left=$(find "$work/clean" -name '*.tmp' | wc -l)
[ "$left" -eq 0 ] || echo "the tool's last clean left $left of the 1,000 *.tmp files"
