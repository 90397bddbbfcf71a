#!/usr/bin/env bash
# Installs the Debian packages the project needs, and only those that are missing.
#   scripts/ensure-packages.sh build   packages to build and run the game
#   scripts/ensure-packages.sh test    packages to build and run the test suites
#   scripts/ensure-packages.sh media   packages the media generators in tools/media need
#   scripts/ensure-packages.sh bench   packages to build the benchmarks and run bench/compare.sh
#   scripts/ensure-packages.sh windows packages to cross-build for Windows and test under Wine
set -euo pipefail

build_packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libpng-dev libjpeg62-turbo-dev liblzo2-dev libmpv-dev libgl-dev
  libgl1-mesa-dri
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick ffmpeg vorbis-tools
  clang libclang-rt-14-dev              # the fuzz targets: libFuzzer and the sanitizer runtimes
  valgrind                              # the memory check of a whole game session
  wbritish-large scowl                  # the game content check: word list and word commonness
)

# Generating media is a developer task: the generated files are committed, so
# neither the build nor the tests need these.
media_packages=(
  python3 python3-numpy python3-pil     # image and sound synthesis
  fonts-dejavu-core fonts-dejavu-extra  # the outline fonts the text is drawn from
  vorbis-tools                          # oggenc, for the compressed copy of the music
  sox                                   # checking the sounds (levels, lengths)
  imagemagick                           # contact sheets for looking at the pictures
)

# The comparison with other 2D frameworks builds and runs their programs too.
bench_packages=(
  libbenchmark-dev
  xvfb xauth imagemagick                # one X server for every run; the sprite image
  love libsfml-dev                      # the frameworks compared with
)

# The Windows build: MinGW-w64 with the posix thread model (std::thread, std::mutex),
# the mingw zlib libpng links against, Wine (wine64 has no launcher of its own: the
# wine package supplies /usr/bin/wine), and what scripts/windows/build-deps.sh needs
# to fetch and build the libraries from Debian's source packages.
windows_packages=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine64 wine
  cmake pkg-config ninja-build nasm dpkg-dev xz-utils
  xvfb xauth libgl1 libgl1-mesa-dri     # a virtual display and software OpenGL for Wine
)

case "${1:-build}" in
  build) wanted=("${build_packages[@]}") ;;
  test) wanted=("${build_packages[@]}" "${test_packages[@]}") ;;
  media) wanted=("${media_packages[@]}") ;;
  bench) wanted=("${build_packages[@]}" "${bench_packages[@]}") ;;
  windows) wanted=("${windows_packages[@]}") ;;
  *) echo "usage: $0 build|test|media|bench|windows" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [[ "$status" == installed ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "error: these packages are missing and sudo is not available: ${missing[*]}" >&2
    echo "       install them as root with: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
