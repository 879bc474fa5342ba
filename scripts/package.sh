#!/usr/bin/env bash
# Builds the Debian package of the program into ./build (or $BUILD_DIR) and prints its path.
# Install it with: sudo apt install ./build/pictarium-uploader_*.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh" dpkg-dev
BUILD_DIR="$build" "$root/scripts/build.sh"
cd "$build"
cpack -G DEB >/dev/null
ls -1 "$build"/pictarium-uploader_*.deb
