#!/bin/sh
# Makes a payload archive: stages the given files and packs them with 7zz into two solid blocks.
#   make-payload.sh OUT.7z STAGE_DIR NAME=SOURCE ...
# NAME is the path inside the archive ("/" between folder and name). Files keep their modification times.
# Block 0 holds everything but executables (LZMA2, 2^24 dictionary; 7zz records a smaller one when the block
# is smaller); block 1 holds the *.exe and *.dll files with the x86 branch filter before LZMA2. Folders
# become items of their own, ahead of the files.
set -eu
out=${1:?usage: make-payload.sh OUT.7z STAGE_DIR NAME=SOURCE ...}
stage=${2:?usage: make-payload.sh OUT.7z STAGE_DIR NAME=SOURCE ...}
shift 2
case "$out" in /*) ;; *) out=$(pwd)/$out ;; esac

rm -rf "$stage" "$out"
mkdir -p "$stage"
for pair in "$@"; do
  name=${pair%%=*}
  source=${pair#*=}
  mkdir -p "$stage/$(dirname "$name")"
  cp -p "$source" "$stage/$name"
done

cd "$stage"
7zz a -t7z -mx=9 -ms=on -mf=off -mtm=on -m0=LZMA2:d=24 '-xr!*.exe' '-xr!*.dll' -- "$out" * >/dev/null
if [ -n "$(find . -type f \( -name '*.exe' -o -name '*.dll' \))" ]; then
  7zz a -t7z -mx=9 -ms=on -mf=off -mtm=on -m0=BCJ -m1=LZMA2:d=24 -r -- "$out" '*.exe' '*.dll' >/dev/null
fi
