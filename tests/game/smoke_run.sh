#!/usr/bin/env bash
# Starts the real splitverse program on a virtual X display of its own, makes its
# window 1280 by 1000 with xdotool, as a player dragging its corner would, and plays
# through the scaled window: options -> information page -> options -> round
# selection -> round 1 played to the end (the deal's points, scaled) -> round
# selection with the round marked -> options -> close. The 480 by 640 screen must fill
# the window's height, centred between two even bars, and every click lands through
# the scaling. With the test window manager given, F11 then puts the game full
# screen (the screen scaled to the display's height, centred) and Alt+Enter brings
# the window back. A screenshot of each screen goes into <shots>; the program must
# end after the farewell with "exit" as its last line and status 0.
# SMOKE_DISPLAY (default 1600x1200) and SMOKE_WINDOW (default 1280x1000) set the
# display's and the window's sizes (the window must fit on the display).
# Usage: smoke_run.sh <splitverse> <shots> [test_window_manager]
set -uo pipefail

game=$1 shots=$2 wm=${3:-}
source "$(dirname "$0")/../support/virtual_display.sh"
source "$(dirname "$0")/../support/game_window.sh"
work=$(mktemp -d)
app_pid="" wm_pid=""
at_exit 'rm -rf "$work"'
at_exit '[[ -n $wm_pid ]] && kill "$wm_pid" 2>/dev/null'
at_exit '[[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null'

fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/out.txt "$work"/err.txt "$work"/tmp/ErrorLog.txt; do
    [[ -f $f ]] && { echo "--- $f" >&2; tail -40 "$f" >&2; }
  done
  exit 1
}

# The program and its media in a folder of their own, so the build's Media folder
# is never written; progress goes to a data folder inside it as well.
mkdir -p "$work/game" "$work/tmp" "$work/data" "$shots"
cp "$game" "$work/game/splitverse"
cp -r "$(dirname "$game")/Media" "$work/game/Media"
rm -f "$work/game/Media/moredata.txt"

# Room for the window at its new size: the pointer cannot leave the screen.
readonly DISPLAY_SIZE=${SMOKE_DISPLAY:-1600x1200} WINDOW_SIZE=${SMOKE_WINDOW:-1280x1000}
start_virtual_display "$DISPLAY_SIZE"
if [[ -n $wm ]]; then
  "$wm" >"$work/wm.txt" &
  wm_pid=$!
  for _ in $(seq 100); do
    [[ -s $work/wm.txt ]] && break
    sleep 0.05
  done
  [[ -s $work/wm.txt ]] || fail "the test window manager did not start"
fi

(cd / && exec env TMPDIR="$work/tmp" XDG_DATA_HOME="$work/data" SDL_VIDEODRIVER=x11 \
   SDL_AUDIODRIVER=dummy SPLITVERSE_DEAL_FILE="$work/deal.txt" \
   "$work/game/splitverse" >"$work/out.txt" 2>"$work/err.txt") &
app_pid=$!

window=$(game_window "$work/tmp/ErrorLog.txt") || fail "the window did not appear"

# SPLITVERSE_TEST_PACE stretches the holds and pauses for slower builds.
pace=${SPLITVERSE_TEST_PACE:-1}
paced() { awk -v s="$1" -v p="$pace" 'BEGIN { print s * p }'; }

