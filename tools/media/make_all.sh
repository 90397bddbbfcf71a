#!/usr/bin/env bash
# Regenerates every font image, picture and sound of the game into game/media/ (or the
# folder given), then writes still previews of the screens to build-media-preview/ for a
# look before committing. The packages come from tools/media/ensure-media-packages.sh.
#   tools/media/make_all.sh [OUTPUT_FOLDER]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:-$root/game/media}
preview=${PREVIEW_FOLDER:-$root/build-media-preview}
# Debian's own interpreter: it is the one python3-pil and python3-numpy install into.
python=${PYTHON:-/usr/bin/python3}

mkdir -p "$out"
cd "$here"
echo "fonts..."
"$python" make_fonts.py "$out"
echo "pictures..."
"$python" make_pictures.py "$out"
echo "the Windows icon..."
"$python" make_icon.py "$out/icon.png" "$root/game/windows/splitverse.ico"
echo "sounds..."
"$python" make_sounds.py "$out"
echo "music.ogg..."
oggenc --quiet --quality 6 --output "$out/music.ogg" "$out/music.wav"
echo "previews in $preview..."
"$python" preview_screens.py "$out" "$preview"
du -ch "$out"/*.png "$out"/*.jpg "$out"/*.wav "$out"/*.ogg | tail -n 1
