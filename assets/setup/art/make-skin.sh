#!/bin/sh
# Draws the twelve pictures of Setup's skin into OUT_DIR (PNG with alpha, names as the dialog asks
# for them). Deterministic: the same ImageMagick and font give the same bytes.
set -eu
out=${1:?usage: make-skin.sh OUT_DIR}
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
stable="+set date:create +set date:modify -define png:exclude-chunks=date,time"

# Background: a sky-blue gradient with a band of white clouds over the lower third.
convert -size 640x384 gradient:'#3d8fe0'-'#aee0fb' "$tmp/sky.png"
convert -size 640x384 xc:none -fill white \
  -draw 'ellipse 40,360 120,60 0,360' -draw 'ellipse 170,330 110,55 0,360' -draw 'ellipse 320,350 140,60 0,360' \
  -draw 'ellipse 470,325 120,58 0,360' -draw 'ellipse 600,355 120,62 0,360' -draw 'rectangle 0,360 640,384' \
  -blur 0x6 "$tmp/clouds.png"
convert -size 640x384 xc:none -fill 'rgba(255,255,255,0.55)' \
  -draw 'ellipse 90,300 70,24 0,360' -draw 'ellipse 260,290 90,26 0,360' -draw 'ellipse 430,298 80,22 0,360' \
  -draw 'ellipse 560,285 60,20 0,360' -blur 0x5 "$tmp/haze.png"
# A crescent moon at the top left.
convert -size 640x384 xc:none -fill '#fff3c4' -draw 'circle 64,62 64,34' \
  \( -size 640x384 xc:none -fill white -draw 'circle 78,52 78,26' \) -compose DstOut -composite "$tmp/moon.png"
convert "$tmp/sky.png" "$tmp/haze.png" -composite "$tmp/clouds.png" -composite "$tmp/moon.png" -composite \
  $stable "PNG32:$out/背景2.png"
# The default page shows the product title in large white letters in the upper half.
convert -size 640x384 xc:none -font "$font" -pointsize 58 -gravity north \
  -fill 'rgba(20,60,120,0.45)' -annotate +3+73 'lumio定时关机' -blur 0x3 \
  -fill white -annotate +0+70 'lumio定时关机' \
  -pointsize 18 -fill 'rgba(255,255,255,0.9)' -annotate +0+150 '定时关机 · 倒计时关机 · 一键安装' "$tmp/title.png"
convert "$out/背景2.png" "$tmp/title.png" -composite $stable "PNG32:$out/背景1.png"

# slice W H TOP BOTTOM BORDER RADIUS TEXT TEXT_COLOUR POINTSIZE OUT: one rounded button face.
slice() {
  w=$1 h=$2 top=$3 bottom=$4 border=$5 r=$6 text=$7 colour=$8 size=$9 file=${10}
  convert -size "${w}x${h}" gradient:"$top"-"$bottom" -alpha set \
    \( -size "${w}x${h}" xc:none -fill white -draw "roundrectangle 1,1 $((w - 2)),$((h - 3)) $r,$r" \) \
    -compose DstIn -composite -compose Over \
    \( -size "${w}x${h}" xc:none -fill none -stroke "$border" -strokewidth 1 \
       -draw "roundrectangle 1,1 $((w - 2)),$((h - 3)) $r,$r" \) -composite \
    \( -size "${w}x${h}" xc:none -fill 'rgba(0,0,0,0.25)' -draw "roundrectangle 2,3 $((w - 2)),$((h - 1)) $r,$r" \) \
    +swap -composite \
    -stroke none -font "$font" -pointsize "$size" -gravity center -fill "$colour" -annotate +0-1 "$text" "$file"
}

# strip NAME SLICE_FILES...: the slices side by side, left to right.
strip() {
  name=$1
  shift
  convert "$@" +append +repage $stable "PNG32:$out/$name"
}

