#!/usr/bin/env bash
# docs/getting-started.md, followed as written. The guide marks each block the test
# uses with a comment before it:
#   <!-- test: file NAME -->       the project's file NAME
#   <!-- test: append NAME -->     added to the end of the project's file NAME
#   <!-- test: sh source -->       run in a folder whose build/ is the build folder
#   <!-- test: sh project -->      run in the project folder
#   <!-- test: sh capture -->      run in the project folder; must save frame.png
#   <!-- test: transcript -->      "$ command" lines run in the project folder, in one
#                                  shell; their output must be the other lines
# The files are made first, then the commands run in the order of the guide. HOME
# is a temporary folder, so the guide's ~/tavrick-sdk is made there. The frames
# the programs save are checked pixel by pixel, and each program is started from a
# folder other than its own, as the guide says it may be.
#   getting_started_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
guide=$source/docs/getting-started.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work
unset DISPLAY
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1
project=$work/mygame
blocks=$work/blocks
mkdir -p "$project/media" "$blocks" "$work/tavrick"

# Each marked block into blocks/NN (its text) and blocks/NN.kind ("KIND ARG").
awk -v out="$blocks" '
  /^<!-- test: .* -->$/ { kind = $0; sub(/^<!-- test: /, "", kind); sub(/ -->$/, "", kind); next }
  kind != "" && !inside && /^```/ { inside = 1; n++; name = sprintf("%s/%02d", out, n); printf "" > name
                                    print kind > (name ".kind"); next }
  inside && /^```$/ { inside = 0; kind = ""; close(name); next }
  inside { print > name }
' "$guide"
[[ -n $(ls "$blocks") ]] || { echo "error: no marked blocks in $guide" >&2; exit 1; }

fail() { echo "error: $*" >&2; exit 1; }

# The picture the guide asks for: 32 by 32 orange.
convert -size 32x32 'xc:rgb(255,160,0)' "$project/media/player.png"
ln -s "$(cd "$build" && pwd)" "$work/tavrick/build"

# Checks a saved frame: the sprite at (304, 224) and the clear colour around it.
check_frame() {
  local shot=$1 sprite background
  [[ -f $shot ]] || fail "no frame saved at $shot"
  sprite=$(convert "$shot" -alpha off -format '%[pixel:p{320,240}]' info:)
  background=$(convert "$shot" -alpha off -format '%[pixel:p{100,400}]' info:)
  if [[ $sprite != "srgb(255,160,0)" || $background != "srgb(16,32,64)" ]]; then
    fail "$shot shows $sprite and $background where the sprite and the dark blue belong"
  fi
}

# The project's files first, as the reader has them all before building.
for kind_file in "$blocks"/*.kind; do
  block=${kind_file%.kind}
  read -r kind arg <"$kind_file"
  case "$kind" in
    file) cp "$block" "$project/$arg" ;;
    append) cat "$block" >>"$project/$arg" ;;
  esac
done

captured=0
transcript=""
for kind_file in "$blocks"/*.kind; do
  block=${kind_file%.kind}
  read -r kind arg <"$kind_file"
  case "$kind" in
    file | append) ;;
    sh)
      case "$arg" in
        source) (cd "$work/tavrick" && bash -e "$block" >/dev/null) ;;
        project) echo "== $(head -1 "$block")"; (cd "$project" && bash -e "$block" >/dev/null) ;;
        capture)
          (cd "$project" && bash -e "$block" >/dev/null)
          check_frame "$project/frame.png"
          captured=1 ;;
        *) fail "unknown block kind: sh $arg" ;;
      esac ;;
    transcript) transcript=$block ;;
    *) fail "unknown block kind: $kind" ;;
  esac
done
[[ $captured -eq 1 ]] || fail "the guide has no capture block"
[[ -n $transcript ]] || fail "the guide has no transcript"

# Started from another folder: the CMake build, the pkg-config build (with its Media/
# beside it), and the packed program alone in a folder of its own.
mkdir -p "$work/elsewhere" "$work/alone"
cp "$project/build/packed/mygame" "$work/alone/mygame"
for program in "$project/build/mygame" "$project/mygame" "$work/alone/mygame"; do
  shot=$work/elsewhere/$(echo "$program" | tr / _).png
  (cd "$work/elsewhere" && TAVRICK_CAPTURE="10:$shot" "$program" >/dev/null)
  check_frame "$shot"
done

# The transcript: its commands run in one shell, their output as shown.
sed -n 's/^\$ //p' "$transcript" >"$work/transcript.sh"
grep -v '^\$ ' "$transcript" >"$work/expected.txt" || true
(cd "$project" && bash "$work/transcript.sh" >"$work/actual.txt" 2>&1) || true
if ! diff -u "$work/expected.txt" "$work/actual.txt"; then
  fail "the guide's transcript differs from what the commands print (above: - guide, + actual)"
fi
echo "The guide's project built with CMake and with pkg-config, packed, and ran as it says."
