#!/usr/bin/env bash
# Draws the application icon (an arrow pointer with a click burst) and writes
# app/homeclick.ico with 16 and 32 pixel images. Needs ImageMagick.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Drawn once at 256 px on a transparent canvas, then scaled down.
convert -size 256x256 xc:none \
  -stroke '#1f5fbf' -strokewidth 14 -fill none \
  -draw 'line 70,40 70,10' -draw 'line 38,70 10,70' -draw 'line 48,48 24,24' \
  -draw 'line 92,48 112,26' -draw 'line 48,92 26,112' \
  -stroke black -strokewidth 12 -fill white \
  -draw 'polygon 78,74 78,236 118,196 146,252 178,238 150,184 206,184' \
  "$work/icon.png"
for size in 16 32; do
  convert "$work/icon.png" -resize "${size}x${size}" "$work/icon-$size.png"
done
convert "$work/icon-16.png" "$work/icon-32.png" "$here/app/homeclick.ico"
