#!/usr/bin/env bash
# offline.sh TOOL [wine]: a scan and a clean by the tool with no network at all (a network
# namespace without interfaces) work, and open no network socket of any kind: strace sees every
# socket and connect, and only AF_UNIX (Wine's server, the name service) is allowed. Everything
# runs in a private mount namespace whose /tmp, /var/tmp and home are empty tmpfs, so the clean,
# which includes the temporary folders natively, reaches only what this script planted there.
# Exit 77 (skipped) without strace or namespaces.
set -u
if [ "${1:-}" != --inside ]; then
  command -v strace >/dev/null || { echo "strace is missing: skipped"; exit 77; }
  unshare -rnm true 2>/dev/null || { echo "user, network and mount namespaces are unavailable: skipped"; exit 77; }
  tool=$(readlink -f "$1")
  exec unshare -rnm bash "$0" --inside "$tool" "${2:-}"
fi
tool=$2 wine=$3

# The sandbox's own folder, holding the tool, the fixture, home and the logs: none of them is a
# temporary folder, so the clean cannot reach them.
box=""
for dir in /mnt /srv /opt; do
  [ -d "$dir" ] && mount -t tmpfs qs-offline "$dir" && box=$dir && break
done
[ -n "$box" ] || { echo "no folder to hold the sandbox: skipped"; exit 77; }
mkdir -p "$box/bin" "$box/home" "$box/logs"
cp "$tool" "$box/bin/"
tool=$box/bin/$(basename "$tool")
mount -t tmpfs qs-offline /tmp && mount -t tmpfs qs-offline /var/tmp || exit 1
export HOME=$box/home TMPDIR=/tmp
unset TMP TEMP XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DESKTOP_DIR
# LeakSanitizer cannot run under ptrace; the other tests look for leaks.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0

fixture=$box/fixture
mkdir -p "$fixture/project/build"
echo keep >"$fixture/project/notes.txt"
echo old >"$fixture/project/trace.tmp"
echo old >"$fixture/project/build/out.tmp"
echo old >"$fixture/project/notes.bak"
echo stale >/tmp/stale.txt
options=temp-folders,temp-files,backup-files
run=("$tool")
target=$fixture
if [ "$wine" = wine ]; then
  # A prefix of the sandbox's own, made before tracing: Wine's services run beside the program
  # under the wineserver, and only the program's own processes are traced.
  export WINEPREFIX=$box/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # The display's socket is hidden under the new /tmp, and a console program needs none.
  unset DISPLAY WAYLAND_DISPLAY
  wineboot -i >/dev/null 2>&1
  wineserver -p
  run=(wine "$tool")
  target=$(winepath -w "$fixture")
  # Wine keeps its own temporary folders; the clean stays inside the target.
  options=temp-files,backup-files
fi

failed=0
traced() { # log name, then the command
  local log=$box/logs/$1; shift
  strace -f -qq -o "$log" -e trace=%network "$@" >"$log.out" 2>"$log.err" </dev/null
  local status=$?
  # Wine's output pipe stays open in its server: its output is read from a file.
  if grep -E 'AF_INET|AF_INET6|AF_PACKET|AF_NETLINK|PF_INET|AF_BLUETOOTH' "$log"; then
    echo "$1: network attempts above"; failed=1
  fi
  return $status
}

# The check itself sees an attempt: bash opening a TCP connection, refused without a network.
traced probe bash -c 'exec 3<>/dev/tcp/127.0.0.1/9' >/dev/null 2>&1
[ $failed -eq 1 ] || { echo "strace saw no attempt where there was one"; exit 1; }
failed=0

traced scan "${run[@]}" scan "$target" --options "$options" --no-prefs || { echo "scan failed"; cat "$box/logs/scan.err"; failed=1; }
for name in trace.tmp out.tmp notes.bak; do
  grep -q "$name" "$box/logs/scan.out" || { echo "the scan did not find $name"; failed=1; }
done
grep -q "notes.txt" "$box/logs/scan.out" && { echo "the scan listed notes.txt"; failed=1; }

traced clean "${run[@]}" clean "$target" --options "$options" --yes --no-prefs || { echo "clean failed"; cat "$box/logs/clean.err"; failed=1; }
for gone in project/trace.tmp project/build/out.tmp project/notes.bak; do
  [ ! -e "$fixture/$gone" ] || { echo "the clean left $gone"; failed=1; }
done
[ -f "$fixture/project/notes.txt" ] || { echo "the clean removed notes.txt"; failed=1; }
if [ "$wine" != wine ] && [ -e /tmp/stale.txt ]; then echo "the clean left /tmp/stale.txt"; failed=1; fi
[ "$wine" = wine ] && wineserver -k 2>/dev/null
[ $failed -eq 0 ] && echo "scan and clean worked offline and opened no network socket"
exit $failed
