# Sourced by the scripts that run the program on a virtual display (smoke test, screenshot).

# Qt gives up at once when it cannot reach the display, so wait until it answers. The server runs
# with -noreset: by default it resets whenever its last client leaves, and a program connecting
# during that reset is refused (this probe leaving, or the first program ending before the second).
wait_for_display() {
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# Starts openbox, logging to $1, and waits until it manages the display; sets wm_pid.
start_window_manager() {
    openbox >"$1" 2>&1 &
    wm_pid=$!
    for _ in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        sleep 0.1
    done
    return 1
}

# The windows of the program under test: the caller sets pid (the program) and defines fail.

# Waits for a window whose whole title is $1 and prints its id.
find_window() {
    local id
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || fail "the program ended before its window \"$1\" appeared"
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.1
    done
    fail "no window titled \"$1\""
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

# Waits up to ten seconds for the program to end ($1 says after what) and sets its exit status.
wait_for_end() {
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end after $1"
    status=0
    wait "$pid" || status=$?
}
