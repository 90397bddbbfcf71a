#!/usr/bin/env bash
# Installs the SDK from the build folder into a temporary prefix, then builds the
# consumer program from a clean folder twice, once through find_package and once
# through pkg-config, and runs each headless to a screenshot whose pixels are
# checked: the installed headers, libraries and package files are all a developer
# needs.
#   sdk_install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" --component sdk >/dev/null

# Every installed header finds what it includes in the install alone.
(cd "$prefix/include" && find tavrick -name '*.h' | sed 's/.*/#include <&>/') >"$work/all_headers.cpp"
g++ -std=c++20 -fsyntax-only -I"$prefix/include/tavrick" -I"$prefix/include" "$work/all_headers.cpp"

# Only what was installed: the consumer is copied out of the source tree.
cp -r "$source/tests/sdk/consumer" "$work/project"

echo "== find_package(Tavrick)"
cmake -S "$work/project" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null

echo "== pkg-config tavrick"
mkdir -p "$work/pc-build"
PKG_CONFIG_PATH=$prefix/lib/pkgconfig
export PKG_CONFIG_PATH
[[ $(pkg-config --modversion tavrick) == "$(sed -n 's/#define TAVRICK_VERSION "\(.*\)"/\1/p' "$prefix/include/tavrick/version.h")" ]]
# shellcheck disable=SC2046
g++ -o "$work/pc-build/consumer" "$work/project/consumer.cpp" $(pkg-config --cflags --libs tavrick)

# Runs a program to its tenth frame and checks the screenshot's pixels.
check() {
  local program=$1 shot=$2
  (cd "$work" && env -u DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
     TAVRICK_CAPTURE="10:$shot" "$program" >/dev/null)
  local green blue black
  green=$(convert "$shot" -alpha off -format '%[pixel:p{50,30}]' info:)
  blue=$(convert "$shot" -alpha off -format '%[pixel:p{230,180}]' info:)
  black=$(convert "$shot" -alpha off -format '%[pixel:p{300,20}]' info:)
  if [[ $green != "srgb(0,255,0)" || $blue != "srgb(0,0,255)" || $black != "srgb(0,0,0)" ]]; then
    echo "error: $program drew $green, $blue, $black where green, blue and black belong" >&2
    exit 1
  fi
}
check "$work/cmake-build/consumer" "$work/cmake.png"
check "$work/pc-build/consumer" "$work/pc.png"
echo "Both consumers built against the installed SDK and drew their frame."
