#!/usr/bin/env bash
# One pass of the smoke test as a native Wayland client: a headless weston (pixman renderer, its
# screenshot interface open with --debug) as the compositor, the program on Qt's Wayland plugin.
# Checks that both windows map, the main window named by the desktop entry's id and the zoom window
# owned by it (so the compositor keeps it above the main window), and that a screenshot shows the
# picture with its overlay. Run by scripts/smoke-test.sh.
#
# Environment: PROGRAM, PICTURE, OUT, MAIN_TITLE, APP_ID.
# shellcheck disable=SC2317 # the conditions below are called through wait_until
set -euo pipefail
# shellcheck source=scripts/display-helpers.sh
source "$(dirname "$0")/display-helpers.sh"

pid=""
weston_pid=""
fail() {
    echo "smoke test (wayland): $*" >&2
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
    exit 1
}

socket=tallyscope-smoke
weston --backend=headless-backend.so --use-pixman --debug --socket=$socket --width=1280 --height=800 \
    --idle-time=0 >"$OUT/weston.log" 2>&1 &
weston_pid=$!
wait_until 30 test -S "$XDG_RUNTIME_DIR/$socket" || fail "weston did not start (see $OUT/weston.log)"
export WAYLAND_DISPLAY=$socket
unset DISPLAY

# The client's side of the protocol tells what the program asked of the compositor.
WAYLAND_DEBUG=client QT_QPA_PLATFORM=wayland "$PROGRAM" "$PICTURE" >"$OUT/program.log" 2>"$OUT/protocol.log" &
pid=$!
toplevel() { # the xdg_toplevel object titled $1
    { grep -o "xdg_toplevel@[0-9]*\.set_title(\"$1\")" "$OUT/protocol.log" || true; } | head -n 1 |
        sed 's/\.set_title.*//'
}
main=""
zoom=""
both_windows() {
    kill -0 "$pid" 2>/dev/null || fail "the program ended (see $OUT/program.log)"
    main=$(toplevel "$MAIN_TITLE")
    zoom=$(toplevel "Zoom Window")
    [ -n "$main" ] && [ -n "$zoom" ]
}
wait_until 60 both_windows || true
[ -n "$main" ] || fail "no main window titled \"$MAIN_TITLE\""
[ -n "$zoom" ] || fail "no zoom window"
echo "main window $main, zoom window $zoom"
grep -q "$main\.set_app_id(\"$APP_ID\")" "$OUT/protocol.log" ||
    fail "the main window's application id is not $APP_ID"
grep -q "$zoom\.set_parent($main)" "$OUT/protocol.log" ||
    fail "the zoom window is not owned by the main window, so the compositor may put it below"
configured() { [ "$(grep -c "xdg_surface@[0-9]*\.ack_configure" "$OUT/protocol.log")" -ge 2 ]; }
wait_until 30 configured || fail "the windows were never configured by the compositor"

# A screenshot through weston's own interface (the headless output keeps no stale pixels) shows the
# picture's axis markers and lines, blue only where the view has a picture to draw over, once the
# view has drawn: screenshots are taken until one does. The count of blue pixels does not depend
# on where the compositor placed the windows.
blue=0
overlay_shown() {
    rm -f "$OUT"/wayland-screenshot-*.png
    (cd "$OUT" && weston-screenshooter) || fail "weston-screenshooter failed"
    blue=$(convert "$OUT"/wayland-screenshot-*.png -fill black +opaque "rgb(0,0,255)" -fill white \
        -opaque "rgb(0,0,255)" -format "%[fx:int(mean*w*h+0.5)]" info:)
    [ "$blue" -ge 200 ]
}
wait_until 30 overlay_shown || fail "the screenshot shows no picture with its overlay ($blue blue pixels)"
echo "screenshot: $blue blue pixels"

kill "$pid"
wait "$pid" 2>/dev/null || true
kill "$weston_pid"
wait "$weston_pid" 2>/dev/null || true
exit 0
