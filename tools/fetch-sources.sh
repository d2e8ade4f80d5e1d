#!/bin/sh
# Unpacks the dependency sources from Debian source packages into $1 (a folder in the build tree).
# Prints nothing and fetches nothing when they are already there.
set -eu
dest=${1:?usage: fetch-sources.sh DEST}
mkdir -p "$dest"
cd "$dest"
need=""
ls -d 7zip-*/C >/dev/null 2>&1 || need="$need 7zip"
ls -d lua5.1-*/src >/dev/null 2>&1 || need="$need lua5.1"
ls -d libsodium-*/src/libsodium >/dev/null 2>&1 || need="$need libsodium"
[ -z "$need" ] && exit 0
# shellcheck disable=SC2086
apt-get source -q $need </dev/null >/dev/null 2>&1 || {
  apt-get update -q </dev/null >/dev/null && apt-get source -q $need </dev/null >/dev/null
}
rm -f ./*.dsc ./*.tar.* ./*.diff.gz 2>/dev/null || true
