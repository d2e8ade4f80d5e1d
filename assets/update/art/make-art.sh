#!/bin/sh
# Draws the updater package's art in the timer's night theme. Writes into OUT_DIR:
#   background.png   440 x 330   window: night gradient, moon and stars, the change-log panel
#   button.png       560 x 36    main button, 4 states side by side (normal, hover, pressed, disabled)
#   close.png        96 x 24     close button, 4 states
#   minimise.png     96 x 24     minimise button, 4 states
#   track.png        360 x 12    progress bar track
#   fill.png         360 x 12    progress bar fill
# Deterministic: the same ImageMagick gives the same bytes.
set -eu
out=${1:?usage: make-art.sh OUT_DIR}
mkdir -p "$out"

night_top='#0b1426'
night_bottom='#172a4a'
panel='#0e1a31'
line='#2b4470'
amber='#ffae01'
amber_light='#ffc94d'
amber_dark='#d98a00'
dim='#7f93b8'

png() {
  dest=$1
  shift
  convert "$@" +repage +set date:create +set date:modify -define png:exclude-chunks=date,time "PNG32:$dest"
}

png "$out/background.png" -size 440x330 gradient:"$night_top-$night_bottom" \
  -fill '#ffffff40' -draw 'point 120,14 point 160,40 point 96,52 point 250,28 point 330,62 point 400,50 point 210,60' \
  -fill '#ffffff90' -draw 'point 58,44 point 176,20 point 290,16 point 360,36' \
  -fill "$amber_light" -draw 'circle 30,26 30,14' \
  -fill "$night_top" -draw 'circle 36,21 36,10' \
  -fill "$panel" -stroke "$line" -draw 'roundrectangle 20,86 419,258 8,8' \
  -stroke "$line" -draw 'line 0,0 439,0 line 0,329 439,329 line 0,0 0,329 line 439,0 439,329'

# button STATE_COLOUR_TOP STATE_COLOUR_BOTTOM -> one 140x36 state
state() {
  convert -size 140x36 gradient:"$1-$2" \
    \( -size 140x36 xc:none -fill white -draw 'roundrectangle 0,0 139,35 8,8' \) -compose DstIn -composite \
    "$3"
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
state "$amber_light" "$amber" "$tmp/b0.png"
state '#ffd875' "$amber_light" "$tmp/b1.png"
state "$amber_dark" "$amber_dark" "$tmp/b2.png"
state '#4a5670' '#3a4560' "$tmp/b3.png"
png "$out/button.png" "$tmp/b0.png" "$tmp/b1.png" "$tmp/b2.png" "$tmp/b3.png" +append

# caption STATE_BACKGROUND GLYPH_COLOUR DRAW -> one 24x24 state
caption() {
  convert -size 24x24 xc:none -fill "$1" -draw 'roundrectangle 0,0 23,23 5,5' \
    -stroke "$2" -strokewidth 2 -draw "$3" "$4"
}
for name in close minimise; do
  if [ "$name" = close ]; then glyph='line 7,7 16,16 line 16,7 7,16'; hot='#e2554c'; else glyph='line 7,12 16,12'; hot="$line"; fi
  caption none '#c8d4ec' "$glyph" "$tmp/${name}0.png"
  caption "$hot" white "$glyph" "$tmp/${name}1.png"
  caption "$panel" "$dim" "$glyph" "$tmp/${name}2.png"
  caption none "$line" "$glyph" "$tmp/${name}3.png"
  png "$out/$name.png" "$tmp/${name}0.png" "$tmp/${name}1.png" "$tmp/${name}2.png" "$tmp/${name}3.png" +append
done

png "$out/track.png" -size 360x12 xc:none -fill '#1f3257' -draw 'roundrectangle 0,0 359,11 6,6'
png "$out/fill.png" \( -size 12x360 gradient:"$amber_light-$amber_dark" -rotate -90 \) \
  \( -size 360x12 xc:none -fill white -draw 'roundrectangle 0,0 359,11 6,6' \) -compose DstIn -composite
