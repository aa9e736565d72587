#!/usr/bin/env bash
# Sets everything up, then builds and runs the whole test suite twice: a normal build and a build
# with AddressSanitizer + UndefinedBehaviorSanitizer, then each fuzz target for a minute. Any
# failure, sanitizer report or fuzzer finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
export QUILLARY_REQUIRE_FFMPEG=1
scripts/setup.sh dev asan
scripts/check-format.sh
ctest --preset dev -j2
ctest --preset asan -j2
scripts/fuzz.sh 60
