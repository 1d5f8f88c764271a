#!/usr/bin/env bash
# Draws the program's icon and the splash logo (run by hand after a change; the PNG files are
# committed). Needs ImageMagick and the DejaVu fonts.
set -euo pipefail
cd "$(dirname "$0")"

# The icon: a teal tile with a page of a document dropping into an orange tray.
icon() {
  local size=$1 out=$2
  convert -size 256x256 xc:none \
    -fill '#1d6a72' -draw 'roundrectangle 8,8 247,247 44,44' \
    -fill '#bfe3e6' -draw 'polygon 84,36 164,36 196,68 196,168 84,168' \
    -fill '#ffffff' -draw 'polygon 60,52 140,52 172,84 172,184 60,184' \
    -fill '#d7eef0' -draw 'polygon 140,52 140,84 172,84' \
    -stroke '#2c8d96' -strokewidth 8 \
    -draw 'line 80,100 150,100' -draw 'line 80,122 150,122' -draw 'line 80,144 128,144' \
    -stroke none -fill '#f29d38' \
    -draw 'polygon 36,168 220,168 220,222 36,222' \
    -fill '#c9741c' -draw 'polygon 36,168 60,168 60,198 196,198 196,168 220,168 220,176 36,176' \
    -resize "${size}x${size}" "$out"
}
icon 256 tarnwick-256.png
icon 32 tarnwick-32.png
icon 16 tarnwick-16.png

# The splash logo, 361 x 120 pixels on white: the icon, the product's name and a short line.
convert -size 361x120 xc:white \
  \( tarnwick-256.png -resize 96x96 \) -geometry +14+12 -composite \
  -font DejaVu-Sans-Bold -pointsize 40 -fill '#1d6a72' -annotate +124+62 'Tarnwick' \
  -font DejaVu-Sans -pointsize 12 -fill '#4a4a4a' -annotate +126+86 'Gathers your documents for the move' \
  -fill '#f29d38' -draw 'rectangle 126,98 340,101' \
  splash-logo.png

# The Windows program's icon file and its splash picture (a bitmap the system can draw itself).
convert tarnwick-16.png tarnwick-32.png tarnwick-256.png -depth 8 ../win/tarnwick.ico
convert splash-logo.png -background white -flatten -depth 8 -type TrueColor BMP3:../win/splash-logo.bmp
