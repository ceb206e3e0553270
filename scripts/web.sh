#!/usr/bin/env bash
# The GUI-free C++ (core and chart) compiled to WebAssembly with Debian's emscripten, and
# Debian's node to run what it builds.
#   web.sh build BUILD_DIR          configures and builds BUILD_DIR/web
#   web.sh node BUILD_DIR ARGS...   runs node with ARGS beside that build
#   web.sh built BUILD_DIR          succeeds where BUILD_DIR/web has been built
# Debian 13 has emscripten 3.1.69 and node, and they are used as installed (install-deps.sh
# web). Debian 12's emscripten (3.1.6) is too old, so there both run in a Debian 13 root kept
# in BUILD_DIR/web-root, made once by scripts/fresh-root.sh (as root; it takes a minute or two
# and about 1.5 GB) and entered with the source tree at its own path.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
. "$src/scripts/fresh-root.sh"

action=${1:-}
[ "$action" = build ] && mkdir -p "${2:?usage: web.sh build|node|built BUILD_DIR [ARGS...]}"
build=$(cd "${2:?usage: web.sh build|node|built BUILD_DIR [ARGS...]}" 2>/dev/null && pwd) || build=$2
shift 2
web=$build/web
root=$build/web-root

# Debian 12 (and only it) takes the kept root.
in_root() {
    [ "$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")" = bookworm ]
}

# Runs a command with the toolchain: on the host, or in the kept root with the source tree
# (which holds the build directory) mounted at its own path.
with_toolchain() {
    if in_root; then
        fresh_root_enter "$root" "$src" "$@"
    else
        "$@"
    fi
}

case "$action" in
  build)
    bash "$src/scripts/install-deps.sh" web
    if in_root; then
        echo "web: emscripten and node from a Debian 13 root in $root (made once; log in $root.log)"
        fresh_root_kept trixie "$root" "$root.log" --include=emscripten,nodejs,cmake,make,woff2,fonts-liberation,fonts-liberation-sans-narrow
    fi
    mkdir -p "$web"
    # Release: -O3 without the debug information; the emscripten toolchain file also
    # makes CMAKE_CROSSCOMPILING true, which leaves the desktop's own parts out.
    with_toolchain sh -c 'cd "$1" && { [ -f CMakeCache.txt ] || emcmake cmake -S "$2" -B . \
        -DCMAKE_BUILD_TYPE=Release -DLAB_BUILD_UI=OFF -DLAB_BUILD_TESTS=OFF -DLAB_BUILD_BENCH=OFF \
        >configure.log 2>&1 || { cat configure.log; exit 1; }; } && cmake --build . -j "$3"' \
        sh "$web" "$src" "${JOBS:-2}"
    # The page as one archive for any static web server or a course page. Its files carry the
    # commit's time, so that one commit gives the same bytes.
    version=1.0.$(git -C "$src" rev-list --count HEAD 2>/dev/null || echo 0)
    stamp=$(git -C "$src" log -1 --format=%ct 2>/dev/null || date +%s)
    archive=$build/optimal-filtering-web-$version.zip
    staging=$web/archive
    rm -rf "$staging" "$build"/optimal-filtering-web-*.zip
    mkdir -p "$staging"
    cp "$web"/page/index.html "$web"/page/page.css "$web"/page/page.js "$web"/page/fonts.css "$web"/page/lab.js "$staging"
    touch -d "@$stamp" "$staging"/*
    (cd "$staging" && TZ=UTC zip -q -X -D "$archive" index.html page.css page.js fonts.css lab.js)
    echo "web: the page is $web/page/index.html, and the archive $archive"
    ;;
  node)
    with_toolchain sh -c 'cd "$1" && shift && exec node "$@"' sh "$web" "$@"
    ;;
  built)
    [ -f "$web/CMakeCache.txt" ] && { ! in_root || [ -f "$root.stamp" ]; }
    ;;
  *)
    echo "usage: web.sh build|node|built BUILD_DIR [ARGS...]" >&2
    exit 2
    ;;
esac
