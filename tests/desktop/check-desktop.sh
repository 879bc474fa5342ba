#!/bin/sh
# Checks the desktop integration files in DESKTOP_DIR (the source tree's desktop/).
#   check-desktop.sh entry DESKTOP_DIR            the menu entry passes desktop-file-validate, silently
#   check-desktop.sh metainfo DESKTOP_DIR WORKDIR the metainfo passes appstreamcli, alone and installed
#   check-desktop.sh icons DESKTOP_DIR WORKDIR    every PNG has its size and is what its drawing renders to
#   check-desktop.sh unit DESKTOP_DIR WORKDIR BINDIR  the watcher's service template, with BINDIR filled in,
#                                                 passes systemd-analyze verify, silently (exit 77: cannot run here)
set -eu
need() {
    for t in "$@"; do
        command -v "$t" >/dev/null || { echo "'$t' is missing: run scripts/install-deps.sh" >&2; exit 1; }
    done
}
ID=com.velmora.PictariumUploader
NAME=pictarium-uploader
dir=$2

case $1 in
entry)
    need desktop-file-validate
    # Hints count too: they come on stdout with exit status 0.
    if ! out=$(desktop-file-validate "$dir/$ID.desktop" 2>&1) || [ -n "$out" ]; then
        echo "$out"
        exit 1
    fi
    ;;
metainfo)
    need appstreamcli
    appstreamcli validate --no-net --strict "$dir/$ID.metainfo.xml"
    # Laid out as installed, so the launchable has to name a desktop file that is there.
    tree=$3/tree
    rm -rf "$tree"
    mkdir -p "$tree/usr/share/metainfo" "$tree/usr/share/applications"
    cp "$dir/$ID.metainfo.xml" "$tree/usr/share/metainfo/"
    cp "$dir"/*.desktop "$tree/usr/share/applications/"
    appstreamcli validate-tree --no-net --strict "$tree"
    ;;
icons)
    need identify compare rsvg-convert
    icons=$dir/icons
    fail=0
    # The icon every entry names is drawn.
    missing=$(sed -n 's/^Icon=//p' "$dir"/*.desktop | while read -r icon; do
        [ -f "$icons/hicolor/scalable/apps/$icon.svg" ] || echo "no scalable icon '$icon'"
    done)
    [ -z "$missing" ] || { echo "$missing" >&2; fail=1; }
    for n in 16 22 24 32 48 64 128 256; do
        png=$icons/hicolor/${n}x$n/apps/$NAME.png
        src=$icons/hicolor/scalable/apps/$NAME.svg
        [ -f "$icons/src/$NAME-$n.svg" ] && src=$icons/src/$NAME-$n.svg
        size=$(identify -format '%wx%h' "$png") || { fail=1; continue; }
        [ "$size" = "${n}x$n" ] || { echo "$png is $size, not ${n}x$n" >&2; fail=1; continue; }
        # A drawing changed without rerunning make-icons.sh leaves its PNG behind.
        rsvg-convert -w "$n" -h "$n" -f png -o "$3/render.png" "$src" || { fail=1; continue; }
        pixels=$(compare -metric AE -fuzz 3% "$png" "$3/render.png" null: 2>&1) || true
        [ "$pixels" = 0 ] || { echo "$png differs from $src in $pixels pixels: run desktop/icons/make-icons.sh" >&2; fail=1; }
    done
    exit $fail
    ;;
unit)
    need systemd-analyze
    units=$3/units
    rm -rf "$units"
    mkdir -p "$units"
    # The verifier itself has to work here: a unit that cannot be wrong.
    printf '[Service]\nExecStart=/bin/true\n' > "$units/probe.service"
    if ! systemd-analyze verify --man=no "$units/probe.service" >/dev/null 2>&1; then
        echo "systemd-analyze verify cannot run here: check skipped"
        exit 77
    fi
    # The template as installed, and an instance of an awkward profile name.
    for name in 'pictarium-watch@.service' 'pictarium-watch@Living\x20room-2.service'; do
        sed "s|@PICTARIUM_BINDIR@|$4|g" "$dir/pictarium-watch@.service.in" > "$units/$name"
        if ! out=$(systemd-analyze verify --man=no "$units/$name" 2>&1) || [ -n "$out" ]; then
            echo "$name: $out"
            exit 1
        fi
    done
    ;;
*)
    echo "usage: check-desktop.sh entry|metainfo|icons|unit DESKTOP_DIR [WORKDIR]" >&2
    exit 2
    ;;
esac
