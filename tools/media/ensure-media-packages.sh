#!/usr/bin/env bash
# Installs the Debian packages the media generators need, and only those that are missing.
# Generating media is a developer task: the generated files are committed, so neither the
# build nor the tests need these packages.
set -euo pipefail

wanted=(
  python3 python3-numpy python3-pil   # image and sound synthesis
  fonts-dejavu-core fonts-dejavu-extra # the outline fonts the text is drawn from
  vorbis-tools                         # oggenc, for the compressed copy of the music
  sox                                  # checking the sounds (levels, lengths)
  imagemagick                          # contact sheets for looking at the pictures
)

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
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
