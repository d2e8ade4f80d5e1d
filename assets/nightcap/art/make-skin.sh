#!/bin/sh
# Draws Nightcap's skin: a night-blue theme with amber accents. Writes into OUT_DIR:
#   background.bmp        302 x 252, 24-bit     main window background
#   tab-clock.png         296 x 39              tab strip, clock-time tab chosen
#   tab-countdown.png     296 x 39              tab strip, countdown tab chosen
#   time-panel.png        296 x 107             panel behind the hour and minute fields
#   frame-selected.png    66 x 56               frame of the field the slider edits
#   frame-plain.png       66 x 56               frame of the other field
#   execute-idle.png      282 x 40              execute button, 3 states side by side ("执行")
#   execute-armed.png     282 x 40              the same while a schedule runs ("取消")
#   close.png, minimise.png  51 x 17            caption buttons, 3 states side by side
#   knob.png, knob-pressed.png  20 x 20         slider knob
#   track.png             156 x 16              slider track
#   fill-start.png        6 x 7, fill-bar.png 2 x 7   the slider's fill
# The slider pieces are shown in a window whose white is see-through, so their edges are pre-blended with
# the panel colour beneath them and their alpha is all-or-nothing, and they contain no pure white.
# Deterministic: the same ImageMagick and font give the same bytes.
set -eu
out=${1:?usage: make-skin.sh OUT_DIR}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
night_top='#0b1426'
night_bottom='#172a4a'
panel='#132340'
line='#2b4470'
amber='#ffae01'
amber_light='#ffc94d'
amber_dark='#d98a00'
ink='#e8eef8'
dim='#7f93b8'
coral='#e2554c'
coral_light='#f07a70'
coral_dark='#b93c35'

# png OUT ARGS...: run convert with ARGS and write a 32-bit PNG without time stamps.
png() {
  dest=$1
  shift
  convert "$@" +set date:create +set date:modify -define png:exclude-chunks=date,time "PNG32:$dest"
}

# hard_edges IN OUT BACKDROP: alpha made all-or-nothing, edge colours blended onto BACKDROP.
hard_edges() {
  convert "$1" -background "$3" -flatten "$tmp/rgb.png"
  convert "$1" -alpha extract -threshold 35% "$tmp/mask.png"
  png "$2" "$tmp/rgb.png" "$tmp/mask.png" -alpha off -compose CopyOpacity -composite -fill '#fafafa' -opaque white
}

# --- background -------------------------------------------------------------------------------------
convert -size 302x252 gradient:"$night_top-$night_bottom" \
  -fill '#ffffff40' -draw 'point 120,14 point 160,40 point 96,52 point 250,78 point 30,62 point 140,66' \
  -fill '#ffffff80' -draw 'point 58,44 point 176,20 point 12,34' \
  -fill '#ffffffb0' -draw 'circle 110,30 110,31' \
  -fill "$amber_light" -draw 'circle 22,20 22,9' \
  -fill "$night_top" -draw 'circle 28,15 28,5' \
  -font "$font" -pointsize 16 -fill "$ink" -annotate +42+27 '定时关机' \
  -font "$font" -pointsize 10 -fill "$dim" -annotate +42+44 '到点自动关机，安心入睡' \
  -fill '#0a1220' -draw 'rectangle 0,222 301,251' \
  -fill "$line" -draw 'line 0,222 301,222' \
  -fill none -stroke "$line" -draw 'roundrectangle 0,0 301,251 6,6' \
  -type TrueColor "$tmp/bg.png"
convert "$tmp/bg.png" -type TrueColor +set date:create +set date:modify "BMP3:$out/background.bmp"

# --- tab strip: two halves, the chosen one lit with an amber underline -------------------------------
tab() {  # tab OUT CHOSEN_X0 CHOSEN_X1
  png "$1" -size 296x39 xc:none \
    -fill '#0e1a31' -stroke "$line" -draw 'roundrectangle 0,0 295,38 6,6' \
    -stroke none -fill '#1c3158' -draw "roundrectangle $2,1 $3,37 5,5" \
    -fill "$amber" -draw "rectangle $(($2 + 12)),34 $(($3 - 12)),36" \
    -fill "$line" -draw 'line 148,8 148,30' \
    -fill none -stroke "$dim" -strokewidth 1.5 \
    -draw 'circle 24,16 24,22' -draw 'line 24,16 24,12' -draw 'line 24,16 27,17' \
    -draw 'line 176,9 186,9' -draw 'line 176,23 186,23' -draw 'line 177,10 185,22' -draw 'line 185,10 177,22'
}
tab "$out/tab-clock.png" 1 147
tab "$out/tab-countdown.png" 149 294

