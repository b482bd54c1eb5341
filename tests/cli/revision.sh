#!/usr/bin/env bash
# revision.sh TOOL SOURCE_DIR [GIVEN]: the tool's --version names GIVEN when the build was given a
# revision, else the commit SOURCE_DIR has checked out (skipped, 77, outside git).
set -u
tool=$1 source=$2 given=${3:-}
expected=$given
if [ -z "$expected" ]; then
  top=$(git -C "$source" rev-parse --show-toplevel 2>/dev/null) || { echo "not a git checkout: skipped"; exit 77; }
  [ "$(cd "$top" && pwd -P)" = "$(cd "$source" && pwd -P)" ] || { echo "not a git checkout: skipped"; exit 77; }
  expected=$(git -C "$source" rev-parse --short=12 HEAD) || exit 1
fi
out=$("$tool" --version) || exit 1
echo "$out"
case "$out" in
  *"(revision $expected)"* | *"(revision $expected-dirty)"*) exit 0 ;;
esac
echo "expected revision $expected"
exit 1
