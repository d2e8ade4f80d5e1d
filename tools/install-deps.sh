#!/bin/sh
# Installs the toolchain, the test platform and what the run command serves a virtual desktop with
# (idempotent, non-interactive, run as root).
# Nothing is installed when everything is already present.
set -eu
. "$(dirname "$0")/arch.sh"

# Both architectures' compilers always; the 32-bit Wine only where the kernel runs 32-bit programs.
PKGS="gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix wine64
xvfb xauth x11-utils xdotool imagemagick locales fonts-wqy-microhei
cmake ninja-build make ccache 7zip python3 unicode-data googletest dpkg-dev
clang libclang-rt-14-dev libpugixml-dev libcpp-httplib-dev libsqlite3-dev libsodium-dev pkg-config nginx wrk
postgresql libpq-dev
osslsigncode openssl
x11vnc novnc websockify"

if runs_32bit_programs; then PKGS="$PKGS wine wine32:i386"; fi

missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done

if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  case $missing in *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;; esac
  if [ ! -f /etc/apt/sources.list.d/debian-src.sources ] && [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      > /etc/apt/sources.list.d/debian-src.sources
  fi
  apt-get update -q </dev/null
  # shellcheck disable=SC2086
  apt-get install -y -q --no-install-recommends $missing </dev/null
fi

# The deb-src entry is needed by fetch-sources.sh even when no package was missing.
if [ ! -f /etc/apt/sources.list.d/debian-src.sources ] && [ -f /etc/apt/sources.list.d/debian.sources ]; then
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
    > /etc/apt/sources.list.d/debian-src.sources
  apt-get update -q </dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
