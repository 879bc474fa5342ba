#!/usr/bin/env bash
# Builds the program and saves a picture of each page and dialog, drawn on an Xvfb display,
# in one language (a code such as deu or jpn) or in all twenty ("all", the default), into
# OUTDIR/<code>/ (default build/screenshots). SCALE=2 draws them at double scale, as on a
# high-density screen, into OUTDIR/<code>@2x/. Nothing leaves 127.0.0.1.
#   [SCALE=2] ./scripts/screenshots.sh [LANG|all] [OUTDIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
lang="${1:-all}"
out="${2:-$build/screenshots}"
# Fonts with Chinese, Japanese and Korean glyphs for those catalogues.
"$root/scripts/install-deps.sh" xvfb xauth fonts-noto-cjk qt6-translations-l10n
BUILD_DIR="$build" "$root/scripts/build.sh"
codes=(enu cht chs jpn deu krn fra ita esn ptb ptg rus dan nor sve nld plk hun trk csy)
[ "$lang" = all ] || codes=("$lang")
scale="${SCALE:-1}"
suffix=""; [ "$scale" = 1 ] || suffix="@${scale}x"
for code in "${codes[@]}"; do
    mkdir -p "$out/$code$suffix"
    xvfb-run -a -s "-screen 0 $((1024 * scale))x$((768 * scale))x24" env QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" \
        "$build/tools/pageshots/pictarium-pageshots" "$out/$code$suffix" "$code" | grep -v '^saved' || true
done
echo "pictures in $out"
