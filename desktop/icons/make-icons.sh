#!/usr/bin/env bash
# Renders the PNG icons under hicolor/ from the SVG drawings; run by hand, the PNGs are kept.
# 16, 22 and 24 px come from the pixel-grid drawings in src/, the rest from the scalable icon.
# Needs: rsvg-convert (librsvg2-bin), ImageMagick "convert".
set -euo pipefail
export LC_ALL=C.UTF-8

DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
NAME=pictarium-uploader
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

for tool in rsvg-convert convert; do
    command -v "$tool" >/dev/null || { echo "make-icons.sh: '$tool' is missing" >&2; exit 1; }
done

# No time stamps or comments, so the same run gives the same bytes.
STRIP=(-strip -define 'png:exclude-chunk=date,time,tEXt,zTXt,iTXt')

for size in 16 22 24 32 48 64 128 256; do
    src="$DIR/hicolor/scalable/apps/$NAME.svg"
    [ -f "$DIR/src/$NAME-$size.svg" ] && src="$DIR/src/$NAME-$size.svg"
    out="$DIR/hicolor/${size}x${size}/apps/$NAME.png"
    mkdir -p "$(dirname "$out")"
    rsvg-convert -w "$size" -h "$size" -f png -o "$TMP/icon.png" "$src"
    convert "$TMP/icon.png" "${STRIP[@]}" "PNG32:$out"
done
