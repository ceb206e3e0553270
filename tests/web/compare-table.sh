#!/usr/bin/env bash
# The figures table of the desktop build (NATIVE) and of the WebAssembly one under node must be
# the same text. The WebAssembly build is brought up to date first, where make web has made
# it; without it the test is skipped (77). The engine values' own bits may differ where
# binary128 rounds otherwise than x87: how many, and how far, is printed.
# Usage: compare-table.sh NATIVE BUILD_DIR
set -uo pipefail
native=$1 build=$2
web=$(dirname "$0")/../../scripts/web.sh
bash "$web" built "$build" || { echo "no WebAssembly build in $build/web (make web makes it): skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$web" build "$build" >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
"$native" >"$work/desktop.txt" && bash "$web" node "$build" figures_table.js >"$work/wasm.txt" || exit 1
if ! cmp -s "$work/desktop.txt" "$work/wasm.txt"; then
    echo "the WebAssembly build shows other figures or lines than the desktop's:"
    diff "$work/desktop.txt" "$work/wasm.txt" | head -40
    exit 1
fi
echo "figures and chart lines alike: $(grep -c passes "$work/desktop.txt") states, $(wc -l <"$work/desktop.txt") lines"
"$native" --bits >"$work/desktop.bits" && bash "$web" node "$build" figures_table.js --bits >"$work/wasm.bits" \
    && paste -d' ' "$work/desktop.bits" "$work/wasm.bits" | "$native" --ulps
