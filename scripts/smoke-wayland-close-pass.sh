#!/usr/bin/env bash
# The end of the Wayland pass of the smoke test: a headless weston takes no input, so here weston
# runs on the X backend inside a virtual X display (run by scripts/smoke-test.sh under xvfb-run),
# whose mouse and keys reach the program as a native Wayland client's input. File > Exit must end
# the program with status 0.
#
# Nothing here depends on where a shell happens to place windows or on what a screenshot shows:
# weston runs its kiosk shell, which puts the main window over the whole output, and every step
# waits for what the compositor told the program (the client's side of the protocol, as
# WAYLAND_DEBUG writes it): which surface the pointer entered, which has the keyboard, that a menu
# popped up.
#
# Environment: PROGRAM, PICTURE, OUT, MAIN_TITLE.
# shellcheck disable=SC2317 # the conditions below are called through wait_until
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
weston --backend=x11-backend.so --shell=kiosk-shell.so --use-pixman --socket=$socket --width=1280 --height=800 \
    --idle-time=0 >"$OUT/weston-x11.log" 2>&1 &
weston_pid=$!
wait_until 30 test -S "$XDG_RUNTIME_DIR/$socket" || fail "weston did not start (see $OUT/weston-x11.log)"
output=""
output_shown() {
    output=$(xdotool search --onlyvisible --class "^Weston Compositor$" 2>/dev/null | head -n 1 || true)
    [ -n "$output" ]
}
wait_until 30 output_shown || fail "weston's output window is not on the virtual display"
read -r ox oy ow oh < <(client_geometry "$output")

protocol="$OUT/protocol-closing.log"
WAYLAND_DISPLAY=$socket WAYLAND_DEBUG=client QT_QPA_PLATFORM=wayland "$PROGRAM" "$PICTURE" \
    >"$OUT/program-closing.log" 2>"$protocol" &
pid=$!

# The main window's wl_surface: its xdg_surface made the toplevel that took the picture's title.
main_surface() {
    local toplevel xdg_surface
    toplevel=$({ grep -o "xdg_toplevel@[0-9]*\.set_title(\"$MAIN_TITLE\")" "$protocol" || true; } | head -n 1 |
        sed 's/\.set_title.*//')
    [ -n "$toplevel" ] || return 1
    xdg_surface=$({ grep -o "xdg_surface@[0-9]*\.get_toplevel(new id $toplevel)" "$protocol" || true; } |
        head -n 1 | sed 's/\.get_toplevel.*//')
    [ -n "$xdg_surface" ] || return 1
    { grep -o "get_xdg_surface(new id $xdg_surface, wl_surface@[0-9]*)" "$protocol" || true; } | head -n 1 |
        sed 's/.*, //; s/)//'
}
# The surface named in the last event $1 (e.g. wl_keyboard@5.enter) the compositor sent.
last_entered() {
    { grep -o "$1([0-9]*, wl_surface@[0-9]*" "$protocol" || true; } | tail -n 1 | sed 's/.*, //'
}
program_runs() { kill -0 "$pid" 2>/dev/null || fail "the program ended (see $OUT/program-closing.log)"; }

surface=""
main_committed() {
    program_runs
    surface=$(main_surface || true)
    [ -n "$surface" ] && grep -q "$surface\.commit()" "$protocol"
}
wait_until 60 main_committed || fail "no main window titled \"$MAIN_TITLE\" (see $protocol)"
echo "main window: $surface"

# The kiosk shell shows the main window over the whole output and the zoom window, which the main
# window owns, in the middle of it: a corner of the output is the main window's. The pointer is
# moved there until the compositor says it entered that surface, then a click gives it the keyboard.
pointer_on_main() { [ "$(last_entered "wl_pointer@[0-9]*\.enter")" = "$surface" ]; }
keyboard_on_main() { [ "$(last_entered "wl_keyboard@[0-9]*\.enter")" = "$surface" ]; }
for attempt in $(seq 1 10); do
    program_runs
    xdotool mousemove $((ox + ow - 20 - attempt % 2)) $((oy + oh - 20))
    wait_until 3 pointer_on_main && break
done
pointer_on_main || fail "the pointer never entered the main window (see $protocol)"
xdotool click 1
wait_until 30 keyboard_on_main || fail "the main window never had the keyboard (see $protocol)"

# File > Exit from the keyboard: Alt+F opens the File menu, a popup of the main window; X is the exit
# item's mnemonic. Weston grants a popup only for the latest input event: a key released before the
# program has asked for the popup would make weston dismiss it at once (popup_done). So the keys
# stay down until the popup is configured.
count_of() { grep -c "$1" "$protocol" || true; }
popups_before=$(count_of "xdg_popup@[0-9]*\.configure(")
dismissed_before=$(count_of "xdg_popup@[0-9]*\.popup_done(")
more_popups() { [ "$(count_of "xdg_popup@[0-9]*\.configure(")" -gt "$popups_before" ]; }
xdotool keydown alt keydown f
wait_until 30 more_popups || fail "Alt+F showed no menu (see $protocol)"
xdotool keyup f keyup alt
[ "$(count_of "xdg_popup@[0-9]*\.popup_done(")" -eq "$dismissed_before" ] ||
    fail "the compositor dismissed the File menu (see $protocol)"
xdotool key x
wait_for_end "File > Exit"
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "wayland: File > Exit ended the program cleanly"
kill "$weston_pid" 2>/dev/null
wait "$weston_pid" 2>/dev/null || true
exit 0
