#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program's start-up once in a private data
# folder: run mode 12 creates the data folder, the database and the shortcut list, and ends.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
BUILD_DIR="$build" "$root/scripts/build.sh"

demo="$(mktemp -d "${TMPDIR:-/tmp}/pictarium-demo.XXXXXX")"
mkdir -p "$demo/data" "$demo/config" "$demo/tmp" "$demo/run"
chmod 700 "$demo/run"
export XDG_DATA_HOME="$demo/data" XDG_CONFIG_HOME="$demo/config" TMPDIR="$demo/tmp" XDG_RUNTIME_DIR="$demo/run"
export PICTARIUM_UNATTENDED=1
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen

echo "== pictarium-uploader 12 (data folder: $XDG_DATA_HOME/Velmora/Pictarium Uploader)"
status=0
"$build/src/pictarium-uploader" 12 || status=$?
echo "== exit status: $status"
echo "== data folder:"
ls -l "$XDG_DATA_HOME/Velmora/Pictarium Uploader"
echo "== shortcut list (UTF-16 LE):"
iconv -f UTF-16LE -t UTF-8 "$XDG_DATA_HOME/Velmora/Pictarium Uploader/ShortCutList"
exit "$status"