# The 480 by 640 screen fills the window's height (the window is wider than 3:4 in
# every size used here), centred: a window 1280 by 1000 shows it 750 wide from x 265.
# A logical point is clicked at the middle of the window pixels that show it.
readonly WIN_W=${WINDOW_SIZE%x*} WIN_H=${WINDOW_SIZE#*x}
readonly SHOWN_H=$WIN_H SHOWN_W=$((WIN_H * 3 / 4))
readonly SHOWN_X=$(((WIN_W - SHOWN_W) / 2))
readonly FULL_W=${DISPLAY_SIZE%x*} FULL_H=${DISPLAY_SIZE#*x}
readonly FULL_SHOWN_W=$((FULL_H * 3 / 4))
readonly FULL_SHOWN_X=$(((FULL_W - FULL_SHOWN_W) / 2))
to_window() {
  awk -v x="$1" -v y="$2" -v sx=$SHOWN_X -v sw=$SHOWN_W -v sh=$SHOWN_H \
    'BEGIN { printf "%d %d", sx + int((x + 0.5) * sw / 480), int((y + 0.5) * sh / 640) }'
}

# A press held for a few frames, then the release, at a logical point; the game
# acts on the press and waits for the release.
click() {
  local at
  at=$(to_window "$1" "$2")
  xdotool mousemove --window "$window" ${at} mousedown 1
  sleep "$(paced 0.15)"
  xdotool mouseup 1
  sleep "$(paced "${3:-0.6}")"
}

grab() { import -window "$window" "$shots/$1.png" 2>/dev/null || fail "no screenshot of $1"; }

previous=""
# The screenshot of a screen, taken again for up to 15 s while it is still black, still
# the screen before, or not yet of the window's size: loading a screen's pictures
# takes a while in slow builds (the sanitizer build) and on a busy machine.
shot() {
  local file="$shots/$1.png" size="${2:-${WIN_W}x${WIN_H}}" mean problem
  for _ in $(seq 60); do
    grab "$1"
    mean=$(convert "$file" -format '%[fx:mean]' info:)
    problem=""
    [[ $(identify -format '%wx%h' "$file") == "$size" ]] || problem="the $1 screen is not $size"
    awk -v m="$mean" 'BEGIN { exit !(m > 0.02) }' || problem="the $1 screen is black"
    if [[ -z $problem && -n $previous ]] && cmp -s "$file" "$previous"; then
      problem="the $1 screen looks like the screen before it"
    fi
    [[ -z $problem ]] && break
    sleep 0.25
  done
  [[ -z $problem ]] || fail "$problem"
  previous=$file
}

# Whether the bars beside the shown screen are one colour each, the same on both
# sides, and the screen starts where they end.
bars_even() {
  local left right
  left=$(convert "$shots/$1.png" -crop "${SHOWN_X}x${WIN_H}+0+0" -format '%[fx:standard_deviation] %[mean]' info:)
  right=$(convert "$shots/$1.png" -crop "${SHOWN_X}x${WIN_H}+$((SHOWN_X + SHOWN_W))+0" \
    -format '%[fx:standard_deviation] %[mean]' info:)
  [[ ${left%% *} == 0 && $left == "$right" ]] &&
    [[ $(convert "$shots/$1.png" -crop "1x${WIN_H}+${SHOWN_X}+0" -format '%[fx:standard_deviation]' info:) != 0 ]]
}

sleep 0.8
shot 0-options-first-window 480x640          # the first window: the screen's own size here
# Into the screen's corner first: a screenshot holds only the part on the screen.
xdotool windowmove "$window" 0 0 windowsize "$window" $WIN_W $WIN_H
# The next frames fill the new window: the screen scaled to its height, centred.
shot 1-options
for _ in $(seq 60); do
  bars_even 1-options && break
  sleep 0.25
  grab 1-options
done
bars_even 1-options || fail "the screen is not scaled into the middle of the window"
click 25 615                                 # the information button
shot 2-information
click 25 25                                  # back to the options screen
shot 3-options-after-information
click 150 390                                # the play area
shot 4-round-selection
rm -f "$work/deal.txt"
click 60 145 0.8                             # round 1
shot 5-round

# The deal of round 1, written by the game as the round started: each word with the
# logical points of its tiles.
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
  click 410 600 0.4                          # check
  ((n == 3)) && shot 6-round-some-found
done <"$work/deal.txt"

# The round is won: after its banner, the round selection with the round marked.
progress=""
for _ in $(seq 200); do
  [[ -s $work/game/Media/moredata.txt ]] && progress=$work/game/Media/moredata.txt
  [[ -s $work/data/SplitVerse/moredata.txt ]] && progress=$work/data/SplitVerse/moredata.txt
  [[ -n $progress ]] && break
  sleep 0.05
done
[[ -n $progress ]] || fail "round 1 was played through the scaled window but not won (no progress saved)"
# After the banner (drawn on black) the round selection comes back: a picture all
# over the shown screen again, the same in two shots apart.
for _ in $(seq 80); do
  grab 7-round-selection-marked
  cover=$(convert "$shots/7-round-selection-marked.png" -crop "${SHOWN_W}x${SHOWN_H}+${SHOWN_X}+0" \
    -fill white +opaque black -format '%[fx:mean]' info:)
  if awk -v c="$cover" 'BEGIN { exit !(c > 0.99) }'; then
    cp "$shots/7-round-selection-marked.png" "$work/settling.png"
    sleep 0.3
    grab 7-round-selection-marked
    cmp -s "$shots/7-round-selection-marked.png" "$work/settling.png" && break
  fi
  sleep 0.25
done
bars_even 7-round-selection-marked || fail "the round selection is not scaled into the middle of the window"
previous=$shots/7-round-selection-marked.png

if [[ -n $wm ]]; then
  # Full screen: the display's size (1600 by 1200: the screen 900 wide from x 350).
  # Then back to the window, at the size it had.
  xdotool windowfocus "$window" key F11
  full=""
  for _ in $(seq 60); do
    sleep 0.25
    import -window root "$shots/9-full-screen.png" 2>/dev/null || continue
    left=$(convert "$shots/9-full-screen.png" -crop "${FULL_SHOWN_X}x${FULL_H}+0+0" -format '%[fx:standard_deviation]' info:)
    right=$(convert "$shots/9-full-screen.png" -crop "${FULL_SHOWN_X}x${FULL_H}+$((FULL_SHOWN_X + FULL_SHOWN_W))+0" \
      -format '%[fx:standard_deviation]' info:)
    edge=$(convert "$shots/9-full-screen.png" -crop "1x${FULL_H}+${FULL_SHOWN_X}+0" -format '%[fx:standard_deviation]' info:)
    [[ $(xdotool getwindowgeometry "$window") == *"Geometry: ${DISPLAY_SIZE}"* && $left == 0 && $right == 0 &&
       $edge != 0 ]] && { full=1; break; }
  done
  [[ -n $full ]] || fail "F11 did not show the screen full screen, scaled and centred"
  xdotool windowfocus "$window" key alt+Return
  back=""
  for _ in $(seq 60); do
    sleep 0.25
    [[ $(xdotool getwindowgeometry "$window") == *"Geometry: ${WIN_W}x${WIN_H}"* ]] && { back=1; break; }
  done
  [[ -n $back ]] || fail "Alt+Enter did not bring the window back"
fi

click 25 25                                  # back to the options screen
shot 8-options-again
click 455 25                                 # close: the farewell, then the end

status=""
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
[[ $(tail -1 "$work/out.txt") == exit ]] || fail "\"exit\" is not the last line of standard output"
grep -q "tvk is shut down" "$work/tmp/ErrorLog.txt" || fail "no shutdown in the trace"
echo "ok: round 1 played in a scaled window; screenshots in $shots"
