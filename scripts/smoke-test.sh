#!/usr/bin/env bash
# Starts the real program on a virtual X display with a picture, twice: once on the bare display and
# once under a small real window manager (openbox). Each time it finds the main window and the zoom
# window by title and checks their places and sizes, frame included, and that the zoom window's
# caption has no buttons; opens the axis dialog and the export's save dialog and compares their
# labels and buttons with reference crops (tests/data/smoke); places and selects a point with the
# mouse, nudges it with real arrow keys and checks the exported rows; takes a screenshot; and ends the
# program through its own File > Exit command, expecting a clean exit. Then starts it with a file
# that is no picture and expects a message and a failure status. See scripts/smoke-pass.sh.
# Then twice more under openbox on a screen scaled as HiDPI desktops scale it (200 % and 150 %):
# clicks on the edge of a picture pixel's square, reference crops of the view and the magnifier,
# the export (scripts/smoke-scaled-pass.sh). Last, as a native Wayland client of a headless weston
# (scripts/smoke-wayland-pass.sh), and ended through File > Exit on a weston that takes input from a
# virtual X display (scripts/smoke-wayland-close-pass.sh).
#
#   scripts/smoke-test.sh <tallyscope> <picture> <output folder> [<desktop entry id>]
#
# With UPDATE_REFERENCE=1 in the environment, the crops become the new reference crops (look at
# them first). Needs xvfb-run, openbox, xdotool, xwininfo, xprop, xdpyinfo, ImageMagick and weston
# (scripts/install-deps.sh).
set -euo pipefail

if [ $# -lt 3 ] || [ $# -gt 4 ]; then
    echo "usage: $0 <tallyscope> <picture> <output folder> [<desktop entry id>]" >&2
    exit 2
fi
here=$(dirname "$(realpath "$0")")
program=$(realpath "$1")
picture=$(realpath "$2")
out=$(realpath -m "$3")
export APP_ID="${4:-org.example.Tallyscope}"
for tool in xvfb-run openbox xdotool xwininfo xprop xdpyinfo import compare weston weston-screenshooter; do
    command -v "$tool" >/dev/null || { echo "smoke test: $tool is missing (run scripts/install-deps.sh)" >&2; exit 1; }
done
rm -rf "$out"

# The program's profile (its recent-file list) goes to a folder of the test's own, and Qt talks to
# the virtual display, whatever the calling environment says. The save dialog opens in the pass's
# own folder, so that what it lists is always the same.
export PROGRAM="$program" PICTURE="$picture" QT_QPA_PLATFORM=xcb REFERENCE="$here/../tests/data/smoke"
export MAIN_TITLE="$(basename "$picture") - Tallyscope"
for wm in none openbox; do
    mkdir -p "$out/$wm/config" "$out/$wm/runtime"
    chmod 700 "$out/$wm/runtime"
    (
        cd "$out/$wm"
        export WM="$wm" OUT="$out/$wm" XDG_CONFIG_HOME="$out/$wm/config" XDG_RUNTIME_DIR="$out/$wm/runtime"
        xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$here/smoke-pass.sh"
    )
done
for scale in 2 1.5; do
    mkdir -p "$out/scaled-$scale/config" "$out/scaled-$scale/runtime"
    chmod 700 "$out/scaled-$scale/runtime"
    (
        cd "$out/scaled-$scale"
        export SCALE="$scale" OUT="$out/scaled-$scale" XDG_CONFIG_HOME="$out/scaled-$scale/config"
        export XDG_RUNTIME_DIR="$out/scaled-$scale/runtime"
        xvfb-run -a -s "-screen 0 2560x1600x24 -noreset" bash "$here/smoke-scaled-pass.sh"
    )
done
mkdir -p "$out/wayland/config" "$out/wayland/runtime"
chmod 700 "$out/wayland/runtime"
(
    export OUT="$out/wayland" XDG_CONFIG_HOME="$out/wayland/config" XDG_RUNTIME_DIR="$out/wayland/runtime"
    bash "$here/smoke-wayland-pass.sh"
    xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash "$here/smoke-wayland-close-pass.sh"
)
