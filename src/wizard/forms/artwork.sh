#!/bin/bash
# Draws the program's pictures with ImageMagick into the given folder: the splash (16 colours,
# 432x259), the backdrop background (16 colours, 91x139) and the program and setup icons.
#   artwork.sh OUTDIR
set -euo pipefail
out=$1
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Lettering only when a bold sans face is at hand; the shapes do not depend on it.
font=
for candidate in DejaVu-Sans-Bold Liberation-Sans-Bold Nimbus-Sans-Bold Helvetica-Bold; do
  if convert -list font 2>/dev/null | grep -q "Font: $candidate\$"; then font=$candidate; break; fi
done

sixteen() {  # PNG in, 4-bit BMP out, run-length encoded (a fifth of the plain size)
  convert "$1" -dither None -colors 16 -type Palette -compress None "BMP3:$tmp/plain.bmp"
  perl "$(dirname "$0")/rle4.pl" "$tmp/plain.bmp" "$2"
}

# Splash: a night-blue field, a stack of three boxes (the product being installed) and a sweep.
splash=(-size 432x259 gradient:'#0b1f4b-#2f6f9f'
  -fill '#0a1838' -draw 'rectangle 0,200 432,259'
  -fill '#c9a227' -draw 'polygon 0,200 432,170 432,176 0,206'
  -stroke '#081230' -strokewidth 2
  -fill '#d8d8d8' -draw 'polygon 300,150 360,120 420,150 360,180'
  -fill '#9a9a9a' -draw 'polygon 300,150 360,180 360,235 300,205'
  -fill '#6a6a6a' -draw 'polygon 360,180 420,150 420,205 360,235'
  -fill '#e8c45a' -draw 'polygon 318,96 360,75 402,96 360,117'
  -fill '#b8922a' -draw 'polygon 318,96 360,117 360,140 318,119'
  -fill '#8a6a1a' -draw 'polygon 360,117 402,96 402,119 360,140'
  -stroke none -fill '#ffffff' -draw 'circle 60,60 62,60' -draw 'circle 150,30 151,30'
  -draw 'circle 250,70 251,70' -draw 'circle 95,120 96,120' -draw 'circle 200,140 201,140')
if [ -n "$font" ]; then
  splash+=(-font "$font" -fill '#000040' -pointsize 44 -annotate +32+96 'Quenby'
    -fill '#ffffff' -annotate +30+94 'Quenby'
    -fill '#e8c45a' -pointsize 20 -annotate +32+126 'Release 3.2'
    -fill '#c0c0c0' -pointsize 12 -annotate +32+240 'Software distribution and installation')
fi
convert "${splash[@]}" "$tmp/splash.png"
sixteen "$tmp/splash.png" "$out/splash.bmp"

# Backdrop: light teal at the top (white text with navy shade stays readable) to deep blue below,
# with faint diagonal bands.
convert -size 91x139 gradient:'#5aa0b4-#12345a' \
  -fill '#ffffff20' -draw 'polygon 0,60 91,20 91,32 0,72' -draw 'polygon 0,110 91,70 91,78 0,118' \
  "$tmp/backdrop.png"
sixteen "$tmp/backdrop.png" "$out/backdrop.bmp"

# Icons, 32 and 16 pixels: the program's is a box, the setup icon a box with a down arrow.
box() {  # size file arrow
  local s=$1 f=$2 arrow=()
  [ "$3" = yes ] && arrow=(-fill '#1f5fbf' -draw 'polygon 12,0 20,0 20,6 24,6 16,14 8,6 12,6')
  convert -size 32x32 xc:none -stroke '#202020' -strokewidth 1 \
    -fill '#d8d8d8' -draw 'polygon 4,11 16,5 28,11 16,17' \
    -fill '#a0a0a0' -draw 'polygon 4,11 16,17 16,30 4,24' \
    -fill '#707070' -draw 'polygon 16,17 28,11 28,24 16,30' \
    "${arrow[@]}" -resize "${s}x${s}" "$f"
}
box 32 "$tmp/program32.png" no
box 16 "$tmp/program16.png" no
box 32 "$tmp/setup32.png" yes
box 16 "$tmp/setup16.png" yes
convert "$tmp/program32.png" "$tmp/program16.png" "$out/program.ico"
convert "$tmp/setup32.png" "$tmp/setup16.png" "$out/setup.ico"
