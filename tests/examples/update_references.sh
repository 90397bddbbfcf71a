#!/usr/bin/env bash
# Makes the frame each example draws now its new reference picture, in
# tests/examples/ and in docs/examples/. Build the examples first; afterwards look
# at every picture git reports as changed before committing it.
#
#   tests/examples/update_references.sh [BUILD_DIR [NAME...]]
#
# BUILD_DIR defaults to build/; NAMEs (hello, input, ...) limit it to those examples.
set -euo pipefail
build=${1:-build}
shift || true
pattern="^examples_"
if (($# > 0)); then
  pattern="^examples_($(IFS='|'; echo "$*"))\$"
fi
export SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1
TAVRICK_UPDATE_REFERENCES=1 ctest --test-dir "$build" -R "$pattern" --output-on-failure