# The big buttons: normal, hover, pressed, and the disabled face that reads while installing.
big() {
  name=$1 text=$2 busy=$3 top=$4 bottom=$5 hoverTop=$6 hoverBottom=$7 pressTop=$8 pressBottom=$9 border=${10}
  slice 146 55 "$top" "$bottom" "$border" 10 "$text" white 21 "$tmp/b1.png"
  slice 146 55 "$hoverTop" "$hoverBottom" "$border" 10 "$text" white 21 "$tmp/b2.png"
  slice 146 55 "$pressTop" "$pressBottom" "$border" 10 "$text" '#f4f4f4' 21 "$tmp/b3.png"
  slice 146 55 '#d9b48a' '#c7986a' '#b08460' 10 "$busy" '#fff8ee' 19 "$tmp/b4.png"
  strip "$name" "$tmp/b1.png" "$tmp/b2.png" "$tmp/b3.png" "$tmp/b4.png"
}
orange="#ffa53a #f2711c #ffb95e #f8842e #e0661a #c9540f #c45a12"
green="#5fd067 #2ea043 #78dc7f #3cb351 #2a8f3c #1f7a30 #23803a"
# shellcheck disable=SC2086
{
  big 一秒安装.png 一秒安装 安装中... $orange
  big 一秒安装1.png 一秒安装 安装中... $green
  big 退出安装.png 退出安装 覆盖中... $orange
  big 退出安装1.png 退出安装 覆盖中... $green
  big 立即升级.png 立即升级 升级中... $orange
}

# The close button: a white cross, then on a red face when hovered and pressed.
close() {
  name=$1 hover=$2 press=$3
  convert -size 38x25 xc:none -stroke white -strokewidth 2 -draw 'line 14,8 24,18' -draw 'line 24,8 14,18' \
    "$tmp/c1.png"
  convert -size 38x25 xc:none -fill "$hover" -draw 'rectangle 0,0 37,24' \
    -stroke white -strokewidth 2 -draw 'line 14,8 24,18' -draw 'line 24,8 14,18' "$tmp/c2.png"
  convert -size 38x25 xc:none -fill "$press" -draw 'rectangle 0,0 37,24' \
    -stroke white -strokewidth 2 -draw 'line 14,9 24,19' -draw 'line 24,9 14,19' "$tmp/c3.png"
  strip "$name" "$tmp/c1.png" "$tmp/c2.png" "$tmp/c3.png"
}
close 关闭.png '#e8483c' '#b8342b'
close 关闭1.png 'rgba(255,255,255,0.35)' 'rgba(255,255,255,0.55)'

# The browse button: a small white button with a blue rim.
slice 77 24 '#ffffff' '#e9f2fb' '#6b9fd6' 4 更换目录... '#1d4f8a' 12 "$tmp/d1.png"
slice 77 24 '#ffffff' '#d6e9fb' '#3f82cc' 4 更换目录... '#0f3f7a' 12 "$tmp/d2.png"
slice 77 24 '#d6e9fb' '#c2dcf5' '#3f82cc' 4 更换目录... '#0f3f7a' 12 "$tmp/d3.png"
strip 更换目录.png "$tmp/d1.png" "$tmp/d2.png" "$tmp/d3.png"

# The page links: a small arrow and the text, brighter when hovered, pressed a pixel lower.
link() {
  name=$1 arrow=$2 text=$3
  for i in 1 2 3; do
    case $i in 1) colour='#1d5fa8' dy=0 ;; 2) colour='#f2711c' dy=0 ;; 3) colour='#c9540f' dy=1 ;; esac
    convert -size 89x22 xc:none -fill "$colour" -draw "polygon $arrow" \
      -font "$font" -pointsize 12 -gravity west -annotate +14+$dy "$text" "$tmp/l$i.png"
  done
  strip "$name" "$tmp/l1.png" "$tmp/l2.png" "$tmp/l3.png"
}
link 自定义安装.png '4,6 11,11 4,16' 自定义安装
link 返回默认安装.png '11,6 4,11 11,16' 返回默认安装
