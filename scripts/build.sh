#!/usr/bin/env bash
# Configures and builds into ./build (or $BUILD_DIR).
#   --sanitize  clang with AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzz targets,
#               into ./build-sanitize (or $SANITIZE_BUILD_DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ "${1:-}" = "--sanitize" ]; then
    build="${SANITIZE_BUILD_DIR:-$root/build-sanitize}"
    # -O1 keeps the reports' stacks exact; line tables are all a report needs to name lines.
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" -DPICTARIUM_FUZZ=ON >/dev/null
else
    build="${BUILD_DIR:-$root/build}"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
