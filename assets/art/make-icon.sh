#!/bin/sh
# Draws the Nightcap icon (a crescent moon over a night-blue rounded tile) at 48, 32 and 16 pixels
# and writes them into one .ico file. Deterministic: the same ImageMagick gives the same bytes.
set -eu
out=${1:?usage: make-icon.sh OUT.ico}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 256x256 xc:none \
  -fill '#1d3b6e' -draw 'roundrectangle 8,8 247,247 48,48' \
  -fill '#2f5fa8' -draw 'roundrectangle 8,8 247,160 48,48' \
  -fill '#ffd766' -draw 'circle 128,128 128,48' \
  -fill '#1d3b6e' -draw 'circle 162,104 162,40' \
  -fill '#ffffff' -draw 'circle 70,70 70,76' -draw 'circle 196,190 196,194' \
  +set date:create +set date:modify -define png:exclude-chunks=date,time \
  "$tmp/big.png"
for s in 48 32 16; do
  convert "$tmp/big.png" -resize ${s}x${s} -define png:exclude-chunks=date,time "PNG32:$tmp/$s.png"
done
convert "$tmp/48.png" "$tmp/32.png" "$tmp/16.png" "$out"
