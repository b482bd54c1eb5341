#!/usr/bin/env bash
# The main window's scan beside the command-line tool's on one generated tree under Wine:
# 100,000 matching files (*.qsb) in 1,000 folders. The window must stay within 20 % of the tool,
# and within 1.5 times a bare FindFirstFileExW walk of the same tree (benchmarks/win32/BareWalk.cpp).
# Usage: benchmarks/window-vs-cli.sh [runs] [folders of 100 files, default 1000]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
folders=${2:-1000}
cmake --preset windows >/dev/null
cmake --build build/windows -j2 --target main_window_benchmark >/dev/null
work=$(mktemp -d /tmp/qs-window-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
tree=$work/tree
walk=$work/BareWalk.exe
i686-w64-mingw32-g++-posix -O2 -municode -static benchmarks/win32/BareWalk.cpp -o "$walk"
for d in $(seq 0 $((folders - 1))); do
  mkdir -p "$tree/d$((d / 50))/s$d"
  (cd "$tree/d$((d / 50))/s$d" && touch $(seq -f 'f%g.qsb' 0 99) other.txt)
done
unset DISPLAY
source scripts/wine-env.sh
trap 'rm -rf "$work"; qs_wine_stop' EXIT
win() { echo "Z:${1//\//\\}"; }
wine build/windows/tests/main_window_benchmark.exe "$(win "$tree")" "$runs" "$(win "$walk")"
