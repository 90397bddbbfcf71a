#!/usr/bin/env bash
# Plays round 1 of a shipped SplitVerse to the end through its real window on a
# virtual display, then starts it again and checks the round is still marked.
#   play_shipped.sh installed <build dir> [shots]
#       installs the build into a temporary prefix (Media made read-only, as in a
#       system-wide install) and plays bin/splitverse
#   play_shipped.sh onefile <one-file program> [shots]
#       plays a copy of the one-file program in a folder with no Media beside it
# Either way the progress must land in $XDG_DATA_HOME/SplitVerse and survive a restart.
# The game tells where it dealt the fragments through its test hook: with
# SPLITVERSE_DEAL_FILE set it writes, when a round starts, the screen points that
# assemble each answer.
set -uo pipefail

mode=$1 source=$2
source "$(dirname "$0")/../support/virtual_display.sh"
source "$(dirname "$0")/../support/game_window.sh"
work=$(mktemp -d)
shots=${3:-$work/shots}
app_pid=""
at_exit 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"'
at_exit '[[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null'

fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/out.txt "$work"/err.txt "$work"/tmp/ErrorLog.txt "$work"/install.txt; do
    [[ -f $f ]] && { echo "--- $f" >&2; tail -40 "$f" >&2; }
  done
  exit 1
}

mkdir -p "$work/tmp" "$work/data" "$shots"
case $mode in
  installed)
    cmake --install "$source" --prefix "$work/prefix" >"$work/install.txt" 2>&1 || fail "install failed"
    game=$work/prefix/bin/splitverse
    for f in share/applications/splitverse.desktop share/icons/hicolor/128x128/apps/splitverse.png \
             lib/splitverse/Media/gamedata.txt; do
      [[ -f $work/prefix/$f ]] || fail "not installed: $f"
    done
    chmod -R a-w "$work/prefix/lib/splitverse/Media"
    ;;
  onefile)
    mkdir -p "$work/anywhere"
    cp "$source" "$work/anywhere/splitverse"
    game=$work/anywhere/splitverse
    ;;
  *) fail "unknown mode $mode" ;;
esac
[[ -x $game ]] || fail "no program at $game"
# The installed game cannot write its Media folder (unless run by root, who can):
# the progress goes to the data folder. The one-file game has no Media folder: it
# keeps the progress beside itself when that folder can be written, in the data
# folder otherwise.
progress_places=("$work/data/SplitVerse/moredata.txt")
[[ $mode == onefile ]] && progress_places+=("$work/anywhere/moredata.txt")
[[ $mode == installed && $(id -u) == 0 ]] && progress_places+=("$work/prefix/lib/splitverse/Media/moredata.txt")

start_virtual_display

window=""
start_game() {
  rm -f "$work/tmp/ErrorLog.txt"
  (cd / && exec env TMPDIR="$work/tmp" XDG_DATA_HOME="$work/data" SDL_VIDEODRIVER=x11 \
     SDL_AUDIODRIVER=dummy SPLITVERSE_DEAL_FILE="$work/deal.txt" \
     "$game" >"$work/out.txt" 2>"$work/err.txt") &
  app_pid=$!
  window=$(game_window "$work/tmp/ErrorLog.txt") || fail "the window did not appear"
  sleep 0.5
}

# A press held for several frames, then the release: long enough that a frame
# samples it while other tests load the machine (the game acts on the press and
# waits for the release). SPLITVERSE_TEST_PACE stretches the holds and pauses for
# builds whose frames are slower (the sanitizer build sets 3).
pace=${SPLITVERSE_TEST_PACE:-1}
paced() { awk -v s="$1" -v p="$pace" 'BEGIN { print s * p }'; }
click() {
  xdotool mousemove --window "$window" "$1" "$2" mousedown 1
  sleep "$(paced 0.2)"
  xdotool mouseup 1
  sleep "$(paced "${3:-0.25}")"
}

shot() { import -window "$window" "$shots/$1.png" 2>/dev/null || fail "no screenshot of $1"; }

