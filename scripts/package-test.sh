#!/usr/bin/env bash
# Builds the Debian package from the build folder with CPack, as `make package` does, and inspects
# it with dpkg-deb: the version is the one the program reports, the dependencies name the runtime
# packages the program needs, the files are exactly those `cmake --install` puts under /usr, and
# the packaged program runs.
#
#   scripts/package-test.sh <build folder> <output folder>
#
# Needs cpack, dpkg-deb and dpkg-shlibdeps (scripts/install-deps.sh).
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 <build folder> <output folder>" >&2
    exit 2
fi
build=$(realpath "$1")
out=$(realpath -m "$2")
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "package test: $tool is missing (run scripts/install-deps.sh)" >&2; exit 1; }
done
fail() { echo "package test: $*" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out/cpack" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log" >&2; fail "cpack failed"; }
debs=("$out"/cpack/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package, found: ${debs[*]}"
deb=${debs[0]}

# The version is the version resource's, as the program itself prints it.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$build/tallyscope" --version)
[ "$(dpkg-deb -f "$deb" Package)" = "tallyscope" ] || fail "the package is called $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "${version#Tallyscope }" ] ||
    fail "the package's version is $(dpkg-deb -f "$deb" Version), the program's \"$version\""
[ "$(basename "$deb")" = "tallyscope_${version#Tallyscope }_$(dpkg --print-architecture).deb" ] ||
    fail "the package file is called $(basename "$deb")"

# Each dependency by name, whatever version dpkg-shlibdeps attaches to it.
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
# poppler's Qt binding and OpenCV come in through the modules the program loads when it needs them.
for package in libqt6core6 libqt6gui6 libqt6widgets6 qt6-image-formats-plugins fonts-ipafont-gothic \
    qt6-translations-l10n libpoppler-qt6-3 libopencv-imgproc406; do
    grep -qx "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done

# Wayland desktops run the program natively when Qt's Wayland plugin is there.
grep -qw "qt6-wayland" <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends lacks qt6-wayland"

# The same files as an install into /usr.
cmake --install "$build" --prefix "$out/usr" >"$out/install.log" 2>&1 ||
    { cat "$out/install.log" >&2; fail "cmake --install failed"; }
installed=$(cd "$out" && find usr -type f | sort)
packaged=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
[ "$installed" = "$packaged" ] || fail "the package's files differ from an install's:
$(diff <(echo "$installed") <(echo "$packaged") || true)"

dpkg-deb -x "$deb" "$out/unpacked"
packaged_version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$out/unpacked/usr/bin/tallyscope" --version) ||
    fail "the packaged program does not run"
[ "$packaged_version" = "$version" ] || fail "the packaged program prints \"$packaged_version\""
echo "$(basename "$deb"): version, dependencies and files as expected"
