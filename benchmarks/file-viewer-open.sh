#!/usr/bin/env bash
# Seconds the file viewer takes to open a 16 MiB file in each mode under Wine (or the file given).
# Usage: benchmarks/file-viewer-open.sh [windows path of a file]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null && cmake --build --preset windows --target FileViewerOpen >/dev/null
source scripts/wine-env.sh
trap qs_wine_stop EXIT
wine build/windows/forms/FileViewerOpen.exe "$@"
