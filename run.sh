#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts SplitVerse.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRICK_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"

game=build/game/splitverse
if [[ ! -x "$game" ]]; then
  echo "Built the Tavrick runtime and its tools; the SplitVerse game itself is not there yet."
  exit 0
fi
exec "$game" "$@"
