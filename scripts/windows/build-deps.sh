#!/usr/bin/env bash
# Builds the third-party libraries of the Windows build (SDL2, SDL2_mixer with
# OGG through its built-in stb_vorbis, libpng against the mingw zlib,
# libjpeg-turbo, lzo, googletest) as static libraries, from the upstream
# tarballs inside Debian's source packages, with cmake/mingw-w64-x86_64.cmake.
#
#   scripts/windows/build-deps.sh      builds what is missing; prints the prefix
#
# Progress goes to standard error; the last thing on standard output is the
# prefix to hand to CMake as -DTAVRICK_WINDOWS_DEPS_PREFIX=<prefix>.
#
# The libraries live outside the clone, so fresh clones and wiped build folders
# share them (a build from nothing takes minutes):
#   ${TAVRICK_WINDOWS_DEPS:-${XDG_CACHE_HOME:-~/.cache}/tavrick/windows-deps}/
#     <key>/       the prefix: include/, lib/, lib/pkgconfig/, lib/cmake/
#     current      link to the prefix built last (the toolchain file's fallback)
#     sources/     the Debian source packages fetched, kept for rebuilds
# The key names each library's upstream version plus a short hash of the
# toolchain's package versions and the build recipe below, so a new Debian
# version, a new compiler or a changed recipe gets a prefix of its own. A prefix
# counts only once its .complete stamp is written.
#
# Environment: TAVRICK_WINDOWS_DEPS (the cache folder), TAVRICK_WINDOWS_DEPS_JOBS
# (parallel compile jobs, default 2).
set -euo pipefail

project=$(cd "$(dirname "$0")/../.." && pwd)
toolchain=$project/cmake/mingw-w64-x86_64.cmake
cache=${TAVRICK_WINDOWS_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/tavrick/windows-deps}
jobs=${TAVRICK_WINDOWS_DEPS_JOBS:-2}
sysroot=/usr/x86_64-w64-mingw32

# Bump when an option below, or a setting of the toolchain file that reaches the
# libraries, changes, so that the cached prefix is built again.
recipe=1

# short name, Debian source package, rough build time on an idle 2-core machine
# (for the progress line; a busy machine takes 3-5 times as long)
libraries=(
  "sdl2   libsdl2        110"
  "mixer  libsdl2-mixer  5"
  "png    libpng1.6      20"
  "jpeg   libjpeg-turbo  15"
  "lzo    lzo2           25"
  "gtest  googletest     25"
)

say() { echo "[windows-deps] $*" >&2; }

fail() {
  echo "error: $1" >&2
  shift
  local line
  for line in "$@"; do echo "       $line" >&2; done
  exit 1
}

as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    fail "this step needs root and sudo is not available: $*" "Run it as root, then run $0 again."
  fi
}

check_tools() {
  local tool
  for tool in x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix cmake ninja nasm \
              pkg-config dpkg-source; do
    command -v "$tool" >/dev/null ||
      fail "$tool is missing." "Install the Windows toolchain first: scripts/windows/install-toolchain.sh"
  done
  [[ -f $sysroot/lib/libz.a ]] ||
    fail "the mingw zlib ($sysroot/lib/libz.a) is missing." \
         "Install the Windows toolchain first: scripts/windows/install-toolchain.sh"
}

# Fills `known_sources` (source package -> the Debian versions apt knows) for
# the six packages, with one apt-cache call: the check on a cached build stays
# quick.
declare -A known_sources
read_source_index() {
  local names=() entry package version
  for entry in "${libraries[@]}"; do
    read -r _ package _ <<<"$entry"
    names+=("$package")
  done
  known_sources=()
  while read -r package version; do
    known_sources[$package]+="$version "
  done < <(apt-cache showsrc "${names[@]}" 2>/dev/null |
           awk '/^Package: /{p=$2} /^Version: /{print p, $2}')
}

# apt knows Debian's source packages once a deb-src entry exists. It is a copy of
# the system's own entry with the type changed, so it names the same mirror and
# suites as the binary packages (no host name of our own).
ensure_source_index() {
  read_source_index
  [[ -n ${known_sources[libsdl2]:-} ]] && return
  local system=/etc/apt/sources.list.d/debian.sources
  local ours=/etc/apt/sources.list.d/debian-src.sources
  [[ -f $system ]] ||
    fail "$system is missing, so there is no entry to copy for Debian's source packages." \
         "Add a deb-src entry for Debian by hand, run 'apt-get update', then run $0 again."
  if [[ ! -f $ours ]]; then
    say "adding Debian's source packages to apt ($ours)"
    sed 's/^Types:.*/Types: deb-src/' "$system" | as_root tee "$ours" >/dev/null
  fi
  say "updating apt's package lists"
  local log
  log=$(mktemp)
  if ! as_root apt-get update -q >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    fail "'apt-get update' failed (its output is above)." "Check the network, then run $0 again."
  fi
  rm -f "$log"
  read_source_index
  [[ -n ${known_sources[libsdl2]:-} ]] ||
    fail "apt still knows no source package libsdl2 after adding $ours." \
         "Check that file and 'apt-get update', then run $0 again."
}

