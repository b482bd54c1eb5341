#!/usr/bin/env bash
# The main window's scan beside the command-line tool's on one generated tree under Wine:
# 100,000 matching files (*.qsb) in 1,000 folders. The window must stay within 20 % of the tool.
# Usage: benchmarks/window-vs-cli.sh [runs] [folders of 100 files, default 1000]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
folders=${2:-1000}
cmake --preset windows >/dev/null
cmake --build build/windows -j2 --target main_window_benchmark >/dev/null
tree=$(mktemp -d /tmp/qs-window-bench.XXXXXX)
trap 'rm -rf "$tree"' EXIT
for d in $(seq 0 $((folders - 1))); do
  mkdir -p "$tree/d$((d / 50))/s$d"
  (cd "$tree/d$((d / 50))/s$d" && touch $(seq -f 'f%g.qsb' 0 99) other.txt)
done
unset DISPLAY
source scripts/wine-env.sh
trap 'rm -rf "$tree"; qs_wine_stop' EXIT
wine build/windows/tests/main_window_benchmark.exe "Z:${tree//\//\\}" "$runs"
