#!/usr/bin/env bash
# Installs the native tool into a scratch root as a package would and checks what a user gets: the
# program, a manual page groff formats without a warning, and completions that know every command
# and flag the tool's own help lists.
# Usage: install-check.sh CMAKE BUILD_FOLDER
set -euo pipefail
cmake=$1 build=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root "$cmake" --install "$build" --prefix /usr >/dev/null
usr=$root/usr
tool=$usr/bin/quillsweep-cli
manual=$usr/share/man/man1/quillsweep-cli.1.gz
bash_file=$usr/share/bash-completion/completions/quillsweep-cli
zsh_file=$usr/share/zsh/site-functions/_quillsweep-cli
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for file in "$tool" "$manual" "$bash_file" "$zsh_file"; do
  [ -s "$file" ] || { echo "FAIL: not installed: ${file#"$root"}" >&2; exit 1; }
done
[ -x "$tool" ] || fail "the tool is not executable"

warnings=$(zcat "$manual" | groff -man -ww -z 2>&1)
[ -z "$warnings" ] || fail "groff warns about the manual page: $warnings"
page=$(zcat "$manual" | groff -man -Tascii -P-cbou 2>/dev/null)
zsh -n "$zsh_file" || fail "the zsh completion does not parse"

# The completions of the words given, the last one being completed, one a line.
complete_words() {
  bash -c 'source "$1"; shift
           function=$(complete -p quillsweep-cli | sed -n "s/.*-F \([^ ]*\).*/\1/p")
           COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
           "$function" quillsweep-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
           printf "%s\n" "${COMPREPLY[@]}"' _ "$bash_file" quillsweep-cli "$@"
}
expect() { # expect "WANTED" WORDS...: the completions are exactly WANTED
  local wanted=$1 got
  shift
  got=$(complete_words "$@" | sort | paste -sd' ')
  [ "$got" = "$wanted" ] || fail "completing \"$*\" gives \"$got\", not \"$wanted\""
}

commands=$("$tool" help | sed -n '/^Commands:/,/^$/s/^  \([a-z-]*\)  .*/\1/p')
[ -n "$commands" ] || fail "no commands found in the help"
offered=$(complete_words "")
for command in $commands; do
  grep -qx "   $command" <<<"$page" || fail "the manual page has no section for \"$command\""
  grep -qx -- "$command" <<<"$offered" || fail "bash does not complete the command \"$command\""
  flags=$("$tool" help "$command" | grep -oE '^  -[^ ,]+(, -[^ ]+)?' | tr -d ' ' | tr ',' '\n' || true)
  for flag in $flags; do
    complete_words "$command" "${flag%?}" | grep -qx -- "$flag" || fail "bash does not complete $command $flag"
  done
done

expect "scan" sc
expect "--yes" clean --ye
expect "--report" scan /tmp --rep
expect "temp-files temp-folders" scan --options temp-f
expect "13,backup-files" clean /tmp --options 13,backup
expect "safe" clean --check s
mkdir "$root/folder" && touch "$root/file"
expect "$root/folder" scan "$root/f"
expect "$root/file $root/folder" drive-info "$root/f"

[ "$failures" -eq 0 ] || exit 1
echo "install check passed"
