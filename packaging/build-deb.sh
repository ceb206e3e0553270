#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree with the distribution's own tools:
# the installed files, stripped as dh_strip does; the man pages and a changelog entry for this
# commit, compressed without time stamps; the control file from packaging/control, whose
# ${shlibs:Depends} dpkg-shlibdeps computes from the binary. The version is the project version
# and the number of commits, and every time stamp is the commit's (SOURCE_DATE_EPOCH), so one
# commit always gives the same bytes.
# Usage: build-deb.sh BUILD_DIR     prints the path of the .deb it made
set -euo pipefail

build=$(cd "${1:?build directory}" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)
package=optimal-filtering
base_version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
if git -C "$src" rev-parse -q --verify HEAD >/dev/null 2>&1; then
    count=$(git -C "$src" rev-list --count HEAD)
    : "${SOURCE_DATE_EPOCH:=$(git -C "$src" log -1 --format=%ct)}"
    subject=$(git -C "$src" log -1 --format=%s)
else
    count=0
    : "${SOURCE_DATE_EPOCH:=$(stat -c %Y "$src/packaging/control")}"
    subject="Built from a source tree without history."
fi
export SOURCE_DATE_EPOCH
version=$base_version.$count
arch=$(dpkg --print-architecture)
maintainer=$(sed -n 's/^Maintainer: //p' "$src/packaging/control")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/debian/$package
umask 022

DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
# The same sections dh_strip removes.
for f in "$stage"/usr/bin/*; do
    strip --remove-section=.comment --remove-section=.note --strip-unneeded "$f"
done

doc=$stage/usr/share/doc/$package
install -d "$work/debian" "$doc" "$stage/usr/share/man/man1" "$stage/usr/share/man/ru/man1"

{
    echo "$package ($version) unstable; urgency=medium"
    echo
    printf '%s\n' "$subject" | fold -s -w 74 | sed -e 's/ *$//' -e '1s/^/  * /' -e '2,$s/^/    /'
    echo
    echo " -- $maintainer  $(LC_ALL=C date -u -R -d "@$SOURCE_DATE_EPOCH")"
} >"$work/debian/changelog"
gzip -9n <"$work/debian/changelog" >"$doc/changelog.gz"
gzip -9n <"$src/packaging/$package.1" >"$stage/usr/share/man/man1/$package.1.gz"
gzip -9n <"$src/packaging/$package.ru.1" >"$stage/usr/share/man/ru/man1/$package.1.gz"
chmod 0644 "$doc/changelog.gz" "$stage"/usr/share/man/man1/*.gz "$stage"/usr/share/man/ru/man1/*.gz

# The control file: shared libraries from the binary, the rest named in packaging/control.
cp "$src/packaging/control" "$work/debian/control"
mkdir -p "$stage/DEBIAN"
(cd "$work" && dpkg-shlibdeps -Tdebian/substvars -edebian/$package/usr/bin/$package \
    && dpkg-gencontrol -p"$package" -P"$stage" -Tdebian/substvars -fdebian/files)
(cd "$stage" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum >DEBIAN/md5sums)
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

# Every file the commit's time, whenever and wherever it was checked out or built.
find "$stage" -print0 | xargs -0r touch -h -d "@$SOURCE_DATE_EPOCH"
deb=$build/${package}_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"
