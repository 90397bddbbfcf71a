#!/usr/bin/env bash
# Plays round 1 of the Windows game to the end through its real window under Wine,
# starts it again and checks the round is still marked; first the program with its
# Media folder, then the one-file program alone in an empty folder.
#
#   play_windows.sh GAME.exe ONEFILE.exe [SHOTS_DIR [SCREENSHOT.png]]
#
# Run it inside scripts/windows/with-wine.sh (Wine's prefix ready, its services up,
# a virtual X display in DISPLAY). SCREENSHOT.png, when given, receives the window
# of the first run with three words found.
#
# Wine draws each top-level window as an X window of the display, so xdotool finds
# the game's window by its title and clicks into it, and `import` reads it back. The
# game says where it dealt the fragments through its test hook: with
# SPLITVERSE_DEAL_FILE set it writes, as a round starts, the screen points that
# assemble each answer.
set -uo pipefail

game=$1 onefile=$2
work=$(mktemp -d)
shots=${3:-$work/shots}
screenshot=${4:-}
app_pid="" trace=""
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($mode): $*" >&2
  for f in "$work"/out.txt "$work"/err.txt "$trace"; do
    [[ -s $f ]] && { echo "--- $f" >&2; tail -40 "$f" >&2; }
  done
  exit 1
}

mode=setup
[[ -n ${DISPLAY:-} && -n ${WINEPREFIX:-} ]] ||
  fail "run this inside scripts/windows/with-wine.sh (no DISPLAY or WINEPREFIX)"
for f in "$game" "$onefile"; do [[ -f $f ]] || fail "no program at $f"; done
[[ -d $(dirname "$game")/Media ]] || fail "no Media folder beside $game"
mkdir -p "$shots"

# The prefix's user folders: Wine sets the temporary and application-data folders
# of a Windows program from its registry, whatever the Unix environment says. The
# trace file lands in the first; the progress falls back to the second.
user_folder=$WINEPREFIX/drive_c/users/$(id -un)
trace=$user_folder/Temp/ErrorLog.txt
data_progress=$user_folder/AppData/Local/SplitVerse/moredata.txt

# A Windows path for a file of this machine: Wine shows the root as drive Z:.
windows_path() { echo "Z:${1//\//\\}"; }

window=""
start_game() {
  rm -f "$trace"
  # Started from another folder: the game must find its Media by itself.
  (cd "$work" && exec env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
     SPLITVERSE_DEAL_FILE="$(windows_path "$work/deal.txt")" \
     wine "$program" >"$work/out.txt" 2>"$work/err.txt") &
  app_pid=$!
  window=""
  for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name '^SplitVerse$' 2>/dev/null | head -1)
    [[ -n $window ]] && break
    kill -0 "$app_pid" 2>/dev/null || fail "the game ended before its window was up"
    sleep 0.05
  done
  [[ -n $window ]] || fail "the window did not appear"
  sleep 0.5
}

# A press held for several frames, then the release: long enough that a frame
# samples it while the machine is loaded (the game acts on the press and waits for
# the release).
click() {
  xdotool mousemove --window "$window" "$1" "$2" mousedown 1
  sleep 0.2
  xdotool mouseup 1
  sleep "${3:-0.25}"
}

shot() { import -window "$window" "$shots/$mode-$1.png" 2>/dev/null || fail "no screenshot of $1"; }

# How much of a screenshot is not black, 0 to 1. Every screen is drawn on its
# background picture; the window is black before the first frame, and the won
# banner is drawn on a black screen.
picture_cover() { convert "$1" -fill white +opaque black -format '%[fx:mean]' info:; }

# Screenshots until the screen is a picture all over, stays so between two shots,
# and, when a second name is given, differs from that earlier screenshot.
shot_when_picture() {
  local covered file=$shots/$mode-$1.png
  for _ in $(seq 120); do
    shot "$1"
    covered=$(picture_cover "$file")
    if awk -v c="$covered" 'BEGIN { exit !(c > 0.99) }' &&
       { [[ -z ${2:-} ]] || ! cmp -s "$file" "$shots/$mode-$2.png"; }; then
      cp "$file" "$work/settling.png"
      sleep 0.3
      shot "$1"
      cmp -s "$file" "$work/settling.png" && return 0
    fi
    sleep 0.25
  done
  fail "the $1 screen did not come"
}

