#!/usr/bin/env bash
# A clean under Wine while a Linux process keeps exchanging a target's folder with a link to an
# outside folder holding files of the same names: no outside file may be changed, nor lost.
# Usage: swap-race.sh CLI.exe EXCHANGER.c plain|secure [all|after-scan] [RUNS] [FILES] [ALLOWED]
# ALLOWED (default 0) is how many outside files all runs together may lose to Wine itself, which
# removes a deleted file by its path once every check on the handle is done (README, "What a
# clean may touch"); an outside file rewritten always fails.
set -u
cli=$1 source=$2 mode=$3 start=${4:-all} runs=${5:-4} files=${6:-300} allowed=${7:-0}
export WINEDEBUG=-all

work=$(mktemp -d "${TMPDIR:-/tmp}/qs-swap-race.XXXXXX") || exit 1
exchanger=
# The folder back in its place, should the exchange have left the link there.
restore() {
  if [ -L "$work/target/d" ]; then
    mv -T "$work/target/d" "$work/d.tmp" && mv -T "$work/link" "$work/target/d" && mv -T "$work/d.tmp" "$work/link"
  fi
}
cleanup() {
  [ -n "$exchanger" ] && kill "$exchanger" 2>/dev/null && wait "$exchanger" 2>/dev/null
  restore
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT

cc -O2 -o "$work/exchange" "$source" || { echo "cannot build the exchanger"; exit 1; }
secure=(); [ "$mode" = secure ] && secure=(--secure)
winpath() { printf 'Z:%s' "${1//\//\\}"; }

lost=0 changed=0 removed=0 total=0
for run in $(seq "$runs"); do
  rm -rf --one-file-system "$work/target" "$work/outside" "$work/link"
  mkdir -p "$work/target/d" "$work/outside"
  for i in $(seq -w "$files"); do
    printf 'target %s\n' "$i" > "$work/target/d/f$i.x"
    printf 'outside %s\n' "$i" > "$work/outside/f$i.x"
  done
  ln -s "$work/outside" "$work/link"
  : > "$work/err.txt"
  if [ "$start" = after-scan ]; then
    "$work/exchange" "$work/target/d" "$work/link" "$work/err.txt" "Scan complete." &
  else
    "$work/exchange" "$work/target/d" "$work/link" &
  fi
  exchanger=$!
  wine "$cli" clean "$(winpath "$work/target")" --options custom-files --custom-files "*.x" --yes --no-prefs \
       "${secure[@]}" > "$work/out.txt" 2>> "$work/err.txt"
  # An exchanger that stopped early would leave nothing tested.
  if ! kill "$exchanger" 2>/dev/null; then echo "the exchanger stopped early"; exit 1; fi
  wait "$exchanger" 2>/dev/null; exchanger=
  restore
  for i in $(seq -w "$files"); do
    f="$work/outside/f$i.x"
    if [ ! -e "$f" ]; then lost=$((lost + 1))
    elif [ "$(cat "$f")" != "outside $i" ]; then changed=$((changed + 1)); fi
  done
  removed=$((removed + $(grep -a -o 'Removed objects *: *[0-9]*' "$work/err.txt" | grep -o '[0-9]*$' || echo 0)))
  total=$((total + files))
done
echo "swap race ($mode, exchange $start): outside files lost $lost, changed $changed of $total; target files removed $removed of $total"
[ "$changed" -eq 0 ] && [ "$lost" -le "$allowed" ]
