#!/usr/bin/env bash
# Fails when an executable imports a function that is not known to be in Windows XP, where the
# program must still start. Usage: imports-newer-than-xp.sh objdump xp-functions.txt exe...
set -euo pipefail
objdump=$1 allowed=$2
shift 2
status=0
for exe in "$@"; do
  imports=$("$objdump" -p "$exe" | awk '
    /^\tDLL Name: / { dll = toupper($3); next }
    /^$/ { dll = "" }
    dll && /^\t[0-9a-f]+\t/ { print dll, ($3 == "" ? "#" $2 : $3) }')
  if [ -z "$imports" ]; then echo "$exe: no imports read"; status=1; continue; fi
  unknown=$(grep -v '^#' "$allowed" | awk '{ for (i = 2; i <= NF; i++) print $1, $i }' | sort -u |
            comm -13 - <(sort -u <<<"$imports"))
  if [ -n "$unknown" ]; then
    echo "$exe imports what Windows XP may lack (look it up at run time, or list it once checked):"
    sed 's/^/  /' <<<"$unknown"
    status=1
  fi
done
exit $status
