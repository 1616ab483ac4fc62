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
