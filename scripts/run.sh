#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program: the Windows program under Wine
# when a display is available, else the command-line tool natively.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -n "${DISPLAY:-}" ]; then
  cmake --preset windows >/dev/null && cmake --build --preset windows --target quillswp32 quillsweep-cli
  source scripts/wine-env.sh
  trap qs_wine_stop EXIT
  wine build/windows/app/quillswp32.exe "$@"
else
  cmake --preset native >/dev/null && cmake --build --preset native --target quillsweep-cli
  echo "No display: a preview scan with the command-line tool, nothing is deleted (set DISPLAY to run the Windows program under Wine)."
  if [ $# -eq 0 ]; then
    set -- --safe
  fi
  build/native/cli/quillsweep-cli scan "$@"
fi
