#!/bin/sh
# Draws the main window's picture (302 x 252, 24-bit BMP): a night sky with a crescent moon behind the city and
# weather panel, a light tab strip, the time panel with the hour and minute frames, and the status strip.
# Deterministic: the same ImageMagick gives the same bytes.
set -eu
out=${1:?usage: make-background.sh OUT.bmp}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
convert -size 302x74 gradient:'#132a52-#2f5fa8' "$tmp/sky.png"
convert -size 302x252 xc:'#f5f9fd' \
  "$tmp/sky.png" -geometry +0+0 -composite \
  -fill '#ffd766' -draw 'circle 34,38 34,14' \
  -fill '#1e3f74' -draw 'circle 46,30 46,9' \
  -fill '#ffffff' -draw 'circle 90,16 90,17' -draw 'circle 130,40 130,41' -draw 'circle 160,12 160,13' \
  -fill '#dfeaf6' -draw 'rectangle 0,74 301,112' \
  -fill '#b6cde6' -draw 'rectangle 0,112 301,112' -draw 'rectangle 150,80 150,106' \
  -fill '#ffffff' -stroke '#8dbbe6' -draw 'roundrectangle 23,127 88,182 6,6' -draw 'roundrectangle 108,127 173,182 6,6' \
  -stroke none -fill '#1d3b6e' -draw 'circle 98,146 98,149' -draw 'circle 98,164 98,167' \
  -fill '#e6eff8' -draw 'rectangle 0,220 301,251' \
  -fill '#c9dbee' -draw 'rectangle 0,220 301,220' \
  -alpha off -type TrueColor -define bmp:format=bmp3 "BMP3:$out"
