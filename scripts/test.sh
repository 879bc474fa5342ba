#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
#   --sanitize  the same suite built with clang, AddressSanitizer and UndefinedBehaviorSanitizer
#               (./build-sanitize, the fuzz targets built too); the first report a sanitizer
#               makes, a leak at exit included, fails its test. Tests labelled "measures" (time
#               and memory figures that the sanitizers' own cost distorts) are left out.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ "${1:-}" = "--sanitize" ]; then
    "$root/scripts/install-deps.sh" clang libclang-rt-14-dev
    "$root/scripts/build.sh" --sanitize
    cd "${SANITIZE_BUILD_DIR:-$root/build-sanitize}"
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
    export LSAN_OPTIONS="suppressions=$root/tests/sanitize/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure --timeout 900 -LE measures
    exit
fi
build="${BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
BUILD_DIR="$build" "$root/scripts/build.sh"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure --timeout 600
