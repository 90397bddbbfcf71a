#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite headless: first the
# normal build, then the same suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short run of every fuzz target. Exits non-zero
# when anything fails.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
jobs=$(nproc)

scripts/ensure-packages.sh test

# Headless and quiet: sound goes to SDL's dummy device unless a test asks for
# another driver; graphics tests pick the offscreen driver or the X server below.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export LIBGL_ALWAYS_SOFTWARE=1

# Tests are switched on in every build folder whatever an earlier configure left
# there (./run.sh configures build/ without them), and a stage that finds no test
# fails instead of passing empty.
build_and_test() {
  local dir=$1; shift
  echo "== configure and build $dir"
  cmake -S . -B "$dir" -DTAVRICK_TESTS=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "== run the suite in $dir"
  xvfb-run -a -s '-screen 0 1024x768x24 -noreset' \
    ctest --test-dir "$dir" --output-on-failure --no-tests=error -j"$jobs" --timeout 300
}

build_and_test build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRICK_BENCH=ON

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVRICK_SANITIZE=ON -DTAVRICK_BENCH=OFF

# Every fuzz target built with clang and run a few seconds from its seeds, so that
# the targets keep building and the readers keep refusing bad input cleanly.
echo "== fuzz targets, briefly"
FUZZ_JOBS=${FUZZ_JOBS:-$jobs} scripts/fuzz.sh 5

# The same suite cross-built for Windows and run under Wine on a virtual display,
# the Windows game played through its window among it (scripts/windows/test-stage.sh).
scripts/windows/test-stage.sh

echo "All suites passed."
