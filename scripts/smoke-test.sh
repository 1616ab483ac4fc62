#!/usr/bin/env bash
# Starts the real program on a virtual X display with a picture, finds the main window and the zoom
# window by title, checks where they are and how big, takes a screenshot of the whole display, and
# ends the program through its own File > Exit command, expecting a clean exit. Then starts it with
# a file that is no picture and expects a message and a failure status.
#
#   scripts/smoke-test.sh <tallyscope> <picture> <output folder>
#
# Needs xvfb-run, xdotool, xwininfo, xdpyinfo and ImageMagick's import (scripts/install-deps.sh).
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 <tallyscope> <picture> <output folder>" >&2
    exit 2
fi
program=$(realpath "$1")
picture=$(realpath "$2")
out=$(realpath -m "$3")
for tool in xvfb-run xdotool xwininfo xdpyinfo import; do
    command -v "$tool" >/dev/null || { echo "smoke test: $tool is missing (run scripts/install-deps.sh)" >&2; exit 1; }
done
rm -rf "$out"
mkdir -p "$out/config" "$out/runtime"
chmod 700 "$out/runtime"

# The program's profile (its recent-file list) goes to a folder of the test's own, and Qt talks to
# the virtual display, whatever the calling environment says.
export XDG_CONFIG_HOME="$out/config" XDG_RUNTIME_DIR="$out/runtime" QT_QPA_PLATFORM=xcb
export PROGRAM="$program" PICTURE="$picture" OUT="$out"
main_title="$(basename "$picture") - Tallyscope"
export MAIN_TITLE="$main_title"

# Everything that needs the display runs inside xvfb-run.
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
set -euo pipefail
fail() { echo "smoke test: $*" >&2; kill "$pid" 2>/dev/null || true; exit 1; }

# Qt gives up at once when it cannot reach the display, so wait until it answers. The server runs
# with -noreset: by default it resets whenever its last client leaves, and a program connecting
# during that reset is refused (this probe leaving, or the first program ending before the second).
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$PROGRAM" "$PICTURE" >"$OUT/program.log" 2>&1 &
pid=$!

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

# Checks a window against the expected place and size. Without a window manager the window lies
# exactly where the program put it; a manager may shift it to make room for its frame.
check_window() {
    local id=$1 name=$2 x=$3 y=$4 w=$5 h=$6 info gx gy gw gh
    info=$(xwininfo -id "$id")
    gx=$(awk "/Absolute upper-left X/ {print \$4}" <<<"$info")
    gy=$(awk "/Absolute upper-left Y/ {print \$4}" <<<"$info")
    gw=$(awk "/Width:/ {print \$2}" <<<"$info")
    gh=$(awk "/Height:/ {print \$2}" <<<"$info")
    echo "$name: ($gx, $gy) ${gw} x ${gh}"
    [ "$gw" -eq "$w" ] && [ "$gh" -eq "$h" ] || fail "$name is ${gw} x ${gh}, expected ${w} x ${h}"
    [ "$gx" -ge "$x" ] && [ "$gx" -le $((x + 40)) ] && [ "$gy" -ge "$y" ] && [ "$gy" -le $((y + 40)) ] ||
        fail "$name is at ($gx, $gy), expected ($x, $y)"
}

main=$(find_window "$MAIN_TITLE")
zoom=$(find_window "Zoom Window")
check_window "$main" "main window" 280 50 600 500
check_window "$zoom" "zoom window" 50 50 220 280

sleep 0.5 # let both windows finish painting
import -window root "$OUT/screenshot.png"

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

# File > Exit, from the keyboard: Alt+F opens the File menu, X is the exit item mnemonic.
xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers alt+f
sleep 0.3
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
'
