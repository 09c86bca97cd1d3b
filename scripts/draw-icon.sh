#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the program's icon at 256 px with ImageMagick and scales it down to the
# desktop's usual sizes: resources/icons/hicolor/<n>x<n>/k3n.png. Run it after
# changing the drawing and commit the pictures (the build does not need ImageMagick).
set -euo pipefail
cd "$(dirname "$0")/.."
out=resources/icons/hicolor
big=$(mktemp --suffix=.png)
trap 'rm -f "$big"' EXIT

# A wave: a band 12 px wide around the antenna's tip at radius $1, drawn as a
# filled polygon (points from -60 to +15 degrees out, then back in).
wave() {
    awk -v r="$1" 'BEGIN {
        cx = 74; cy = 48; w = 6; pts = ""
        for (a = -60; a <= 15; a += 5) pts = pts sprintf(" %.1f,%.1f", cx + (r + w) * cos(a * 3.14159265 / 180), cy + (r + w) * sin(a * 3.14159265 / 180))
        for (a = 15; a >= -60; a -= 5) pts = pts sprintf(" %.1f,%.1f", cx + (r - w) * cos(a * 3.14159265 / 180), cy + (r - w) * sin(a * 3.14159265 / 180))
        printf "polygon%s", pts
    }'
}

# A blue tile, a handheld radio with its antenna, three waves and the name.
convert -size 256x256 xc:none \
    -fill '#1d5fa8' -draw 'roundrectangle 8,8 247,247 36,36' \
    -fill '#16233a' -draw 'roundrectangle 40,72 120,232 14,14' \
    -fill '#16233a' -draw 'roundrectangle 54,22 70,80 6,6' \
    -fill '#9fc3e8' -draw 'roundrectangle 52,90 108,130 5,5' \
    -fill '#5d6b80' -draw 'circle 80,170 80,186' \
    -fill '#5d6b80' -draw 'roundrectangle 54,200 106,212 4,4' \
    -fill white -draw "$(wave 36) $(wave 64) $(wave 92)" \
    -fill white -font DejaVu-Sans-Bold -pointsize 50 \
    -draw "text 128,226 'K3N'" \
    "$big"
for n in 16 22 24 32 48 64 128 256; do
    mkdir -p "$out/${n}x${n}"
    convert "$big" -filter Lanczos -resize "${n}x${n}" -strip -define png:exclude-chunks=date,time \
        "PNG32:$out/${n}x${n}/k3n.png"
done
