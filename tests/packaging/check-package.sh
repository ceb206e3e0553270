#!/usr/bin/env bash
# Checks the Debian package as a user receives it: the desktop entry and metainfo pass their
# validators, the package's control fields and file list are what an installation needs, and
# the unpacked program starts, runs one Start/Stop offscreen and exits with status 0.
# Usage: check-package.sh BUILD_DIR   (the package is built there first)
set -uo pipefail

build=$(cd "${1:?build directory}" && pwd)
src=$(cd "$(dirname "$0")/../.." && pwd)
id=org.optimalfiltering.OptimalFiltering
package=optimal-filtering
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

# The validators' exit status alone lets warnings through; any complaint counts.
validate_desktop() {
    local out
    if ! out=$(desktop-file-validate "$1" 2>&1) || [ -n "$out" ]; then
        fail "desktop-file-validate $1: ${out:-exit status}"
    else pass "desktop entry valid: ${1#"$tmp"/}"; fi
}
validate_metainfo() {
    local out
    if ! out=$(appstreamcli validate --no-net --no-color "$1" 2>&1); then
        fail "appstreamcli validate $1: $out"
    else pass "metainfo valid: ${1#"$tmp"/}"; fi
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

validate_desktop "$src/src/ui/$id.desktop"
validate_metainfo "$src/src/ui/$id.metainfo.xml"

# English is the untranslated text, Russian the [ru] / xml:lang="ru" one, for every key a menu or
# software centre shows or searches.
has_cyrillic() { LC_ALL=C grep -q $'[\xd0-\xd3][\x80-\xbf]' <<<"$1"; } # U+0400..U+04FF in UTF-8
english_and_russian() { # what, the untranslated text, the Russian one
    if [ -n "$2" ] && ! has_cyrillic "$2" && has_cyrillic "$3"
    then pass "$1: English, Russian beside it"
    else fail "$1: '$2' / '$3'"; fi
}
for key in Name GenericName Comment Keywords; do
    english_and_russian "desktop entry $key" "$(sed -n "s/^$key=//p" "$src/src/ui/$id.desktop")" \
        "$(sed -n "s/^$key\[ru\]=//p" "$src/src/ui/$id.desktop")"
done
for element in name summary keyword; do
    english_and_russian "metainfo <$element>" "$(grep -o "<$element>[^<]*</$element>" "$src/src/ui/$id.metainfo.xml")" \
        "$(grep -o "<$element xml:lang=\"ru\">[^<]*</$element>" "$src/src/ui/$id.metainfo.xml")"
done
# The licence the package declares is the repository's.
if grep -qx 'License: MIT' "$src/debian/copyright" && head -1 "$src/LICENSE" | grep -qx 'MIT License' \
   && grep -q '<project_license>MIT</project_license>' "$src/src/ui/$id.metainfo.xml"
then pass "LICENSE, copyright and metainfo: MIT"
else fail "LICENSE, debian/copyright and the metainfo do not all say MIT"; fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt").$(git -C "$src" rev-list --count HEAD)
arch=$(dpkg --print-architecture)
if ! deb=$(bash "$src/scripts/build-package.sh" "$build" 2>"$tmp/build-package.log") \
        || [ "$deb" != "$build/${package}_${version}_${arch}.deb" ] || [ ! -f "$deb" ]; then
    cat "$tmp/build-package.log"
    fail "build-package.sh did not make ${package}_${version}_${arch}.deb (made '$deb')"
    echo "$failures check(s) failed"; exit 1
fi
pass "package built: $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
expect_field() { # name, extended regular expression the whole value must match
    local value; value=$(field "$1")
    if [[ "$value" =~ ^$2$ ]]; then pass "$1: $value"; else fail "$1 is '$value', expected /$2/"; fi
}
expect_field Package "$package"
expect_field Version "$version"
expect_field Architecture "$arch"
expect_field Section education
expect_field Priority optional
expect_field Maintainer 'Optimal Filtering project <[^@<> ]+@[^@<> ]+>'
# The synopsis on the first line, a longer text after it.
desc=$(field Description)
if [ "$(printf '%s\n' "$desc" | wc -l)" -ge 2 ] && [ -n "$(printf '%s\n' "$desc" | head -1)" ] \
   && [ "$(printf '%s\n' "$desc" | head -1 | wc -c)" -le 81 ]; then pass "Description: synopsis and text"
else fail "Description lacks a synopsis of at most 80 characters and a text: $desc"; fi
# What the program needs at run time, whatever the release names it: Qt's core, GUI and widgets
# libraries (found in the binary; Debian 13 adds t64 to some names), the SVG plugins that read
# its icon and the font faces its layout is made for (loaded at run time, named by hand).
depends=$(field Depends)
needs=(
    "libc6"
    "libstdc\\+\\+6"
    "libqt6core6(t64)?"
    "libqt6gui6(t64)?"
    "libqt6widgets6(t64)?"
    "qt6-svg-plugins \\| libqt6svg6 \\(<< 6\\.5~\\)"
    "fonts-liberation"
    "fonts-liberation-sans-narrow \\| fonts-liberation \\(<< 1:2~\\)"
)
for need in "${needs[@]}"; do
    if [[ ", $depends," =~ ,\ $need[\ ,] ]]; then pass "Depends has ${BASH_REMATCH[0]:2:-1}"
    else fail "Depends lacks /$need/: $depends"; fi
