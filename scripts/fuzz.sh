#!/usr/bin/env bash
# Fuzzes one target, or all of them in turn, for SECONDS each (default 600) with libFuzzer.
#   scripts/fuzz.sh [--keep-going] TARGET|all [SECONDS]      scripts/fuzz.sh --list
# --keep-going fuzzes in a child process that is restarted after each finding, so that one run
# collects every crashing input instead of stopping at the first.
# Builds the sanitizer build (./build-sanitize, or $SANITIZE_BUILD_DIR) first. Each target starts
# from its seeds and from its corpus of earlier runs (build-sanitize/fuzz-corpus/TARGET); a
# crashing input is kept in build-sanitize/fuzz-artifacts/TARGET/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${SANITIZE_BUILD_DIR:-$root/build-sanitize}"
targets=(packetread serverreply uploadinit albumlist handover cameralists thunar videoprobe capturetime)
if [ $# -lt 1 ] || [ "$1" = "--list" ]; then
    echo "fuzz targets: ${targets[*]}"
    [ $# -ge 1 ] && exit 0 || exit 2
fi
keep=()
if [ "$1" = "--keep-going" ]; then
    keep=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
    shift
fi
which="${1:-}"
seconds="${2:-600}"
if [ "$which" = all ]; then
    chosen=("${targets[@]}")
elif [[ " ${targets[*]} " == *" $which "* ]]; then
    chosen=("$which")
else
    echo "unknown fuzz target: $which (have: ${targets[*]})" >&2
    exit 2
fi
"$root/scripts/install-deps.sh" clang libclang-rt-14-dev >/dev/null
# Fuzzers started side by side build one after the other.
mkdir -p "$build"
flock "$build/.fuzz-build.lock" "$root/scripts/build.sh" --sanitize >/dev/null
# Input files go to memory where it can.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
# Leaks are the suite's to find: the targets keep Qt's application object and files for the run.
export ASAN_OPTIONS="detect_leaks=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
for target in "${chosen[@]}"; do
    corpus="$build/fuzz-corpus/$target"
    artifacts="$build/fuzz-artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    seeds=()
    [ -d "$root/tests/fuzz/seeds/$target" ] && seeds+=("$root/tests/fuzz/seeds/$target")
    [ "$target" = packetread ] && seeds+=("$root/tests/findhost/fuzz-seeds")
    [ "$target" = videoprobe ] && seeds+=("$root/tests/data/ffmpeg-banners")
    maxlen=16384
    [ "$target" = packetread ] && maxlen=9000
    echo "== fuzz_$target for ${seconds}s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$maxlen" -timeout=10 -print_final_stats=1 "${keep[@]}" \
        -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}"
done
