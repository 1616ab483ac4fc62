#!/usr/bin/env bash
# Draws samples/chart.bmp: a 480 x 360 line chart with labelled axes (x from 0 to 10, y from 0 to
# 100) and two curves, the kind of picture Tallyscope is for. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p samples

# Chart value (x, y) to pixel: x 0..10 over 60..450, y 0..100 over 310..30.
curve() {
    awk -v kind="$1" 'BEGIN {
        for (i = 0; i <= 100; i++) {
            x = i / 10
            if (kind == "rise") y = 8 + 84 * (1 - exp(-x / 2.5))
            else y = 45 + 30 * sin(x * 0.9) * exp(-x / 12)
            printf "%d,%d ", 60 + x * 39 + 0.5, 310 - y * 2.8 + 0.5
        }
    }'
}

ticks=()
for i in $(seq 1 10); do
    x=$((60 + i * 39))
    ticks+=(-stroke '#E0E0E0' -draw "line $x,30 $x,310" -stroke black)
done
for i in $(seq 0 10); do
    x=$((60 + i * 39))
    ticks+=(-stroke black -draw "line $x,310 $x,315" -stroke none -fill black -draw "text $((x - 4)),330 '$i'")
done
for i in $(seq 0 10); do
    y=$((310 - i * 28))
    ticks+=(-stroke black -draw "line 55,$y 60,$y" -stroke none -fill black -draw "text 22,$((y + 4)) '$((i * 10))'")
done

convert -size 480x360 xc:white +antialias -fill none -stroke black -strokewidth 1 \
    -font DejaVu-Sans -pointsize 11 "${ticks[@]}" \
    -fill none -stroke black -draw 'line 60,30 60,310' -draw 'line 60,310 460,310' \
    -stroke none -fill black -draw "text 245,352 'time [s]'" -draw "text 8,20 'level [%]'" \
    -fill none -stroke '#0050C8' -strokewidth 2 -draw "polyline $(curve rise)" \
    -stroke '#D02020' -strokewidth 2 -draw "polyline $(curve wave)" \
    -type TrueColor "BMP3:samples/chart.bmp"
echo "wrote samples/chart.bmp"