# Sets `versions` to the Debian versions apt knows for a source package, newest first.
debian_versions() {
  local package=$1 version i
  versions=()
  for version in ${known_sources[$package]:-}; do
    i=${#versions[@]}
    versions+=("$version")
    while ((i > 0)) && dpkg --compare-versions "${versions[i-1]}" lt "$version"; do
      versions[i]=${versions[i-1]}
      versions[i-1]=$version
      i=$((i - 1))
    done
  done
  ((${#versions[@]} > 0)) || fail "apt knows no source package $package." "Run 'apt-get update', then $0 again."
}

# 1:2.1.5-2 -> 2.1.5, 2.26.5+dfsg-1 -> 2.26.5+dfsg: what the orig tarball is named after.
upstream_of() {
  local version=${1#*:}
  echo "${version%-*}"
}

# Fetches the orig tarball of a source package into $cache/sources (once).
# The archive sometimes lists a security update whose files are gone from the
# mirror; an older Debian revision of the same upstream version has the same
# tarball, so those are tried in turn.
fetch_source() {
  local package=$1 upstream=$2 version tarball log versions
  tarball=$(compgen -G "$cache/sources/${package}_${upstream}.orig.tar.*" | head -n1 || true)
  if [[ -n $tarball ]]; then
    echo "$tarball"
    return
  fi
  mkdir -p "$cache/sources"
  log=$work/fetch-$package.log
  : >"$log"
  debian_versions "$package"
  for version in "${versions[@]}"; do
    [[ $(upstream_of "$version") == "$upstream" ]] || continue
    if (cd "$cache/sources" && apt-get source --download-only "$package=$version") >>"$log" 2>&1; then
      tarball=$(compgen -G "$cache/sources/${package}_${upstream}.orig.tar.*" | head -n1 || true)
      if [[ -n $tarball ]]; then
        echo "$tarball"
        return
      fi
    fi
  done
  tail -n 20 "$log" >&2
  fail "could not fetch the source package $package $upstream (apt's output is above; all of it in $log)." \
       "Check the network and run 'apt-get update', then run $0 again."
}

# Unpacks a tarball into a fresh folder under $work and prints its top folder.
unpack() {
  local tarball=$1 name=$2 dest top
  dest=$work/src-$name
  rm -rf "$dest"
  mkdir -p "$dest"
  tar -xf "$tarball" -C "$dest"
  top=$(find "$dest" -mindepth 1 -maxdepth 1 -type d)
  [[ -d $top && $(wc -l <<<"$top") -eq 1 ]] || fail "$tarball does not unpack into one folder."
  echo "$top"
}

# Configures, builds and installs one CMake project into the prefix; all output
# goes to a log shown (its end) only when a step fails.
cmake_build() {
  local name=$1 source=$2
  shift 2
  local build=$work/build-$name log=$work/$name.log step
  : >"$log"
  for step in configure build install; do
    local cmd
    case $step in
      configure)
        cmd=(cmake -S "$source" -B "$build" -G Ninja
             -DCMAKE_TOOLCHAIN_FILE="$toolchain"
             -DTAVRICK_WINDOWS_DEPS_PREFIX="$prefix"
             -DCMAKE_INSTALL_PREFIX="$prefix"
             -DCMAKE_BUILD_TYPE=Release
             -DBUILD_SHARED_LIBS=OFF
             "$@") ;;
      build) cmd=(cmake --build "$build" -j "$jobs") ;;
      install) cmd=(cmake --install "$build") ;;
    esac
    if ! (cd "$work" && "${cmd[@]}") >>"$log" 2>&1; then
      tail -n 30 "$log" >&2
      fail "building $name failed at the $step step (the end of its log is above; all of it in $log)." \
           "The sources are in $source and the build folder in $build." \
           "Fix the cause and run $0 again; it starts this prefix over."
    fi
  done
}

# SDL2_mixer writes a .pc file only for a shared build; the project finds it
# through pkg-config, so write the one a static build would need. The codecs
# compiled in (WAV, stb_vorbis) need nothing beyond SDL2 itself.
write_mixer_pc() {
  local version=$1
  cat >"$prefix/lib/pkgconfig/SDL2_mixer.pc" <<PC
prefix=$prefix
exec_prefix=\${prefix}
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SDL2_mixer
Description: mixer library for Simple DirectMedia Layer (static, WAV and OGG)
Version: ${version%%+*}
Requires: sdl2
Libs: -L\${libdir} -lSDL2_mixer
Cflags: -I\${includedir}/SDL2
PC
}

build_library() {
  local name=$1 source=$2 version=$3
  case $name in
    sdl2)
      cmake_build "$name" "$source" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF ;;
    mixer)
      # Only WAV and OGG (through the stb_vorbis copy inside the tarball): no
      # other codec library exists for Windows here, and none is loaded at run time.
      cmake_build "$name" "$source" -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_DEPS_SHARED=OFF \
        -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
        -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
        -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_WAVE=ON
      write_mixer_pc "$version" ;;
    png)
      # Name the static mingw zlib: a search could land on its DLL import library.
      cmake_build "$name" "$source" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
        -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY="$sysroot/lib/libz.a" -DZLIB_INCLUDE_DIR="$sysroot/include" ;;
    jpeg)
      cmake_build "$name" "$source" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
        -DWITH_SIMD=ON -DREQUIRE_SIMD=ON ;;
    lzo)
      cmake_build "$name" "$source" -DENABLE_STATIC=ON -DENABLE_SHARED=OFF ;;
    gtest)
      cmake_build "$name" "$source" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON ;;
  esac
}

