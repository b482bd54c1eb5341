#!/usr/bin/env bash
# Builds the release from the committed sources and writes it to dist/ (or --out DIR):
#   quillsweep-VERSION-windows-i686.zip     quillswp32.exe (help inside), quillsweep-cli.exe, README,
#                                            BOM.txt and the licence texts of what is linked in
#   quillsweep-cli-VERSION-linux-x86_64.tar.gz  the Linux tool, README, BOM.txt, licence texts
#   BOM.txt                                 what each build links in: component, version, licence
#   SHA256SUMS
# The same commit gives the same bytes wherever and whenever it is built (with the same Debian
# packages installed): --check builds it twice in different folders and compares.
#
#   scripts/release.sh [--out DIR] [--commit REV] [--allow-dirty] [--keep] [--check]
# --commit builds another commit than HEAD; --allow-dirty builds the tracked files as they are,
# the programs then naming the revision HEAD-dirty; --keep leaves the build folder in /tmp.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out=$repo/dist commit=HEAD allow_dirty="" keep="" check="" revision=""
while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$2; shift 2 ;;
    --commit) commit=$2; shift 2 ;;
    --revision) revision=$2; shift 2 ;; # what the programs name, for --check's own builds
    --allow-dirty) allow_dirty=1; shift ;;
    --keep) keep=1; shift ;;
    --check) check=1; shift ;;
    -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "release: unknown argument \"$1\" (see --help)" >&2; exit 2 ;;
  esac
done
jobs=${QS_RELEASE_JOBS:-2}
say() { echo "release: $*" >&2; }
fail() { say "$*"; exit 1; }

# The sources: a commit, or with --allow-dirty the tracked files as they are now (a commit object
# made by "git stash create", which changes nothing in the repository).
git -C "$repo" rev-parse --git-dir >/dev/null 2>&1 || fail "$repo is not a git checkout"
sha=$(git -C "$repo" rev-parse --verify "$commit^{commit}") || fail "no commit \"$commit\""
tree=$sha
# Everything dated is dated at the commit (or as the caller says, the convention's variable).
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$repo" log -1 --format=%ct "$sha")}
if [ -z "$revision" ]; then
  revision=$(git -C "$repo" rev-parse --short=12 "$sha")
  if [ "$commit" = HEAD ] && [ -n "$(GIT_OPTIONAL_LOCKS=0 git -C "$repo" status --porcelain --untracked-files=no)" ]; then
    [ -n "$allow_dirty" ] || fail "the work tree has uncommitted changes; commit them, or build them anyway with --allow-dirty (the programs then name the revision $revision-dirty)"
    tree=$(git -C "$repo" stash create "release build")
    revision=$revision-dirty
  fi
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C
umask 022

if [ -n "$check" ]; then
  # Two builds of the same sources in different folders, some seconds apart, must agree.
  scratch=$(mktemp -d /tmp/qs-release-check.XXXXXX)
  bash "$0" --out "$scratch/first" --commit "$tree" --revision "$revision" >&2 || fail "the first build failed"
  sleep 2
  bash "$0" --out "$scratch/second" --commit "$tree" --revision "$revision" >&2 || fail "the second build failed"
  if cmp -s "$scratch/first/SHA256SUMS" "$scratch/second/SHA256SUMS"; then
    cat "$scratch/first/SHA256SUMS"
    say "two builds of $revision are identical"
    rm -rf "$scratch"
    exit 0
  fi
  diff "$scratch/first/SHA256SUMS" "$scratch/second/SHA256SUMS" || true
  say "the two builds differ; both are kept in $scratch"
  exit 1
fi
for tool in cmake ninja zip tar gzip sha256sum strace dpkg-query chmcmd i686-w64-mingw32-g++-posix g++; do
  command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/setup.sh installs what the release needs)"
done
[ "$(uname -m)" = x86_64 ] || fail "the help compiler's clock is fixed for x86-64 only"

