#!/usr/bin/env bash
# Builds the program and saves a picture of each upload wizard page and dialog, drawn on an
# Xvfb display, into the folder given (default: build/screenshots). Nothing leaves 127.0.0.1.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$build/screenshots}"
"$root/scripts/install-deps.sh" xvfb xauth
BUILD_DIR="$build" "$root/scripts/build.sh"
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb "$build/tools/pageshots/pictarium-pageshots" "$out"
xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb "$build/tools/pageshots/pictarium-pageshots" "$out/deu" deu
echo "pictures in $out"