# --- time panel --------------------------------------------------------------------------------------
png "$out/time-panel.png" -size 296x107 xc:none \
  -fill "$panel" -stroke "$line" -draw 'roundrectangle 0,0 295,106 6,6' -stroke none \
  -font "$font" -pointsize 10 -fill "$dim" -annotate +44+12 '小 时' -annotate +129+12 '分 钟' \
  -fill "$ink" -draw 'circle 96,34 96,36' -draw 'circle 96,50 96,52' \
  -font "$font" -pointsize 11 -fill "$dim" -annotate +200+28 '双击数字可输入' -annotate +200+46 '拖动滑块可调节'

# --- field frames: the same fill (the hour and minute labels paint it too, see TimeEntry.cpp) -------
field_fill='#101f3c'
png "$out/frame-plain.png" -size 66x56 xc:none \
  -fill "$field_fill" -stroke "$line" -strokewidth 2 -draw 'roundrectangle 1,1 64,54 4,4'
png "$out/frame-selected.png" -size 66x56 xc:none \
  -fill "$field_fill" -stroke "$amber" -strokewidth 2 -draw 'roundrectangle 1,1 64,54 4,4'

# --- execute button: normal, over, down side by side -------------------------------------------------
button() {  # button OUT TEXT LIGHT BASE DARK
  for state in 0 1 2; do
    case $state in
      0) top=$4 bottom=$5 dy=0 ;;
      1) top=$3 bottom=$4 dy=0 ;;
      2) top=$5 bottom=$5 dy=1 ;;
    esac
    convert -size 94x40 xc:none \
      \( -size 92x38 gradient:"$top-$bottom" \) -geometry +1+1 -composite \
      \( -size 94x40 xc:none -fill white -draw 'roundrectangle 1,1 92,38 8,8' \) \
      -compose DstIn -composite -compose Over \
      -fill none -stroke '#00000060' -draw 'roundrectangle 1,1 92,38 8,8' -stroke none \
      -font "$font" -pointsize 17 -fill '#3a2400a0' -gravity center -annotate +1+$((dy + 1)) "$2" \
      -fill "$ink" -annotate +0+$dy "$2" "$tmp/b$state.png"
  done
  png "$1" "$tmp/b0.png" "$tmp/b1.png" "$tmp/b2.png" +append
}
button "$out/execute-idle.png" '执 行' "$amber_light" "$amber" "$amber_dark"
button "$out/execute-armed.png" '取 消' "$coral_light" "$coral" "$coral_dark"

# --- caption buttons ---------------------------------------------------------------------------------
caption() {  # caption OUT DRAW HOVER_COLOUR DOWN_COLOUR
  convert -size 17x17 xc:none -fill none -stroke "$dim" -strokewidth 1.6 -draw "$2" "$tmp/c0.png"
  convert -size 17x17 xc:none -fill "$3" -draw 'roundrectangle 0,0 16,16 4,4' \
    -fill none -stroke "$ink" -strokewidth 1.6 -draw "$2" "$tmp/c1.png"
  convert -size 17x17 xc:none -fill "$4" -draw 'roundrectangle 0,0 16,16 4,4' \
    -fill none -stroke "$ink" -strokewidth 1.6 -draw "$2" "$tmp/c2.png"
  png "$1" "$tmp/c0.png" "$tmp/c1.png" "$tmp/c2.png" +append
}
caption "$out/close.png" 'line 5,5 11.5,11.5 line 11.5,5 5,11.5' "$coral" "$coral_dark"
caption "$out/minimise.png" 'line 4.5,11 12,11' '#2f5fa8' '#234a85'

# --- slider ------------------------------------------------------------------------------------------
convert -size 156x16 xc:none -fill '#0a1322' -stroke "$line" -draw 'roundrectangle 4,4 151,12 4,4' "$tmp/track.png"
hard_edges "$tmp/track.png" "$out/track.png" "$panel"
convert -size 6x7 xc:none -fill "$amber" -draw 'roundrectangle 0,0 8,6 3,3' \
  -fill "$amber_light" -draw 'line 2,1 5,1' "$tmp/fill-start.png"
hard_edges "$tmp/fill-start.png" "$out/fill-start.png" "$panel"
png "$out/fill-bar.png" -size 2x7 xc:"$amber" -fill "$amber_light" -draw 'line 0,1 1,1' \
  -fill "$amber_dark" -draw 'line 0,6 1,6'
knob() {  # knob OUT RING BODY
  convert -size 20x20 xc:none -fill "$2" -draw 'circle 9.5,9.5 9.5,0.6' \
    -fill "$3" -draw 'circle 9.5,9.5 9.5,3' -fill '#f4f8ff' -draw 'circle 9.5,9.5 9.5,7.5' "$tmp/knob.png"
  hard_edges "$tmp/knob.png" "$1" "$panel"
}
knob "$out/knob.png" "$amber" "$amber_light"
knob "$out/knob-pressed.png" "$amber_dark" "$amber"
