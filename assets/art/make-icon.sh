#!/bin/sh
# Draws the Nightcap icon (an amber crescent moon and two stars on a night-blue rounded tile, the skin's
# colours) at 48, 32 and 16 pixels and writes them into one .ico file.
# Deterministic: the same ImageMagick gives the same bytes.
set -eu
out=${1:?usage: make-icon.sh OUT.ico}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
png() {
  dest=$1
  shift
  convert "$@" +set date:create +set date:modify -define png:exclude-chunks=date,time "PNG32:$dest"
}
# The tile: a vertical night gradient inside a rounded square with a thin light rim.
convert -size 256x256 gradient:'#24406e-#0b1426' \
  \( -size 256x256 xc:none -fill white -draw 'roundrectangle 6,6 249,249 52,52' \) \
  -compose DstIn -composite -compose Over \
  -fill none -stroke '#3d5f94' -strokewidth 6 -draw 'roundrectangle 6,6 249,249 52,52' "$tmp/tile.png"
# The crescent: a disc with an offset disc cut out of it.
convert -size 256x256 xc:none -fill '#ffc94d' -draw 'circle 118,136 118,52' \
  \( -size 256x256 xc:none -fill white -draw 'circle 160,104 160,30' \) \
  -compose DstOut -composite "$tmp/moon.png"
png "$tmp/big.png" "$tmp/tile.png" "$tmp/moon.png" -composite \
  -fill '#ffe7a8' -draw 'circle 196,80 196,92' -draw 'circle 58,54 58,61'
for s in 48 32 16; do
  png "$tmp/$s.png" "$tmp/big.png" -resize ${s}x${s}
done
convert "$tmp/48.png" "$tmp/32.png" "$tmp/16.png" "$out"
