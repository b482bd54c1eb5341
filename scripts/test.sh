#!/usr/bin/env bash
# Installs what is missing, builds both builds and runs every test: native (ASan/UBSan), the worker
# threads under TSan, then Windows under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
timings=()
started=$SECONDS
bash scripts/setup.sh || exit 1
timings+=("setup (packages, toolchains): $((SECONDS - started)) s")

passed=0
failed=0
status=0

run_suite() { # name preset
  local log; log=$(mktemp)
  echo "== $1: configure and build"
  local started=$SECONDS
  if ! { cmake --preset "$2" >/dev/null && cmake --build --preset "$2"; } >"$log.build" 2>&1; then
    tail -40 "$log.build"; echo "$1: build failed"; status=1; return
  fi
  timings+=("$1 build: $((SECONDS - started)) s")
  echo "== $1: tests"
  started=$SECONDS
  ctest --preset "$2" --timeout 300 2>&1 | tee "$log"
  timings+=("$1 tests: $((SECONDS - started)) s")
  local line; line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then status=1; echo "$1: no test summary"; return; fi
  local f n; f=$(sed -E 's/.*passed, ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  n=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + n - f)); failed=$((failed + f))
  [ "$f" -eq 0 ] || status=1
  rm -f "$log" "$log.build"
}

run_suite native native
run_suite native-tsan native-tsan

source scripts/wine-env.sh
trap qs_wine_stop EXIT
run_suite windows windows

echo
printf '%s\n' "${timings[@]}"
echo "whole run: $SECONDS s"
echo "total: $passed passed, $failed failed"
exit $status
