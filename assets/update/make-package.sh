#!/bin/sh
# Makes a UI package (.xar, a 7z archive) from a source folder, with the art a drawing script writes into
# its image/ folder: make-package.sh OUT.xar SOURCE_DIR [ART_SCRIPT].
# Deterministic: no file times are stored and the items go in sorted order.
set -eu
out=$(realpath -m "${1:?usage: make-package.sh OUT.xar SOURCE_DIR [ART_SCRIPT]}")
src=${2:?usage: make-package.sh OUT.xar SOURCE_DIR [ART_SCRIPT]}
art=${3:-}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp -R "$src"/. "$stage"/
if [ -n "$art" ]; then
  sh "$art" "$stage/image"
fi
mkdir -p "$(dirname "$out")"
rm -f "$out"
cd "$stage"
find . -type f | sed 's|^\./||' | LC_ALL=C sort > "$stage.list"
7zz a -t7z -mx=9 -mtm=off -mtc=off -mta=off -bso0 -bsp0 "$out.tmp" @"$stage.list"
rm -f "$stage.list"
mv "$out.tmp" "$out"