# What the project links: all of it must be in the prefix before it counts.
check_prefix() {
  local file
  for file in lib/libSDL2.a lib/libSDL2main.a lib/pkgconfig/sdl2.pc lib/libSDL2_mixer.a \
              lib/pkgconfig/SDL2_mixer.pc include/SDL2/SDL_mixer.h lib/libpng16.a include/png.h \
              lib/libjpeg.a include/jpeglib.h lib/liblzo2.a lib/pkgconfig/lzo2.pc \
              include/lzo/lzo1x.h lib/libgtest.a lib/libgtest_main.a lib/libgmock.a \
              lib/cmake/GTest/GTestConfig.cmake; do
    [[ -e $prefix/$file ]] ||
      fail "$prefix/$file is missing after the build." \
           "The logs are in $work. Remove $prefix and run $0 again."
  done
}

[[ $jobs =~ ^[1-9][0-9]*$ ]] || fail "TAVRICK_WINDOWS_DEPS_JOBS must be a positive number, not '$jobs'."
check_tools
ensure_source_index

# The key: upstream versions (what is built) plus a hash of the toolchain and recipe.
key=""
declare -A upstream_version
for entry in "${libraries[@]}"; do
  read -r name package _ <<<"$entry"
  debian_versions "$package"
  upstream_version[$name]=$(upstream_of "${versions[0]}")
  key+="${key:+_}$name-${upstream_version[$name]}"
done
toolchain_id=$(dpkg-query -W -f='${Package}=${Version} ' gcc-mingw-w64-x86-64-posix \
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev libz-mingw-w64-dev 2>/dev/null || true)
key+=-$(printf 'recipe=%s %s' "$recipe" "$toolchain_id" | sha256sum | cut -c1-8)
prefix=$cache/$key

publish() {
  ln -sfn "$key" "$cache/current"
  echo "$prefix"
}

if [[ -f $prefix/.complete ]]; then
  publish
  exit 0
fi

# One build at a time per cache: two clones testing at once wait for each other
# instead of writing into the same prefix.
mkdir -p "$cache"
exec 9>"$cache/.lock"
if ! flock -n 9; then
  say "another build of these libraries is running; waiting for it"
  flock 9
fi
if [[ -f $prefix/.complete ]]; then
  publish
  exit 0
fi

say "building the Windows libraries into $prefix"
started=$SECONDS
work=$cache/$key.work
rm -rf "$prefix" "$work"
mkdir -p "$prefix/lib/pkgconfig" "$work"

for entry in "${libraries[@]}"; do
  read -r name package estimate <<<"$entry"
  version=${upstream_version[$name]}
  step_start=$SECONDS
  say "$name $version: fetching the Debian source package $package"
  tarball=$(fetch_source "$package" "$version")
  source=$(unpack "$tarball" "$name")
  say "$name $version: building (about $estimate s on an idle 2-core machine)"
  build_library "$name" "$source" "$version"
  say "$name $version: done in $((SECONDS - step_start)) s"
done

check_prefix
touch "$prefix/.complete"
rm -rf "$work"
say "all six built in $((SECONDS - started)) s ($(du -sh "$prefix" | cut -f1))"
publish