done

dpkg-deb -c "$deb" | awk '{print $1, $6}' >"$tmp/list"
expected=(
    "-rwxr-xr-x ./usr/bin/$package"
    "-rw-r--r-- ./usr/share/applications/$id.desktop"
    "-rw-r--r-- ./usr/share/metainfo/$id.metainfo.xml"
    "-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/$id.svg"
    "-rw-r--r-- ./usr/share/doc/$package/copyright"
    "-rw-r--r-- ./usr/share/doc/$package/changelog.gz"
    "-rw-r--r-- ./usr/share/man/man1/$package.1.gz"
    "-rw-r--r-- ./usr/share/man/ru/man1/$package.1.gz"
)
for size in 16 32 48 64 128 256; do
    expected+=("-rw-r--r-- ./usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for entry in "${expected[@]}"; do
    if grep -qxF -- "$entry" "$tmp/list"; then pass "file ${entry#* }"
    else fail "missing or wrong mode: $entry"; fi
done
# Nothing else but the directories leading to these files.
printf '%s\n' "${expected[@]}" >"$tmp/expected"
extra=$(grep -v '^d' "$tmp/list" | grep -vxF -f "$tmp/expected")
if [ -n "$extra" ]; then fail "unexpected files: $extra"; else pass "no other files"; fi
if grep '^d' "$tmp/list" | grep -qv '^drwxr-xr-x '; then fail "directory modes: $(grep '^d' "$tmp/list" | grep -v '^drwxr-xr-x ')"
else pass "directories 0755"; fi

# Debian's own checker, every tag shown, pedantic ones too: it must find nothing.
if lintian -I --pedantic --tag-display-limit 0 "$deb" >"$tmp/lintian.log" 2>"$tmp/lintian.err" && [ ! -s "$tmp/lintian.log" ]
then pass "lintian -I --pedantic: no tags"
else fail "lintian -I --pedantic: $(cat "$tmp/lintian.log" "$tmp/lintian.err")"; fi
# The same commit gives the same bytes, built again from nothing in another place.
if again=$(bash "$src/scripts/build-package.sh" "$tmp/again" 2>"$tmp/again.log") \
        && [ "$(sha256sum <"$again")" = "$(sha256sum <"$deb")" ]
then pass "built again elsewhere: the same bytes ($(sha256sum <"$deb" | cut -c1-16))"
else cat "$tmp/again.log"; fail "building the same commit again gave different bytes"; fi

root="$tmp/root"
mkdir -p "$root"
if ! dpkg-deb -x "$deb" "$root"; then fail "dpkg-deb -x"; echo "$failures check(s) failed"; exit 1; fi
validate_desktop "$root/usr/share/applications/$id.desktop"
validate_metainfo "$root/usr/share/metainfo/$id.metainfo.xml"
desktop="$root/usr/share/applications/$id.desktop"
exec_cmd=$(sed -n 's/^Exec=//p' "$desktop")
icon=$(sed -n 's/^Icon=//p' "$desktop")
if [ -x "$root/usr/bin/$exec_cmd" ]; then pass "Exec=$exec_cmd is the packaged program"
else fail "Exec=$exec_cmd is not in /usr/bin of the package"; fi
if [ "$icon" = "$id" ] && [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ]; then pass "Icon=$icon is packaged"
else fail "Icon='$icon' does not name the packaged icon $id"; fi
if grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$root/usr/share/metainfo/$id.metainfo.xml"
then pass "metainfo launches $id.desktop"; else fail "metainfo's launchable is not $id.desktop"; fi
if grep -q "^Name\[ru\]=Оптимальная фильтрация сигналов$" "$desktop"; then pass "menu entry name"
else fail "desktop entry's Russian Name is not the window's caption"; fi

probe="$build/tests/packaging/libstart_stop_probe.so"
if [ ! -f "$probe" ]; then
    fail "the start-stop probe is not built ($probe)"
else
    # A private runtime directory keeps Qt quiet on machines without a session.
    mkdir -m 0700 "$tmp/runtime"
    env -i PATH="$PATH" HOME="$tmp" XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=offscreen \
        LD_PRELOAD="$probe" timeout 120 "$root/usr/bin/$package" >"$tmp/run.log" 2>&1
    status=$?
    if [ $status -eq 0 ] && grep -q '^start-stop probe: run went' "$tmp/run.log"; then
        pass "unpacked program: $(grep '^start-stop probe' "$tmp/run.log")"
    else
        cat "$tmp/run.log"
        fail "unpacked program exited with $status without a finished Start/Stop"
    fi
fi

if [ $failures -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "package checks passed"