# How much of a screenshot is not black, 0 to 1. Every screen is drawn on its
# background picture; the window is black before the first frame, and the won
# banner is drawn on a black screen.
picture_cover() { convert "$1" -fill white +opaque black -format '%[fx:mean]' info:; }

# Screenshots until the screen is a picture all over, stays so between two shots
# (a shot taken while a frame is being put on the screen can hold parts of two),
# and, when a second name is given, differs from that earlier screenshot: the next
# screen has come and settled.
shot_when_picture() {
  local covered
  for _ in $(seq 80); do
    shot "$1"
    covered=$(picture_cover "$shots/$1.png")
    if awk -v c="$covered" 'BEGIN { exit !(c > 0.99) }' &&
       { [[ -z ${2:-} ]] || ! cmp -s "$shots/$1.png" "$shots/$2.png"; }; then
      cp "$shots/$1.png" "$work/settling.png"
      sleep 0.3
      shot "$1"
      cmp -s "$shots/$1.png" "$work/settling.png" && return 0
    fi
    sleep 0.25
  done
  fail "the $1 screen did not come"
}

# Screenshots until the won banner shows on its black screen.
shot_when_banner() {
  local covered
  for _ in $(seq 80); do
    shot "$1"
    covered=$(picture_cover "$shots/$1.png")
    awk -v c="$covered" 'BEGIN { exit !(c < 0.9) }' && return 0
    sleep 0.25
  done
  fail "no banner after the last word"
}

close_game() {
  click 25 25 0.5             # back to the options screen
  click 455 25 0.2            # close: the farewell, then the end
  shot farewell
  local status=""
  for _ in $(seq 200); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
      wait "$app_pid"
      status=$?
      break
    fi
    sleep 0.05
  done
  [[ -n $status ]] || fail "the program did not end after the farewell"
  app_pid=""
  [[ $status == 0 ]] || fail "exit status $status"
}

start_game
shot_when_picture options
click 150 390 0.1            # the play area
shot_when_picture round-selection options
rm -f "$work/deal.txt"
click 60 145 0.8             # round 1
shot round-start

# The deal of round 1, written by the game as the round started.
for _ in $(seq 300); do
  [[ -s $work/deal.txt ]] && break
  sleep 0.05
done
[[ -s $work/deal.txt ]] || fail "the game wrote no deal to SPLITVERSE_DEAL_FILE"
[[ $(grep -cE '^[A-Z]+( [0-9]+ [0-9]+){2,4}$' "$work/deal.txt") == 7 ]] ||
  fail "not seven words with their points: $(cat "$work/deal.txt")"

n=0
while read -r word points; do
  set -- $points
  while (($# >= 2)); do
    click "$1" "$2" 0.2
    shift 2
  done
  n=$((n + 1))
  if ((n < 7)); then
    click 410 600 0.4          # check
    ((n == 3)) && shot round-some-found
  else
    click 410 600 0.2          # check the last word: the banner grows
    shot_when_banner round-won
  fi
done <"$work/deal.txt"

progress=""
for _ in $(seq 100); do
  for p in "${progress_places[@]}"; do [[ -s $p ]] && progress=$p; done
  [[ -n $progress ]] && break
  sleep 0.05
done
[[ -n $progress ]] || fail "no progress where it belongs: $(cd "$work" && find . -name "moredata*")"
shot_when_picture round-selection-marked   # after the banner: the round selection, marked
close_game
[[ $(tail -1 "$work/out.txt") == exit ]] || fail "\"exit\" is not the last line of standard output"
saved=$(cat "$progress")

# Started again, the progress is read back: round 1 is still marked.
start_game
shot_when_picture options-again
click 150 390 0.5
[[ $(cat "$progress") == "$saved" ]] || fail "the progress file changed on a restart"
diff=""
for _ in $(seq 60); do
  shot round-selection-again
  diff=$(compare -metric AE "$shots/round-selection-marked.png" "$shots/round-selection-again.png" null: 2>&1)
  [[ $diff == 0 ]] && break
  sleep 0.25
done
[[ $diff == 0 ]] || fail "the round selection after a restart differs ($diff pixels): progress lost"
close_game
echo "ok: $mode game played round 1 and kept the progress"