work=$(mktemp -d /tmp/qs-release.XXXXXX)
if [ -n "$keep" ]; then say "build folder: $work"; else trap 'rm -rf "$work"' EXIT; fi
src=$work/src
mkdir -p "$src"
git -C "$repo" archive --format=tar "$tree" | tar -x -C "$src"

build() { # folder, then cmake arguments
  local dir=$1; shift
  say "configuring $dir"
  nice -n 15 cmake -S "$src" -B "$work/$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PROJECT_INCLUDE="$src/cmake/Reproducible.cmake" -DQS_REVISION="$revision" "$@" \
    >"$work/$dir.log" 2>&1 || { tail -30 "$work/$dir.log" >&2; fail "configuring $dir failed"; }
}
compile() { # folder, targets
  local dir=$1; shift
  say "building $* in $dir"
  nice -n 15 cmake --build "$work/$dir" -j "$jobs" --target "$@" >>"$work/$dir.log" 2>&1 ||
    { tail -40 "$work/$dir.log" >&2; fail "building $dir failed"; }
}
build windows -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-mingw-i686.cmake" \
  -DQS_CHMCMD="$src/scripts/chmcmd-fixed-clock.sh"
compile windows quillswp32 quillsweep-cli
build linux
compile linux quillsweep-cli

version=$(sed -n 's/^#define QS_VERSION_TEXT "\(.*\)"$/\1/p' "$work/linux/generated/uVersion.h")
[ -n "$version" ] || fail "no version in the generated uVersion.h"
winexe=$work/windows/app/quillswp32.exe wincli=$work/windows/cli/quillsweep-cli.exe
lincli=$work/linux/cli/quillsweep-cli

# What is linked in must be what the bill of materials says: the Windows programs load system DLLs
# only, the Linux tool the C library only.
for exe in "$winexe" "$wincli"; do
  dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  if grep -E 'pthread|gcc|stdc\+\+|mingw' <<<"$dlls"; then fail "$(basename "$exe") loads a runtime DLL"; fi
done
needed=$(readelf -d "$lincli" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' | sort | tr '\n' ' ')
[ "$needed" = "ld-linux-x86-64.so.2 libc.so.6 libm.so.6 " ] || [ "$needed" = "libc.so.6 libm.so.6 " ] ||
  fail "the Linux tool needs more than the C library: $needed"
"$lincli" --version | grep -qF "(revision $revision)" || fail "the Linux tool does not name revision $revision"
if grep -qaF "$work" "$winexe" "$wincli" "$lincli"; then fail "a build folder's path is in a program"; fi

pkg() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || fail "package $1 is not installed"; }
gcc_linux=$(dpkg-query -W -f='${Version}' "libstdc++-$(g++ -dumpversion)-dev" 2>/dev/null) ||
  fail "the package of the Linux C++ runtime is not installed"
licence_dir=$work/licences
mkdir -p "$licence_dir"
copy_licence() { # name, Debian package whose copyright file holds it
  [ -f "/usr/share/doc/$2/copyright" ] || fail "/usr/share/doc/$2/copyright is missing"
  cp "/usr/share/doc/$2/copyright" "$licence_dir/$1"
}
copy_licence gcc-runtime-mingw.txt gcc-mingw-w64-base
copy_licence gcc-runtime-linux.txt gcc-$(g++ -dumpversion)-base
copy_licence mingw-w64.txt mingw-w64-common
copy_licence cli11.txt libcli11-dev
copy_licence nlohmann-json.txt nlohmann-json3-dev
cp /usr/share/common-licenses/GPL-3 "$licence_dir/GPL-3.txt"
own_licence=NOASSERTION
for name in LICENSE LICENSE.txt LICENSE.md COPYING; do
  if [ -f "$src/$name" ]; then cp "$src/$name" "$licence_dir/quillsweep.txt"; own_licence="see licences/quillsweep.txt"; fi
