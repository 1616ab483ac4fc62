#!/usr/bin/env bash
# Installs the built program into a fresh prefix as `cmake --install` does for a user, and checks
# the installed tree as a desktop would use it: exactly the expected files, icons of the sizes their
# folders promise, a desktop entry and AppStream metadata that pass their validators and name one
# another by the same id, --help and --version answered without a display, and then the smoke test
# run on the installed program (it starts under Xvfb with a picture and ends cleanly).
#
#   scripts/install-test.sh <build folder> <application id> <picture> <output folder>
#
# Needs desktop-file-validate, appstreamcli, ImageMagick's identify (scripts/install-deps.sh) and
# what scripts/smoke-test.sh needs.
set -euo pipefail

if [ $# -ne 4 ]; then
    echo "usage: $0 <build folder> <application id> <picture> <output folder>" >&2
    exit 2
fi
build=$(realpath "$1")
id=$2
picture=$(realpath "$3")
out=$(realpath -m "$4")
here=$(dirname "$(realpath "$0")")
for tool in cmake desktop-file-validate appstreamcli identify; do
    command -v "$tool" >/dev/null || { echo "install test: $tool is missing (run scripts/install-deps.sh)" >&2; exit 1; }
done
fail() { echo "install test: $*" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
prefix="$out/prefix"
cmake --install "$build" --prefix "$prefix" >"$out/install.log" 2>&1 ||
    { cat "$out/install.log" >&2; fail "cmake --install failed"; }

# Every file, and nothing else: a stray file (a test program, a library) would land in users' /usr.
sizes=(16 32 48 64 128 256)
# The modules the program loads the first time it renders a PDF page or traces a curve.
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
expected=("bin/tallyscope" "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
    "${libdir:-lib}/tallyscope/libtallyscope-pdf.so" "${libdir:-lib}/tallyscope/libtallyscope-extract.so")
for size in "${sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
actual=$(cd "$prefix" && find . -type f -printf '%P\n' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
[ "$actual" = "$wanted" ] || fail "installed files differ from the expected ones:
$(diff <(echo "$wanted") <(echo "$actual") || true)"
[ -x "$prefix/bin/tallyscope" ] || fail "the installed program is not executable"

for size in "${sizes[@]}"; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}" ] ||
        fail "$icon is $(identify -format '%m %wx%h' "$icon"), expected a ${size}x${size} PNG"
done

# The validators: any complaint, even a hint, fails the test.
desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate failed: $report"
! grep -qE '^[EW]:' <<<"$report" || fail "appstreamcli validate: $report"

# The desktop entry starts the installed program with the chosen file and shows the installed icon;
# the metainfo speaks of that desktop entry and of the version the program reports.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Exec)" = "tallyscope %f" ] || fail "Exec is \"$(entry Exec)\""
[ "$(entry Icon)" = "$id" ] || fail "Icon is \"$(entry Icon)\", expected \"$id\""
[ "$(entry MimeType)" = "image/bmp;image/jpeg;image/gif;" ] || fail "MimeType is \"$(entry MimeType)\""
[ -n "$(entry 'Comment\[ja\]')" ] || fail "no Japanese comment"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"

# --help and --version work where no display can be reached: they must never open a window.
no_display() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$@"; }
version=$(no_display "$prefix/bin/tallyscope" --version) || fail "--version failed"
[[ "$version" =~ ^Tallyscope\ [0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed \"$version\""
grep -q "<release version=\"${version#Tallyscope }\"" "$metainfo" ||
    fail "the metainfo has no release ${version#Tallyscope }"
usage=$(no_display "$prefix/bin/tallyscope" --help) || fail "--help failed"
[[ "$usage" == "Usage: tallyscope [PICTURE]"* ]] || fail "--help printed \"$usage\""

# The installed program finds its modules: a curve of the sample chart traced without a display.
no_display "$prefix/bin/tallyscope" --origin 60,310=0,0 --x-axis 450,310=10 --y-axis 60,30=100 \
    --trace 100,208 --export "$out/traced.dat" "$picture" || fail "the installed program could not trace"
grep -q "Converted Value" "$out/traced.dat" || fail "the installed program's trace wrote no values"

bash "$here/smoke-test.sh" "$prefix/bin/tallyscope" "$picture" "$out/smoke" "$id"
echo "installed tree in $prefix is complete, valid and runs"
