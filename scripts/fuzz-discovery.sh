#!/usr/bin/env bash
# Fuzzes the discovery decoder for SECONDS (default 600) with libFuzzer, ASan and UBSan.
# Installs clang if missing, builds the Qt-free discovery library into ./build-fuzz (or $FUZZ_BUILD_DIR)
# and starts from the valid datagrams in tests/findhost/fuzz-seeds. Crashing inputs land in the build folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
missing=()
for p in cmake ninja-build clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""; if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPICTARIUM_FINDHOST_ONLY=ON -DPICTARIUM_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz_packetread
corpus="$build/fuzz-corpus"
mkdir -p "$corpus" "$build/fuzz-artifacts"
cp -n "$root"/tests/findhost/fuzz-seeds/*.bin "$corpus"/
cd "$build"
./tests/findhost/fuzz_packetread -max_total_time="$seconds" -max_len=9000 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz-artifacts/" "$corpus"
