#!/usr/bin/env bash
# Installs the Debian packages both builds and the tests need; safe to run again.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  rm -f /var/lib/apt/lists/.quillsweep-updated
fi

for p in cmake ninja-build g++ make googletest libgtest-dev libbenchmark-dev \
         g++-mingw-w64-i686-posix wine wine64 wine32:i386 xvfb xauth x11-apps imagemagick fp-utils \
         libcli11-dev nlohmann-json3-dev groff-base zsh zip strace; do
  have "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${need[@]}"
fi
