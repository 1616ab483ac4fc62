#!/usr/bin/env bash
# Draws the toolbar strip (fourteen 16 x 15 buttons in toolbar order), the two 32 x 32 icons and the
# main icon at the other sizes of the installed icon theme (16 to 256 pixels) into res/images/. The
# pictures are committed; run this only to change them. Needs ImageMagick and the Noto Sans CJK font
# (both installed by scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=res/images
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cjk_font=$(fc-match -f '%{file}' 'Noto Sans CJK JP')

# Writes a 16 x 15 picture given as fifteen rows of palette letters (see the palette below).
pixels() {
    local name=$1
    shift
    [ $# -eq 15 ] || { echo "$name: $# rows, want 15" >&2; exit 1; }
    {
        echo '/* XPM */'
        echo 'static char *picture[] = {'
        echo '"16 15 9 1",'
        echo '". c None", "k c #000000", "w c #FFFFFF", "r c #FF0000", "b c #0000FF",'
        echo '"y c #FFFF00", "o c #808000", "g c #C0C0C0", "d c #808080",'
        local row
        for row in "$@"; do
            [ ${#row} -eq 16 ] || { echo "$name: row '$row' is not 16 wide" >&2; exit 1; }
            echo "\"$row\","
        done
        echo '};'
    } >"$work/$name.xpm"
    convert "$work/$name.xpm" "PNG32:$work/$name.png"
}

# A picture of one kanji, drawn with the system's Japanese font without smoothing.
kanji() {
    convert -size 16x15 xc:none -font "$cjk_font" +antialias -fill black -pointsize 15 \
        -gravity center -annotate +0+0 "$2" "PNG32:$work/$1.png"
}

# A red cross drawn over an existing picture.
cross_out() {
    convert "$work/$1.png" +antialias -stroke '#FF0000' -strokewidth 1 \
        -draw 'line 2,1 13,13' -draw 'line 13,1 2,13' "PNG32:$work/$1.png"
}

pixels 01-open \
    '................' '................' '................' '..kkkkk.........' '.kyyyyyk........' \
    '.kyyyyyykkkkkkk.' '.kyyyyyyyyyyyyk.' '.kyykkkkkkkkkkkk' '.kykoooooooooook' '.kykooooooooook.' \
    '.kkoooooooooook.' '.kkooooooooook..' '.kkkkkkkkkkkkk..' '................' '................'

pixels 02-save \
    '................' '.kkkkkkkkkkkkkk.' '.kdwwwwwwwwwwdk.' '.kdwrrrrwwwwwdk.' '.kdwrwwwrwwwwdk.' \
    '.kdwrwwwwrwwwdk.' '.kdwrwwwwrwwwdk.' '.kdwrwwwrwwwwdk.' '.kdwrrrrwwwwwdk.' '.kddddddddddddk.' \
    '.kddggggggggddk.' '.kddgkkgggggddk.' '.kddgkkgggggddk.' '.kddggggggggddk.' '.kkkkkkkkkkkkkk.'

pixels 03-origin \
    '..k.............' '..k.............' '..k.............' '..k.............' '..k..bbb........' \
    '..k.b...b.......' '..k.b...b.......' '..k.b...b.......' '..k.b...b.......' '..k.b...b.......' \
    '..k..bbb........' '..k.............' '..kkkkkkkkkkkkkk' '..k.............' '................'

pixels 04-xaxis \
    '..k.............' '..k.............' '..k.............' '..k.............' '..k.......b...b.' \
    '..k.......b...b.' '..k........b.b..' '..k.........b...' '..k........b.b..' '..k.......b...b.' \
    '..k.......b...b.' '..k.............' '..kkkkkkkkkkkkkk' '..k.............' '................'

pixels 05-yaxis \
    '..k.............' '..k..b...b......' '..k..b...b......' '..k...b.b.......' '..k....b........' \
    '..k....b........' '..k....b........' '..k....b........' '..k.............' '..k.............' \
    '..k.............' '..k.............' '..kkkkkkkkkkkkkk' '..k.............' '................'

pixels 06-value \
    '................' '...r............' '..rrr...........' '.rrrrr..........' '...r............' \
    '...r............' '...r............' '...r............' '...r............' '...r.......r....' \
    '...r.......rr...' '...rrrrrrrrrrrr.' '...........rr...' '...........r....' '................'

kanji 07-length 線
kanji 08-area 面

pixels 09-new-series \
    '................' '................' '................' '................' 'k...k...........' \
    'kk..k...........' 'k.k.k..rr..r...r' 'k..kk.r..r.r...r' 'k...k.rrrr.r.r.r' 'k...k.r....r.r.r' \
    'k...k..rrr..r.r.' '................' '................' '................' '................'

pixels 10-delete-last \
    '................' '................' '.......kk.......' '......kkk.......' '.....k.kk.......' \
    '.......kk.......' '.......kk.......' '.......kk.......' '.......kk.......' '.......kk.......' \
    '.......kk.......' '.....kkkkkk.....' '................' '................' '................'
cross_out 10-delete-last

pixels 11-delete-all \
    '................' '................' '.......kk.......' '.......kk.......' '......k..k......' \
    '......k..k......' '.....k....k.....' '.....k....k.....' '....kkkkkkkk....' '....k......k....' \
    '...k........k...' '...k........k...' '................' '................' '................'
cross_out 11-delete-all

# x1, x2, x4: a small multiplication sign, then the digit.
times=('.....' '.....' 'k...k' '.k.k.' '..k..' '.k.k.' 'k...k')
digit1=('..k..' '.kk..' '..k..' '..k..' '..k..' '..k..' '.kkk.')
digit2=('.kkk.' 'k...k' '....k' '...k.' '..k..' '.k...' 'kkkkk')
digit4=('...k.' '..kk.' '.k.k.' 'k..k.' 'kkkkk' '...k.' '...k.')
zoom_button() {
    local name=$1
    local -n digit=$2
    local rows=() r
    for r in 0 1 2 3; do rows+=('................'); done
    for r in 0 1 2 3 4 5 6; do rows+=(".${times[$r]}..${digit[$r]}..."); done
    for r in 0 1 2 3; do rows+=('................'); done
    pixels "$name" "${rows[@]}"
}
zoom_button 12-zoom1 digit1
zoom_button 13-zoom2 digit2
zoom_button 14-zoom4 digit4

convert "$work"/[01]*.png +repage +append +repage "PNG32:$out/toolbar.png"

# Icon 128: a chart with two curves under a magnifying glass, drawn on a 32 x 32 grid and scaled
# to the sizes a desktop's icon theme asks for; the 32-pixel picture is the program's own icon.
# Pixel centres lie on whole coordinates, so the grid is scaled about the first pixel's centre.
main_icon() {
    local size=$1 scale offset
    scale=$(awk "BEGIN { print $size / 32 }")
    offset=$(awk "BEGIN { print ($size / 32 - 1) / 2 }")
    convert -size "${size}x${size}" xc:none -affine "$scale,0,0,$scale,$offset,$offset" \
        -fill white -stroke '#404040' -draw 'rectangle 1,1 30,30' \
        -stroke black -draw 'line 5,4 5,26' -draw 'line 5,26 28,26' \
        -fill none -stroke '#00A000' -draw 'polyline 6,22 10,16 14,18 18,10 22,12 27,6' \
        -stroke '#D00000' -draw 'polyline 6,25 12,23 18,19 24,14 27,10' \
        -stroke '#0000C0' -strokewidth 2 -draw 'circle 17,13 17,7' -draw 'line 21,18 27,25' \
        "PNG32:$2"
}
main_icon 32 "$out/main-icon.png"
for size in 16 48 64 128 256; do
    main_icon "$size" "$out/main-icon-$size.png"
done

# Icon 129: a page with a chart.
convert -size 32x32 xc:none \
    -fill white -stroke '#404040' -draw 'polygon 5,1 21,1 27,7 27,30 5,30' \
    -fill '#C0C0C0' -draw 'polygon 21,1 21,7 27,7' \
    -stroke black -draw 'line 9,10 9,26' -draw 'line 9,26 24,26' \
    -fill none -stroke '#00A000' -draw 'polyline 10,23 13,18 16,20 19,13 23,11' \
    "PNG32:$out/document-icon.png"

echo "wrote $out/toolbar.png, $out/main-icon*.png, $out/document-icon.png"