done

# The bill of materials: one line a component, tab-separated; README "Verifying a release".
bom=$work/BOM.txt
{
  printf '# Quillsweep %s, revision %s: the components each build links in\n' "$version" "$revision"
  printf '# component\tversion\tlicence\tbuilds\tlicence text (in licences/)\n'
  printf 'Quillsweep\t%s (revision %s)\t%s\twindows linux\t%s\n' "$version" "$revision" "$own_licence" \
    "$([ "$own_licence" = NOASSERTION ] && echo - || echo quillsweep.txt)"
  printf 'GCC runtime: libstdc++, libgcc (static)\t%s\tGPL-3.0-or-later WITH GCC-exception-3.1\twindows\tgcc-runtime-mingw.txt GPL-3.txt\n' \
    "$(pkg g++-mingw-w64-i686-posix)"
  printf 'GCC runtime: libstdc++, libgcc (static)\t%s\tGPL-3.0-or-later WITH GCC-exception-3.1\tlinux\tgcc-runtime-linux.txt GPL-3.txt\n' \
    "$gcc_linux"
  printf 'mingw-w64 runtime: CRT, import libraries (static)\t%s\tZPL-2.1 and others (see text)\twindows\tmingw-w64.txt\n' \
    "$(pkg mingw-w64-i686-dev)"
  printf 'winpthreads: thread library (static)\t%s\tMIT and BSD-3-Clause\twindows\tmingw-w64.txt\n' \
    "$(pkg mingw-w64-i686-dev)"
  printf 'GNU C library: C and thread library (shared, the system'"'"'s own)\t%s\tLGPL-2.1-or-later\tlinux\t-\n' \
    "$(pkg libc6-dev)"
  printf 'CLI11 (header-only)\t%s\tBSD-3-Clause\twindows linux\tcli11.txt\n' "$(pkg libcli11-dev)"
  printf 'nlohmann-json (header-only)\t%s\tMIT\twindows linux\tnlohmann-json.txt\n' "$(pkg nlohmann-json3-dev)"
} >"$bom"

# Archives: sorted names, one date, one owner, no extra attributes.
stage() { # folder, files...
  local dir=$1; shift
  mkdir -p "$dir/licences"
  cp "$@" "$dir/"
  cp "$src/README.md" "$bom" "$dir/"
}
windir=quillsweep-$version-windows-i686
lindir=quillsweep-cli-$version-linux-x86_64
mkdir -p "$work/stage"
stage "$work/stage/$windir" "$winexe" "$wincli"
cp "$licence_dir"/{gcc-runtime-mingw,mingw-w64,cli11,nlohmann-json,GPL-3}.txt "$work/stage/$windir/licences/"
stage "$work/stage/$lindir" "$lincli"
cp "$licence_dir"/{gcc-runtime-linux,cli11,nlohmann-json,GPL-3}.txt "$work/stage/$lindir/licences/"
[ "$own_licence" = NOASSERTION ] || cp "$licence_dir/quillsweep.txt" "$work/stage/$windir/licences/" "$work/stage/$lindir/licences/"
find "$work/stage" -type d -exec chmod 0755 {} + -o -type f -exec chmod 0644 {} +
chmod 0755 "$work/stage/$windir"/*.exe "$work/stage/$lindir/quillsweep-cli"
find "$work/stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
(cd "$work/stage" && find "$windir" -type f | sort | zip -X -D -q -9 "$out/$windir.zip" -@)
tar -C "$work/stage" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
  --format=gnu -cf - "$lindir" | gzip -n -9 >"$out/$lindir.tar.gz"
cp "$bom" "$out/BOM.txt"
(cd "$out" && sha256sum BOM.txt "$windir.zip" "$lindir.tar.gz" >SHA256SUMS)
say "revision $revision, version $version: $out"
cat "$out/SHA256SUMS"
