#!/usr/bin/env bash
# One pass of the smoke test, run on a fresh virtual display by scripts/smoke-test.sh. With
# WM=openbox a small real window manager frames the windows first; with WM=none nothing does.
#
# Environment: PROGRAM, PICTURE, OUT (this pass's folder), WM (none or openbox), REFERENCE (the
# folder of reference crops), UPDATE_REFERENCE (1: write the crops there instead of comparing).
# shellcheck disable=SC2317 # the conditions below are called through wait_until
set -euo pipefail

pid=""
wm_pid=""
fail() {
    echo "smoke test ($WM): $*" >&2
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
    exit 1
}

# shellcheck source=scripts/display-helpers.sh
source "$(dirname "$0")/display-helpers.sh"
wait_for_display || fail "the virtual display does not answer"
if [ "$WM" = openbox ]; then
    start_window_manager "$OUT/openbox.log" || fail "openbox did not start"
fi

# The framework's places and sizes are those of the whole window, once the window manager (if any)
# has framed it.
is_at() { [ "$(outer_geometry "$1")" = "$2" ]; }
check_outer() {
    local id=$1 name=$2 expected="$3 $4 $5 $6"
    wait_until 30 is_at "$id" "$expected" ||
        fail "$name is at $(outer_geometry "$id") (x y width height), expected $expected"
    echo "$name: outer $expected"
}

# Compares one region of the screen, relative to a window's own area, with its reference crop.
check_region() {
    local id=$1 name=$2 x=$3 y=$4 w=$5 h=$6 cx cy
    read -r cx cy _ _ < <(client_geometry "$id")
    check_crop "$name" "${w}x${h}+$((cx + x))+$((cy + y))"
}

# The zoom window draws a caption of its own: its top differs from its body.
shows_caption() {
    local zx zy zw zh caption body
    read -r zx zy zw zh < <(client_geometry "$1")
    import -window root "$OUT/screen.png"
    caption=$(convert "$OUT/screen.png" -format "%[pixel:p{$((zx + zw - 10)),$((zy + 5))}]" info:)
    body=$(convert "$OUT/screen.png" -format "%[pixel:p{$((zx + zw - 10)),$((zy + zh - 5))}]" info:)
    [ "$caption" != "$body" ]
}

# In the window manager's stacking order (bottom first), window $2 lies above window $1.
stacked_above() {
    local stacking below above
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed -n "s/.*# //p" | tr -d "," | tr " " "\n")
    below=$(grep -nx "$(printf "0x%x" "$1")" <<<"$stacking" | cut -d: -f1)
    above=$(grep -nx "$(printf "0x%x" "$2")" <<<"$stacking" | cut -d: -f1)
    [ -n "$below" ] && [ -n "$above" ] && [ "$above" -gt "$below" ]
}

"$PROGRAM" "$PICTURE" >"$OUT/program.log" 2>&1 &
pid=$!
main=$(find_window "$MAIN_TITLE")
zoom=$(find_window "Zoom Window")
xdotool mousemove 0 0

check_outer "$main" "main window" 280 50 600 500
check_outer "$zoom" "zoom window" 50 50 220 280

# The zoom window has a caption with no close, minimise or maximise box. Window managers put their
# close box on every caption they draw, so the program tells them to draw no decoration at all
# (Motif hints: decorations given, none of them) and draws its caption itself.
read -r flags _ decorations _ < <(xprop -id "$zoom" _MOTIF_WM_HINTS | sed -n "s/.*= //p" | tr -d ",")
[ $((flags & 2)) -ne 0 ] && [ $((decorations)) -eq 0 ] ||
    fail "the zoom window lets the window manager decorate it (Motif hints flags $flags, decorations $decorations)"
