#!/usr/bin/env bash
# Makes docs/screenshot.png: the real program on a virtual display with the sample chart, the origin
# placed, one finished series along the blue curve, points being picked along the red one, and the
# magnifier following the mouse. A small real window manager (openbox) frames the windows, so the
# picture shows the title bars and borders a user sees.
#
#   scripts/make-screenshot.sh <tallyscope>
#
# Needs xvfb-run, openbox, xdotool, xwininfo and ImageMagick (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/tallyscope}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p docs "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
export PROGRAM="$program" WORK="$work" SAMPLE="$PWD/samples/chart.bmp" SCRIPTS="$PWD/scripts"

# Chart value (t, y) of the sample's two curves to picture pixels (see scripts/make-sample.sh).
points() {
    awk -v kind="$1" -v from="$2" -v to="$3" -v step="$4" 'BEGIN {
        for (t = from; t <= to + 1e-9; t += step) {
            if (kind == "rise") y = 8 + 84 * (1 - exp(-t / 2.5))
            else y = 45 + 30 * sin(t * 0.9) * exp(-t / 12)
            printf "%d %d\n", 60 + t * 39 + 0.5, 310 - y * 2.8 + 0.5
        }
    }'
}
points rise 0.5 9.5 1.0 >"$work/blue.txt"
points wave 0.5 4.5 1.0 >"$work/red.txt"
points wave 5.2 5.2 1.0 >"$work/rest.txt"

# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
set -euo pipefail
source "$SCRIPTS/display-helpers.sh"
wait_for_display
start_window_manager "$WORK/openbox.log"
"$PROGRAM" "$SAMPLE" >"$WORK/program.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
    main=$(xdotool search --onlyvisible --name "^chart.bmp - Tallyscope\$" 2>/dev/null | head -n 1 || true)
    [ -n "$main" ] && break
    sleep 0.1
done
[ -n "$main" ] || { echo "no main window" >&2; exit 1; }
sleep 1
# Where the window manager put the main window, inside its frame.
read -r cx cy < <(xwininfo -id "$main" | awk "/Absolute upper-left X/ {x = \$4} /Absolute upper-left Y/ {y = \$4} END {print x, y}")

# Where the picture starts on the screen: the first white pixel below the toolbar.
import -window root "$WORK/before.png"
top=$(for y in $(seq "$cy" $((cy + 150))); do
    [ "$(convert "$WORK/before.png" -format "%[pixel:p{$((cx + 20)),$y}]" info:)" = "srgb(255,255,255)" ] && { echo "$y"; break; }
done)
left=$(for x in $(seq "$cx" $((cx + 20))); do
    [ "$(convert "$WORK/before.png" -format "%[pixel:p{$x,$((top + 5))}]" info:)" = "srgb(255,255,255)" ] && { echo "$x"; break; }
done)
click() { # picture pixel, then modifiers
    xdotool mousemove $((left + $1)) $((top + $2))
    sleep 0.05
    if [ -n "${3:-}" ]; then xdotool keydown $3; fi
    xdotool click 1
    if [ -n "${3:-}" ]; then xdotool keyup $3; fi
    sleep 0.05
}

# The origin: the toolbar button with the O, then Shift and a click on the axes corner.
xdotool mousemove $((cx + 83)) $((cy + 38)) click 1
sleep 0.2
click 60 310 shift

# One finished series along the blue curve (the last point ends it), then the red one begun.
mapfile -t blue <"$WORK/blue.txt"
for i in "${!blue[@]}"; do
    read -r x y <<<"${blue[$i]}"
    if [ "$i" -eq $((${#blue[@]} - 1)) ]; then click "$x" "$y" "shift+ctrl"; else click "$x" "$y" shift; fi
done
while read -r x y; do click "$x" "$y" shift; done <"$WORK/red.txt"

# Rest the mouse on the red curve so that the magnifier and the read-out show it.
read -r x y <"$WORK/rest.txt"
xdotool mousemove $((left + x)) $((top + y - 1))
sleep 0.5
import -window root "$WORK/screen.png"
kill "$pid" "$wm_pid"
'
convert "$work/screen.png" -crop 890x560+40+40 +repage docs/screenshot.png
echo "wrote docs/screenshot.png"
