#!/usr/bin/env bash
# The demo: installs what is missing, builds, starts the reference server (HTTPS, 127.0.0.1),
# adds an upload profile with pictarium-cli, uploads a folder of sample photos and a video,
# shows what the server stored, and uploads the folder again to show nothing is sent twice.
# Everything lives in a temporary folder; your own profiles are never touched.
#   --gui   upload with the upload wizard (needs DISPLAY) instead of the terminal front end
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

gui=0
for arg in "$@"; do
    case "$arg" in
        --gui) gui=1 ;;
        -h|--help) sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) echo "run.sh: unknown argument: $arg (try --help)" >&2; exit 2 ;;
    esac
done
if [ "$gui" = 1 ] && [ -z "${DISPLAY:-}" ]; then
    echo "run.sh: --gui needs a display (DISPLAY is not set)" >&2
    exit 2
fi

heading() { printf '\n== %s\n' "$*"; }

heading "Installing the Debian packages that are missing"
"$root/scripts/install-deps.sh"

heading "Building (into $build)"
BUILD_DIR="$build" "$root/scripts/build.sh"

cli="$build/src/cli/pictarium-cli"
server_bin="$build/tools/refserver/pictarium-refserver"
uploader="$build/src/pictarium-uploader"
for program in "$cli" "$server_bin" "$uploader"; do
    if [ ! -x "$program" ]; then
        echo "run.sh: the build did not produce $program" >&2
        exit 1
    fi
done

