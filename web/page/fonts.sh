#!/bin/sh
# fonts.sh WOFF2_COMPRESS OUT.css "Family|face.ttf"...: each face compressed to WOFF2 and written
# into OUT.css as an @font-face with the font inlined.
set -eu
compress=$1 out=$2
shift 2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
: >"$out.part"
for face in "$@"; do
    family=${face%%|*} ttf=${face#*|}
    cp "$ttf" "$tmp/face.ttf"
    "$compress" "$tmp/face.ttf" >/dev/null
    printf '@font-face { font-family: "%s"; font-weight: normal; font-style: normal; src: url("data:font/woff2;base64,%s") format("woff2"); }\n' \
        "$family" "$(base64 -w0 "$tmp/face.woff2")" >>"$out.part"
done
mv "$out.part" "$out"
