#!/usr/bin/env bash
# The end of the Wayland pass of the smoke test: a headless weston takes no input, so here weston
# runs on the X backend inside a virtual X display (run by scripts/smoke-test.sh under xvfb-run),
# whose mouse and keys reach the program as a native Wayland client's input. A click activates the
# main window; File > Exit must end the program with status 0.
#
# Environment: PROGRAM, PICTURE, OUT.
set -euo pipefail

pid=""
weston_pid=""
fail() {
    echo "smoke test (wayland, closing): $*" >&2
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
    exit 1
}

# shellcheck source=scripts/display-helpers.sh
source "$(dirname "$0")/display-helpers.sh"
wait_for_display || fail "the virtual display does not answer"
socket=tallyscope-smoke-input
weston --backend=x11-backend.so --use-pixman --debug --socket=$socket --width=1280 --height=800 \
    --idle-time=0 >"$OUT/weston-x11.log" 2>&1 &
weston_pid=$!
for _ in $(seq 1 100); do
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || fail "weston did not start (see $OUT/weston-x11.log)"

WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland "$PROGRAM" "$PICTURE" >"$OUT/program-closing.log" 2>&1 &
pid=$!
sleep 3
kill -0 "$pid" 2>/dev/null || fail "the program ended (see $OUT/program-closing.log)"

# The compositor places the windows; the blue axis markers tell where the picture is, once drawn.
for _ in $(seq 1 20); do
    rm -f "$OUT"/wayland-screenshot-*.png
    (cd "$OUT" && WAYLAND_DISPLAY=$socket weston-screenshooter) || fail "weston-screenshooter failed"
    blue=$(convert "$OUT"/wayland-screenshot-*.png -fill black +opaque "rgb(0,0,255)" -trim -format "%X %Y" info:)
    read -r bx by _ <<<"${blue//+/} "
    [ "${bx:-0}" -gt 0 ] && break
    sleep 0.5
done
[ "${bx:-0}" -gt 0 ] || fail "no picture on the screen"
# A click on the picture activates the main window; its File menu ("ファイル(F)") lies just above the
# view's top-left corner. The open menu takes the keys: X is the exit item's mnemonic. A busy
# machine may map the menu late, so this is tried a few times.
for _ in 1 2 3 4 5; do
    xdotool mousemove $((bx + 200)) $((by + 150)) click 1
    sleep 1
    xdotool mousemove $((bx + 25)) $((by - 20)) click 1
    sleep 1.5
    xdotool key x
    for _ in $(seq 1 30); do
        kill -0 "$pid" 2>/dev/null || break 2
        sleep 0.1
    done
    xdotool key Escape
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after File > Exit"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "wayland: File > Exit ended the program cleanly"
kill "$weston_pid" 2>/dev/null
wait "$weston_pid" 2>/dev/null || true
exit 0
