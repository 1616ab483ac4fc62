#!/usr/bin/env bash
# One pass of the smoke test on a screen scaled as HiDPI desktops scale it (QT_SCALE_FACTOR=$SCALE),
# run on a fresh, large virtual display under openbox by scripts/smoke-test.sh. Checks the windows'
# places and sizes at the scale; Shift-clicks picture pixels on the last screen pixel of each
# (the right and bottom edge of the pixel's square, which a rounding of the mouse position would
# give to the next pixel); rests the mouse on the picture; compares the view and the magnifier
# with reference crops; exports the points and checks the file holds the pixels clicked; ends the
# program through File > Exit.
#
# Environment: PROGRAM, PICTURE, OUT, SCALE, REFERENCE, UPDATE_REFERENCE (as smoke-pass.sh).
# shellcheck disable=SC2317 # the conditions below are called through wait_until
set -euo pipefail

pid=""
wm_pid=""
fail() {
    echo "smoke test (scale $SCALE): $*" >&2
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    exit 1
}

# shellcheck source=scripts/display-helpers.sh
source "$(dirname "$0")/display-helpers.sh"
wait_for_display || fail "the virtual display does not answer"
start_window_manager "$OUT/openbox.log" || fail "openbox did not start"

# Places and sizes are logical: on the screen they are the scale times as large, give or take the
# rounding of the window manager's frame to logical pixels.
# The window manager frames a window a moment after it maps, so the check is repeated until then.
is_near() {
    awk -v s="$SCALE" -v a="$(outer_geometry "$1")" -v e="$2" 'BEGIN {
        split(a, got, " "); split(e, want, " ")
        for (i = 1; i <= 4; i++) { d = got[i] - want[i] * s; if (d < -2 || d > 2) exit 1 }
    }'
}
check_outer() {
    local id=$1 name=$2 expected="$3 $4 $5 $6"
    wait_until 30 is_near "$id" "$expected" ||
        fail "$name is at $(outer_geometry "$id") (x y width height), expected $expected times $SCALE"
    echo "$name: outer $(outer_geometry "$id")"
}

# The last screen pixel of picture pixel $1 (its square's right or bottom edge), from the square's
# first: the screen pixels of a picture pixel are those whose centres lie in it.
last_device_pixel() {
    awk -v s="$SCALE" -v l="$1" 'function first(v) { x = s * v - 0.5; return (x == int(x)) ? x : int(x) + (x > 0) }
        BEGIN { print first(l + 1) - 1 }'
}

QT_SCALE_FACTOR=$SCALE "$PROGRAM" "$PICTURE" >"$OUT/program.log" 2>&1 &
pid=$!
main=$(find_window "$MAIN_TITLE")
zoom=$(find_window "Zoom Window")
xdotool mousemove 0 0
check_outer "$main" "main window" 280 50 600 500
check_outer "$zoom" "zoom window" 50 50 220 280

# Where the picture starts on the screen: the first white pixel below the toolbar and right of the
# view's edge, less the blue axis lines over the picture's first row and column. The screen of a
# virtual display without a compositor holds exactly what the windows drew, but the view draws a
# moment after it maps: the place counts once two screenshots in a row give it.
read -r cx cy _ _ < <(client_geometry "$main")
probe=$(awk -v s="$SCALE" -v c="$cx" 'BEGIN { printf "%d", c + 20 * s }')
axis_line=$(($(last_device_pixel 0) + 1))
# The offset of the first white pixel along a line of the screenshot: $1 is the crop (WxH+X+Y).
first_white() {
    convert "$OUT/before.png" -crop "$1" +repage txt:- |
        awk -F'[,:]' '/#FFFFFF/ && !found {print $1 + $2; found = 1}'
}
picture_place() {
    local top left
    import -window root "$OUT/before.png"
    top=$(first_white "1x300+$probe+$cy")
    [ -n "$top" ] || return 0
    top=$((cy + top - axis_line))
    left=$(first_white "60x1+$cx+$((top + 20))")
    [ -n "$left" ] && echo "$((cx + left - axis_line)) $top"
}
place=""
place_is_steady() {
    local previous=$place
    place=$(picture_place)
    [ -n "$place" ] && [ "$place" = "$previous" ]
}
wait_until 30 place_is_steady || fail "the picture is not on the screen"
read -r left top <<<"$place"
echo "picture at $left,$top"

clicks="100 100 shift
150 120 shift
200 90 shift
250 140 shift+ctrl"
while read -r x y keys; do
    xdotool mousemove $((left + $(last_device_pixel "$x"))) $((top + $(last_device_pixel "$y")))
    xdotool keydown "$keys" click 1 keyup "$keys"
done <<<"$clicks"

# The magnifier follows the mouse: rest it on the picture.
xdotool mousemove $((left + $(last_device_pixel 180))) $((top + $(last_device_pixel 110)))
read -r zx zy zw zh < <(client_geometry "$zoom")
view_size=$(awk -v s="$SCALE" 'BEGIN { printf "%dx%d", 300 * s, 180 * s }')
check_crop "view-at-${SCALE}x" "$view_size+$((left + 1))+$((top + 1))"
# The magnifier below its caption bar, whose colours follow the window's activation.
caption=$(awk -v s="$SCALE" 'BEGIN { printf "%d", 24 * s }')
check_crop "magnifier-at-${SCALE}x" "${zw}x$((zh - caption))+$zx+$((zy + caption))"
import -window root "$OUT/screenshot.png"

# The export holds exactly the picture pixels clicked, y counted upward from the origin at (0, 0).
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s
save=$(find_window "名前を付けて保存")
xdotool windowfocus --sync "$save"
xdotool type "$OUT/points.dat"
xdotool key Return
wait_until 30 test -s "$OUT/points.dat" || fail "the export wrote nothing"
wait_for_window_gone "名前を付けて保存"
exported=$(tr -d '\r' <"$OUT/points.dat" | awk '/^Pixcel Value/ {on = 1; next} on && /^$/ {exit}
    on && /^[0-9]/ {print $2, -$3}')
expected=$(awk '{print $1, $2}' <<<"$clicks")
[ "$exported" = "$expected" ] || fail "exported pixels
$exported
instead of
$expected"

xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers alt+f
wait_for_menu
xdotool key x
wait_for_end "File > Exit"
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "scale $SCALE: clicks on the last screen pixel of a picture pixel export that pixel; ended cleanly"
kill "$wm_pid" 2>/dev/null
exit 0
