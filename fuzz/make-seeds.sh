#!/usr/bin/env bash
# Builds the seed corpora of the fuzz targets into OUT/<target>/:
#   fuzz/make-seeds.sh BUILD_DIR OUT
# Seeds come from the runtime's own encoders and archive packer (fuzz_seed_maker,
# built in BUILD_DIR), the small files committed under fuzz/seeds/<target>/, and the
# game's smaller media files. Existing files in OUT are kept, so a corpus that grew
# in earlier runs stays.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${1:?usage: make-seeds.sh BUILD_DIR OUT}
out=${2:?usage: make-seeds.sh BUILD_DIR OUT}
mkdir -p "$out"

"$build/fuzz/fuzz_seed_maker" "$out"

if [[ -d "$here/seeds" ]]; then
  for dir in "$here"/seeds/*/; do
    target=$(basename "$dir")
    mkdir -p "$out/$target"
    cp -p "$dir"* "$out/$target/" 2>/dev/null || true
  done
fi

# The game's media, only the small files: large seeds slow every run of a target.
copy_media() {
  local target=$1; shift
  mkdir -p "$out/$target"
  for pattern in "$@"; do
    for file in "$root"/game/media/$pattern; do
      [[ -f "$file" ]] || continue
      (( $(stat -c %s "$file") <= 20000 )) && cp -p "$file" "$out/$target/media-$(basename "$file")"
    done
  done
  return 0
}
copy_media png_decoder_fuzz '*.png'
copy_media jpeg_decoder_fuzz '*.jpg'
copy_media wave_loader_fuzz '*.wav'
copy_media font_measure_fuzz 'smalfont.png'
copy_media line_store_fuzz 'gamedata.txt'
