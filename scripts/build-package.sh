#!/usr/bin/env bash
# Builds the Debian package with debhelper from a copy of the source tree, as Debian builds a
# package: dpkg-buildpackage -b in OUT_DIR/package/optimal-filtering-VERSION. The version is
# 1.0.<number of commits>, written with a changelog entry for the commit into the copy's
# debian/changelog and dated at the commit, so every time stamp is the commit's
# (SOURCE_DATE_EPOCH) and one commit always gives the same bytes. The copy holds the files git
# knows (tracked, and new ones it does not ignore) as they are in the working tree, so a change
# not yet committed is packaged too.
# Usage: build-package.sh OUT_DIR     prints the path of the .deb, which it leaves in OUT_DIR
set -euo pipefail

out=$(mkdir -p "${1:?output directory}" && cd "$1" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)
package=optimal-filtering
base_version=$(sed -n 's/^project(OptimalFiltering VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
maintainer=$(sed -n 's/^Maintainer: //p' "$src/debian/control")
if git -C "$src" rev-parse -q --verify HEAD >/dev/null 2>&1; then
    count=$(git -C "$src" rev-list --count HEAD)
    epoch=$(git -C "$src" log -1 --format=%ct)
    subject=$(git -C "$src" log -1 --format=%s)
else
    count=0
    epoch=$(stat -c %Y "$src/debian/control")
    subject="Built from a source tree without history."
fi
version=$base_version.$count
arch=$(dpkg --print-architecture)

work=$out/package
tree=$work/$package-$version
deb=${package}_${version}_${arch}.deb
copy=$(mktemp -d "$out/.package-XXXXXX")
trap 'rm -rf "$copy"' EXIT
if git -C "$src" rev-parse -q --verify HEAD >/dev/null 2>&1; then
    (cd "$src" && git ls-files -z --cached --others --exclude-standard \
        | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done \
        | tar --null -T - -cf -) | tar -xf - -C "$copy"
else
    (cd "$src" && tar --exclude='./build*' -cf - .) | tar -xf - -C "$copy"
fi
{
    echo "$package ($version) unstable; urgency=medium"
    echo
    printf '%s\n' "$subject" | fold -s -w 74 | sed -e 's/ *$//' -e '1s/^/  * /' -e '2,$s/^/    /'
    echo
    echo " -- $maintainer  $(LC_ALL=C date -u -R -d "@$epoch")"
} >"$copy/debian/changelog"

# The same sources give the same package: a tree packaged before is not built again.
stamp=$(cd "$copy" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum | sha256sum | cut -d' ' -f1)
if [ -f "$out/$deb" ] && [ "$(cat "$work/sources.sha256" 2>/dev/null)" = "$stamp" ]; then
    echo "$out/$deb"
    exit 0
fi
rm -rf "$work"
mkdir -p "$work"
mv "$copy" "$tree"
if ! (cd "$tree" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" \
        dpkg-buildpackage -b -us -uc --no-sign) >"$work/build.log" 2>&1; then
    tail -40 "$work/build.log" >&2
    echo "build-package.sh: dpkg-buildpackage failed; the whole log is $work/build.log" >&2
    exit 1
fi
cp "$work/$deb" "$out/$deb"
echo "$stamp" >"$work/sources.sha256"
echo "$out/$deb"