if [ "$WM" = openbox ]; then
    [ "$(xprop -id "$main" _NET_FRAME_EXTENTS | sed -n "s/.*= //p")" != "0, 0, 0, 0" ] ||
        fail "the window manager did not frame the main window"
fi
wait_until 30 shows_caption "$zoom" || fail "the zoom window shows no caption of its own"

# The axis dialog's labels whole, in the templates' face: its toolbar button, the sixth.
read -r mx my _ _ < <(client_geometry "$main")
xdotool mousemove $((mx + 156)) $((my + 36)) click 1
xdotool mousemove 0 0
axis=$(find_window "軸の設定")
check_region "$axis" axis-row-labels 30 62 50 80
check_region "$axis" axis-column-heads 105 34 130 20
check_region "$axis" axis-value-heads 100 198 225 20
check_region "$axis" axis-value-rows 30 228 50 50
xdotool key Escape
wait_for_window_gone "軸の設定"

# The main window was clicked and is active again; the zoom window stays above it.
if [ "$WM" = openbox ]; then
    wait_until 30 stacked_above "$main" "$zoom" ||
        fail "the zoom window is not above the main window once that is active (stacking: $(xprop -root _NET_CLIENT_LIST_STACKING))"
fi

# The export's save dialog in Japanese: the framework's title, and 保存 and キャンセル on its buttons.
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+s
save=$(find_window "名前を付けて保存")
read -r _ _ sw sh < <(client_geometry "$save")
check_region "$save" save-buttons $((sw - 120)) $((sh - 75)) 120 75
import -window root "$OUT/save-dialog.png"
xdotool key Escape
wait_for_window_gone "名前を付けて保存"

# Nudging from the keyboard: a point placed with Shift and a click, selected with a plain click,
# moved with the arrow keys pressed on the real keyboard, must be exported where the keys left it.
# Two exports, before and after the keys, so the check needs no knowledge of where the picture lies.
export_row() {
    xdotool windowfocus --sync "$main"
    xdotool key --clearmodifiers ctrl+s
    local dialog
    dialog=$(find_window "名前を付けて保存")
    xdotool windowfocus --sync "$dialog"
    xdotool type --delay 20 "$1"
    xdotool key Return
    wait_until 30 test -s "$1" || fail "the export to $1 wrote nothing"
    wait_for_window_gone "名前を付けて保存"
    sed -n 3p "$1" | tr -d "\r" | awk -F "\t" '{print $2 + 0, $3 + 0}'
}
xdotool mousemove $((mx + 200)) $((my + 200))
xdotool keydown shift click 1 keyup shift
xdotool click 1
read -r x0 y0 < <(export_row "$OUT/before-nudge.dat")
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers Left Left Left Left Left Up Up
read -r x1 y1 < <(export_row "$OUT/after-nudge.dat")
echo "nudged the point from ($x0, $y0) to ($x1, $y1)"
[ "$x1" -eq $((x0 - 5)) ] && [ "$y1" -eq $((y0 + 2)) ] ||
    fail "Left x5 and Up x2 moved the point from ($x0, $y0) to ($x1, $y1), expected ($((x0 - 5)), $((y0 + 2)))"

import -window root "$OUT/screenshot.png"

# File > Exit, from the keyboard: Alt+F opens the File menu, X is the exit item mnemonic.
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers alt+f
wait_for_menu
xdotool key x
wait_for_end "File > Exit"
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "ended cleanly; screenshot in $OUT/screenshot.png"

# A picture that cannot be read: the program says so, and once the message is answered it ends
# with a failure status and leaves no window behind.
printf "not a picture" >"$OUT/broken.bmp"
"$PROGRAM" "$OUT/broken.bmp" >"$OUT/broken.log" 2>&1 &
pid=$!
message=$(find_window "Tallyscope")
xdotool windowfocus --sync "$message"
xdotool key Return
wait_for_end "refusing the broken picture"
[ "$status" -ne 0 ] || fail "the program ended with status 0 after failing to open the broken picture"
echo "a broken picture ends the program with status $status"

[ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
exit 0
