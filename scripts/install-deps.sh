#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need; installs only
# what is missing. Pass extra package names as arguments.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools
          libqt6sql6-sqlite libexiv2-dev imagemagick dcraw ffmpeg fonts-liberation fonts-dejavu-core openssl iproute2
          desktop-file-utils gphoto2 libvips-dev libvips-tools libraw-dev libbrotli-dev libheif-dev libjxl-tools qtkeychain-qt6-dev libsecret-1-0
          gnome-keyring dbus libsecret-tools qt6-translations-l10n appstream librsvg2-bin systemd "$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all packages present"
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