demo="$(mktemp -d "${TMPDIR:-/tmp}/pictarium-demo.XXXXXX")"
server_pid=""
finish() {
    local status=$?
    if [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null; then
        kill -TERM "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$demo"
    if [ "$status" -ne 0 ]; then echo "run.sh: the demo stopped with status $status" >&2; fi
    exit "$status"
}
trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

mkdir -p "$demo/data" "$demo/config" "$demo/tmp" "$demo/run" "$demo/server/photo/Trips" "$demo/media"
chmod 700 "$demo/run"
# A private home for the program: profiles, upload history and settings go here.
export XDG_DATA_HOME="$demo/data" XDG_CONFIG_HOME="$demo/config" TMPDIR="$demo/tmp" XDG_RUNTIME_DIR="$demo/run"
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen
unset PICTARIUM_PASSWORD

heading "Starting the reference server (a stand-in for Pictarium on a Kestrabox) on 127.0.0.1 over HTTPS"
cat >"$demo/accounts.json" <<'EOF'
{"accounts":[{"name":"demo","password":"demo-pass"}]}
EOF
"$server_bin" --root "$demo/server" --https --accounts "$demo/accounts.json" --journal "$demo/journal.jsonl" \
    >"$demo/server.out" 2>"$demo/server.err" &
server_pid=$!
base_url=""
for _ in $(seq 1 300); do
    base_url="$(grep -m1 -E '^https?://' "$demo/server.out" 2>/dev/null || true)"
    [ -n "$base_url" ] && break
    if ! kill -0 "$server_pid" 2>/dev/null; then
        echo "run.sh: the reference server did not start:" >&2
        cat "$demo/server.err" >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$base_url" ]; then
    echo "run.sh: the reference server printed no address" >&2
    exit 1
fi
port="${base_url##*:}"
echo "Server address: $base_url   (account: demo, password: demo-pass; album 'Trips' exists)"

heading "Making sample media in $demo/media/Holiday"
holiday="$demo/media/Holiday"
mkdir -p "$holiday/raw"
# Photos with ImageMagick; their capture time goes into an EXIF block written by perl.
convert -size 300x200 plasma:fractal -resize 1200x800\! -quality 88 "jpg:$holiday/beach.jpg"
convert -size 300x200 gradient:orange-purple -resize 1200x800\! -quality 88 "jpg:$holiday/sunset.jpg"
perl - "$holiday/beach.jpg" "2023:07:14 10:15:00" "$holiday/sunset.jpg" "2023:07:14 20:41:30" <<'PERL'
# Puts an EXIF block with DateTimeOriginal into each JPEG, after its JFIF block.
use strict; use warnings;
while (my ($file, $when) = splice(@ARGV, 0, 2)) {
    open(my $in, '<:raw', $file) or die "$file: $!";
    my $jpeg = do { local $/; <$in> }; close $in;
    substr($jpeg, 0, 2) eq "\xFF\xD8" or die "$file is not a JPEG\n";
    my $text = "$when\0";
    my $exif_ifd = 8 + 18;                      # after the header and IFD0
    my $data = $exif_ifd + 18;                  # after the EXIF IFD
    my $tiff = "II" . pack('vV', 42, 8)
             . pack('v', 1) . pack('vvVV', 0x8769, 4, 1, $exif_ifd) . pack('V', 0)
             . pack('v', 1) . pack('vvVV', 0x9003, 2, length($text), $data) . pack('V', 0)
             . $text;
    my $app1 = "Exif\0\0" . $tiff;
    my $pos = 2;
    $pos = 4 + unpack('n', substr($jpeg, 4, 2)) if substr($jpeg, 2, 2) eq "\xFF\xE0";
    substr($jpeg, $pos, 0) = "\xFF\xE1" . pack('n', length($app1) + 2) . $app1;
    open(my $out, '>:raw', $file) or die "$file: $!";
    print $out $jpeg; close $out or die "$file: $!";
}
PERL
# A RAW photo: a small DNG (16-bit CFA data and a JPEG preview), written by perl.
convert -size 404x270 plasma:fractal -resize 1616x1080\! -interlace none -sampling-factor 2x2 "jpg:$demo/preview.jpg"
perl - "$holiday/raw/DSC_0042.dng" 1200 800 "$demo/preview.jpg" <<'PERL'
use strict; use warnings;
my ($file, $w, $h, $preview_file) = @ARGV;
open(my $p, '<:raw', $preview_file) or die "$preview_file: $!";
my $jpeg = do { local $/; <$p> }; close $p;
$jpeg .= "\0" if length($jpeg) % 2;
my ($pw, $ph) = (1616, 1080);
# An IFD: [tag, type, count, packed little-endian value]; sorted, long values after the entries.
sub ifd_size { my @e = @{$_[0]}; my $s = 2 + 12 * @e + 4;
    for (@e) { my $l = length($_->[3]); $s += $l + ($l % 2) if $l > 4 } $s }
sub ifd_bytes { my ($entries, $offset, $next) = @_;
    my @e = sort { $a->[0] <=> $b->[0] } @$entries;
    my ($dir, $data) = (pack('v', scalar @e), '');
    my $data_at = $offset + 2 + 12 * @e + 4;
    for (@e) { my ($tag, $type, $count, $value) = @$_;
        $dir .= pack('vvV', $tag, $type, $count);
        if (length($value) <= 4) { $dir .= $value . ("\0" x (4 - length($value))) }
        else { $dir .= pack('V', $data_at + length($data)); $data .= $value; $data .= "\0" if length($data) % 2 } }
    return $dir . pack('V', $next) . $data }
sub long { [$_[0], 4, 1, pack('V', $_[1])] }
sub shorts { my $t = shift; [$t, 3, scalar @_, pack('v*', @_)] }
sub bytes { my $t = shift; [$t, 1, scalar @_, pack('C*', @_)] }
sub ascii { [$_[0], 2, length($_[1]) + 1, $_[1] . "\0"] }
sub rationals { my ($t, $type, $den, @num) = @_; [$t, $type, scalar @num, join('', map { pack('VV', $_ & 0xFFFFFFFF, $den) } @num)] }
# CFA samples (R G / G B): smooth gradients with soft blocks.
my $raw = '';
for my $y (0 .. $h - 1) {
    my @row;
    for my $x (0 .. $w - 1) {
        my $cell = ($y & 1) * 2 + ($x & 1);
        my $scale = $cell == 0 ? 0.7 + 0.5 * $y / $h : ($cell == 3 ? 1.2 - 0.5 * $x / $w : 1.0);
        my $v = int((2500 + 30000 * $x / $w + 15000 * $y / $h) * $scale);
        $v += 4000 if (int($x / 96) + int($y / 96)) & 1;
        push @row, $v > 65535 ? 65535 : $v;
    }
    $raw .= pack('v*', @row);
}
my @raw_ifd = (long(254, 0), long(256, $w), long(257, $h), shorts(258, 16), shorts(259, 1), shorts(262, 32803),
    ascii(271, "Velmora"), ascii(272, "Demo Camera"), long(273, 0), shorts(277, 1), long(278, $h),
    long(279, length $raw), shorts(284, 1), shorts(33421, 2, 2), bytes(33422, 0, 1, 1, 2), bytes(50706, 1, 4, 0, 0),
    ascii(50708, "Velmora Demo Camera"),
    rationals(50721, 10, 10000, 7000, -1800, -600, -4200, 12000, 2000, -800, 1600, 6200),
    shorts(50778, 21), rationals(50728, 5, 1, 1, 1, 1));
my @preview_ifd = (long(254, 1), long(256, $pw), long(257, $ph), shorts(258, 8, 8, 8), shorts(259, 7),
    shorts(262, 6), long(273, 0), shorts(277, 3), long(278, $ph), long(279, length $jpeg), shorts(284, 1));
my $preview_at = 8 + ifd_size(\@raw_ifd);
my $raw_at = $preview_at + ifd_size(\@preview_ifd);
$raw_ifd[8] = long(273, $raw_at);
$preview_ifd[6] = long(273, $raw_at + length $raw);
my $out = "II*\0" . pack('V', 8) . ifd_bytes(\@raw_ifd, 8, $preview_at) . ifd_bytes(\@preview_ifd, $preview_at, 0);
length($out) == $raw_at or die "DNG layout error\n";
open(my $f, '>:raw', $file) or die "$file: $!";
print $f $out, $raw, $jpeg; close $f or die "$file: $!";
PERL
rm -f "$demo/preview.jpg"
# A two-second video without a creation date: its file time names it on the server.
ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=320x240:rate=25:duration=2 \
    -f lavfi -i sine=frequency=440:duration=2 -c:v libx264 -c:a aac -shortest "$holiday/waves.mp4"
touch -d "2023-07-15 09:30:00" "$holiday/waves.mp4"
# As a phone makes them: a HEIC photo (the sunset's EXIF carried over by libvips), and a portrait
# clip stored landscape with a turn in its display matrix and its creation date inside.
vips copy "$holiday/sunset.jpg" "$holiday/dusk.heic[Q=60]"
ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc2=size=320x180:rate=25:duration=2 \
    -f lavfi -i sine=frequency=660:duration=2 -c:v libx264 -c:a aac -shortest "$demo/portrait.mp4"
ffmpeg -nostdin -loglevel error -y -i "$demo/portrait.mp4" -c copy -metadata:s:v:0 rotate=90 \
    -metadata creation_time=2023-07-15T16:05:00Z "$holiday/portrait.mp4"
rm -f "$demo/portrait.mp4"
echo "Packing list: towels, sun cream." >"$holiday/notes.txt"
(cd "$demo/media" && find Holiday -type f -printf '  %p  (%s bytes)\n' | sort)
echo "(beach.jpg, sunset.jpg and dusk.heic carry a capture time, portrait.mp4 a creation date, waves.mp4 only"
echo " its file time; notes.txt is not a photo or video and stays at home)"

heading "Adding the upload profile 'Demo' (password checked by a test login, then remembered)"
PICTARIUM_PASSWORD=demo-pass "$cli" add-profile --name Demo --host 127.0.0.1 --port "$port" --https \
    --account demo --remember-password
echo "Profiles now:"
"$cli" profiles
echo "Albums you may upload to:"
"$cli" albums --profile Demo

uploads_sent() { grep -c 'rada_file_upload.php' "$demo/journal.jsonl" || true; }

if [ "$gui" = 1 ]; then
    heading "Uploading the folder with the upload wizard (choose the album, then Next; Close when done)"
    "$uploader" 4 "$holiday"
else
    heading "Uploading the folder to the album /photo/Trips (thumbnails and video copies are made here first)"
    "$cli" upload --profile Demo --album /photo/Trips "$holiday"
fi
first="$(uploads_sent)"
echo "(the counts include the folders Holiday and raw, which are made on the server too)"
echo "Upload requests the server received: $first"

heading "What the server stored (photo/, with the renditions in .renditions/)"
(cd "$demo/server/photo" && find . -mindepth 1 \( -type d -printf '  %P/\n' \) -o \( -type f -printf '  %P  (%s bytes)\n' \) | sort)

heading "Uploading the same folder again: everything is already there, nothing is sent twice"
if [ "$gui" = 1 ]; then
    # The wizard sent the files without their folder; so does this run.
    "$cli" upload --profile Demo --flatten "$holiday"
else
    "$cli" upload --profile Demo --album /photo/Trips "$holiday"
fi
second="$(uploads_sent)"
echo "Upload requests the server received this time: $((second - first))"
if [ "$second" -ne "$first" ]; then
    echo "run.sh: the second upload sent files again" >&2
    exit 1
fi

heading "Stopping the server"
kill -TERM "$server_pid"
wait "$server_pid" || true
server_pid=""
echo "Done."
