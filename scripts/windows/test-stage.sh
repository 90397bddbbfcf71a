#!/usr/bin/env bash
# The Windows stage of ./test.sh: the toolchain and Wine installed when missing,
# the static libraries built or found in their cache, the runtime, game, tools and
# tests cross-built into build-win/, and the whole suite run under Wine on a
# virtual display, the Windows game's play test among it (tests/windows/). Fails
# when any Windows test fails. Prints how long each step took.
#
#   scripts/windows/test-stage.sh            # from anywhere in the clone
#
# TAVRICK_WINDOWS_BUILD names another build folder; TAVRICK_JOBS the build and
# test jobs (default: the processor count).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${TAVRICK_WINDOWS_BUILD:-build-win}
jobs=${TAVRICK_JOBS:-$(nproc)}

stage_start=$SECONDS
step_start=$SECONDS
times=()
step_done() {
  times+=("$(printf '%-34s %4d s' "$1" $((SECONDS - step_start)))")
  step_start=$SECONDS
}

echo "== windows: toolchain and libraries"
scripts/windows/install-toolchain.sh
step_done "toolchain"
deps=$(scripts/windows/build-deps.sh)
step_done "libraries (built or cached)"

echo "== windows: configure and build $build"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# The benchmarks are not part of the Windows build; everything else is, since the
# tests use the game, the tools and the example programs.
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DTAVRICK_WINDOWS_DEPS_PREFIX="$deps" -DTAVRICK_TESTS=ON -DTAVRICK_BENCH=OFF \
      "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$jobs"
step_done "cross-build"

echo "== windows: run the suite under Wine"
status=0
scripts/windows/with-wine.sh \
  ctest --test-dir "$build" --output-on-failure --no-tests=error -j"$jobs" --timeout 300 || status=$?
step_done "suite under Wine"

echo "== windows: stage times"
printf '   %s\n' "${times[@]}"
printf '   %-34s %4d s\n' "whole stage" $((SECONDS - stage_start))
if ((status != 0)); then
  echo "The Windows suite failed (see above)." >&2
  exit "$status"
fi
