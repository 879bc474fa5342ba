#!/usr/bin/env bash
# Draws the file manager's context menu with the program's entries, as a person sees it after
# installing: the build is installed into a temporary prefix, two profiles are added with
# pictarium-cli (no server is asked), and Thunar is opened on an Xvfb display with the menu of
# a photo and its "Upload to Pictarium" submenu open. Saves the picture to $1
# (default docs/thunar-menu.png). Nothing leaves the machine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="$(realpath -m "${1:-$root/docs/thunar-menu.png}")"
"$root/scripts/install-deps.sh" xvfb xauth thunar xdotool
BUILD_DIR="$build" "$root/scripts/build.sh"

tmp="$(mktemp -d)"
chmod 755 "$tmp"
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
mkdir -p "$tmp/home/Pictures" "$tmp/cfg" "$tmp/data" "$tmp/cache" "$tmp/run"
for n in 1 2 3; do
    convert -size 640x480 "plasma:fractal" -seed "$n" "$tmp/home/Pictures/IMG_000$n.JPG"
done

# Thunar refuses nothing as root but shows a warning bar: run it as nobody when root.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
env_user=(env -i PATH=/usr/bin:/bin HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/cfg" XDG_DATA_HOME="$tmp/data"
          XDG_CACHE_HOME="$tmp/cache" XDG_RUNTIME_DIR="$tmp/run" XDG_DATA_DIRS="$tmp/prefix/share:/usr/share"
          LANG=C.UTF-8)
chmod -R a+rwX "$tmp"
chmod 700 "$tmp/run"
[ "$(id -u)" -eq 0 ] && chown -R 65534 "$tmp/run" "$tmp/home" "$tmp/cfg" "$tmp/data" "$tmp/cache"

for profile in "Home server" "Family NAS"; do
    "${as_user[@]}" "${env_user[@]}" "$tmp/prefix/bin/pictarium-cli" add-profile --name "$profile" \
        --host 127.0.0.1 --port 5000 --account ann >/dev/null
done

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -ac -screen 0 880x530x24 >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
"${as_user[@]}" "${env_user[@]}" DISPLAY="$display" dbus-run-session -- bash -c '
    thunar "$0/home/Pictures" >/dev/null 2>&1 &
    for i in $(seq 50); do
        win=$(xdotool search --onlyvisible --class Thunar 2>/dev/null | head -1) && [ -n "$win" ] && break
        sleep 0.2
    done
    sleep 2
    xdotool windowsize "$win" 880 530 windowmove "$win" 0 0
    sleep 1
    xdotool mousemove 334 150 click 1
    sleep 0.5
    xdotool click 3
    sleep 1
    # The submenu opens under the pointer on its entry.
    xdotool mousemove 430 423
    sleep 1.5
    import -window root "$0/shot.png"
    kill %1
' "$tmp" 2>/dev/null
mkdir -p "$(dirname "$out")"
convert "$tmp/shot.png" -strip "$out"
echo "saved $out"
