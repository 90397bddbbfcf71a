#!/usr/bin/env bash
# Installs what is missing, builds SplitVerse into build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh build
log=build/run-build.log
mkdir -p build
# Only the game and what it needs: the tests and benchmarks are for ./test.sh.
echo "Building SplitVerse (a few minutes the first time; the log is in $log)..."
if ! { cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRICK_TESTS=OFF -DTAVRICK_BENCH=OFF \
         && cmake --build build --target splitverse -j"$(nproc)"; } >"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "error: the build failed; the whole log is in $log" >&2
  exit 1
fi
exec build/game/splitverse "$@"