shot_when_banner() {
  local covered
  for _ in $(seq 120); do
    shot "$1"
    covered=$(picture_cover "$shots/$mode-$1.png")
    awk -v c="$covered" 'BEGIN { exit !(c < 0.9) }' && return 0
    sleep 0.25
  done
  fail "no banner after the last word"
}

close_game() {
  click 25 25 0.5             # back to the options screen
  click 455 25 0.2            # close: the farewell, then the end
  local status=""
  for _ in $(seq 300); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
      wait "$app_pid"
      status=$?
      break
    fi
    sleep 0.05
  done
  [[ -n $status ]] || fail "the game did not end after the farewell"
  app_pid=""
  [[ $status == 0 ]] || fail "exit status $status"
}

# One whole check: round 1 played, the progress saved where it belongs, the game
# closed, started again, and the round still marked.
play_and_restart() {
  rm -f "$data_progress"
  start_game
  shot_when_picture options
  click 150 390 0.1            # the play area
  shot_when_picture round-selection options
  rm -f "$work/deal.txt"
  click 60 145 0.8             # round 1

  for _ in $(seq 400); do
    [[ -s $work/deal.txt ]] && break
    sleep 0.05
  done
  [[ -s $work/deal.txt ]] || fail "the game wrote no deal to SPLITVERSE_DEAL_FILE"
  # Windows line ends or not, seven words with their points.
  tr -d '\r' <"$work/deal.txt" >"$work/deal-lines.txt"
  [[ $(grep -cE '^[A-Z]+( [0-9]+ [0-9]+){2,4}$' "$work/deal-lines.txt") == 7 ]] ||
    fail "not seven words with their points: $(cat "$work/deal.txt")"

  local n=0 word points
  while read -r word points; do
    set -- $points
    while (($# >= 2)); do
      click "$1" "$2" 0.2
      shift 2
    done
    n=$((n + 1))
    if ((n < 7)); then
      click 410 600 0.4        # check
      if ((n == 3)); then
        shot round-some-found
        [[ $mode == folder && -n $screenshot ]] && cp "$shots/$mode-round-some-found.png" "$screenshot"
      fi
    else
      click 410 600 0.2        # check the last word: the banner grows
      shot_when_banner round-won
    fi
  done <"$work/deal-lines.txt"

  progress=""
  for _ in $(seq 200); do
    for p in "${progress_places[@]}"; do [[ -s $p ]] && progress=$p; done
    [[ -n $progress ]] && break
    sleep 0.05
  done
  [[ -n $progress ]] || fail "no progress saved in ${progress_places[*]}"
  shot_when_picture round-selection-marked
  close_game
  local saved
  saved=$(cat "$progress")

  start_game
  shot_when_picture options-again
  click 150 390 0.5
  [[ $(cat "$progress") == "$saved" ]] || fail "the progress file changed on a restart"
  local diff=""
  for _ in $(seq 80); do
    shot round-selection-again
    diff=$(compare -metric AE "$shots/$mode-round-selection-marked.png" \
           "$shots/$mode-round-selection-again.png" null: 2>&1)
    [[ $diff == 0 ]] && break
    sleep 0.25
  done
  [[ $diff == 0 ]] || fail "the round selection after a restart differs ($diff pixels): progress lost"
  close_game
  rm -f "$data_progress"
  echo "ok: $mode game played round 1 and kept the progress in ${progress#"$work"/}"
}

# The game as built: the program with its Media folder, in a folder of its own.
# The progress goes into Media (writable here), else the application-data folder.
mode=folder
mkdir -p "$work/game"
cp "$game" "$work/game/splitverse.exe"
cp -r "$(dirname "$game")/Media" "$work/game/Media"
rm -f "$work/game/Media"/moredata.txt*
program=$work/game/splitverse.exe
progress_places=("$work/game/Media/moredata.txt" "$data_progress")
play_and_restart

# The one-file game, alone in an empty folder: the media come out of the program
# itself, the progress goes beside it (or to the application-data folder).
mode=onefile
mkdir -p "$work/empty"
cp "$onefile" "$work/empty/SplitVerse.exe"
program=$work/empty/SplitVerse.exe
progress_places=("$work/empty/moredata.txt" "$work/empty/Media/moredata.txt" "$data_progress")
play_and_restart
