# Sourced by the scripts that run the program on a virtual display (smoke test, screenshot).
# shellcheck disable=SC2317 # the conditions below are called through wait_until
#
# Every wait here waits for a condition, bounded by a time long enough for a loaded machine: it
# costs that time only when the condition never comes, that is when the test fails anyway.

# Runs the command $2... every tenth of a second until it succeeds or $1 seconds have passed.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# Qt gives up at once when it cannot reach the display, so wait until it answers. The server runs
# with -noreset: by default it resets whenever its last client leaves, and a program connecting
# during that reset is refused (this probe leaving, or the first program ending before the second).
display_answers() { xdpyinfo >/dev/null 2>&1; }
wait_for_display() {
    wait_until 30 display_answers
}

# Starts openbox, logging to $1, and waits until it manages the display; sets wm_pid.
start_window_manager() {
    openbox >"$1" 2>&1 &
    wm_pid=$!
    wait_until 30 window_manager_runs
}
window_manager_runs() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

# The windows of the program under test: the caller sets pid (the program) and defines fail.

# The id of a shown window whose whole title is $1, if there is one.
shown_window() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true
}

# Waits for a window whose whole title is $1 and prints its id.
find_window() {
    local id deadline=$((SECONDS + 60))
    while [ "$SECONDS" -lt "$deadline" ]; do
        kill -0 "$pid" 2>/dev/null || fail "the program ended before its window \"$1\" appeared"
        id=$(shown_window "$1")
        [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.1
    done
    fail "no window titled \"$1\""
}

# Waits until no window titled $1 is shown (a dialog answered).
no_window_titled() { [ -z "$(shown_window "$1")" ]; }
wait_for_window_gone() {
    wait_until 30 no_window_titled "$1" || fail "the window \"$1\" stayed open"
}

# Waits until one of the program's windows is a shown menu, and so takes the keys that follow.
menu_shown() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q "_MENU" && return 0
    done
    return 1
}
wait_for_menu() {
    wait_until 30 menu_shown || fail "no menu opened"
}

# The window's own area on the screen: x y width height.
client_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
        /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}'
}

# The whole window, the window manager's frame included: x y width height.
outer_geometry() {
    local x y w h left=0 right=0 top=0 bottom=0 extents
    read -r x y w h < <(client_geometry "$1")
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n "s/.*= //p" | tr -d ",")
    [ -n "$extents" ] && read -r left right top bottom <<<"$extents"
    echo $((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))
}

# Waits for the program to end ($1 says after what) and sets its exit status.
program_ended() { ! kill -0 "$pid" 2>/dev/null; }
wait_for_end() {
    wait_until 30 program_ended || fail "the program did not end after $1"
    status=0
    wait "$pid" || status=$?
}

# Compares a region of the screen ($2, as WxH+X+Y) with its reference crop $REFERENCE/$1.png, saving
# the crop as $OUT/$1.png. A window shows its final pixels a moment after it maps, and later still
# on a loaded machine, so the crop is taken again until it matches. With UPDATE_REFERENCE=1 the
# crop, once two in a row agree, becomes the new reference.
check_crop() {
    local name=$1 geometry=$2 differing
    if [ "${UPDATE_REFERENCE:-0}" = 1 ]; then
        wait_until 30 crop_is_steady "$name" "$geometry" || fail "$name never stopped changing"
        rm -f "$OUT/$name.before.png"
        cp "$OUT/$name.png" "$REFERENCE/$name.png"
        return
    fi
    wait_until 30 crop_matches "$name" "$geometry" "$REFERENCE/$name.png" && return
    differing=$(compare -metric AE "$OUT/$name.png" "$REFERENCE/$name.png" null: 2>&1 || true)
    fail "$name differs from $REFERENCE/$name.png in $differing pixels (see $OUT/$name.png)"
}
crop_matches() {
    import -window root -crop "$2" +repage "$OUT/$1.png"
    [ "$(compare -metric AE "$OUT/$1.png" "$3" null: 2>&1 || true)" = 0 ]
}
crop_is_steady() {
    [ -f "$OUT/$1.png" ] && cp "$OUT/$1.png" "$OUT/$1.before.png"
    crop_matches "$1" "$2" "$OUT/$1.before.png"
}
