#!/usr/bin/env bash
# Starts the real splitverse program on a virtual X display of its own and clicks
# through it with xdotool: options -> information page -> options -> round selection
# -> round 1 -> back -> back to the options screen -> close. A screenshot of each screen goes into <shots>; the
# program must end after the farewell with "exit" as its last line and status 0.
# Usage: smoke_run.sh <splitverse> <shots>
set -uo pipefail

game=$1 shots=$2
source "$(dirname "$0")/../support/virtual_display.sh"
work=$(mktemp -d)
app_pid=""
at_exit 'rm -rf "$work"'
at_exit '[[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null'

fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/out.txt "$work"/err.txt "$work"/tmp/ErrorLog.txt; do
    [[ -f $f ]] && { echo "--- $f" >&2; cat "$f" >&2; }
  done
  exit 1
}

# The program and its media in a folder of their own, so the build's Media folder
# is never written; progress would go to a data folder inside it as well.
mkdir -p "$work/game" "$work/tmp" "$work/data" "$shots"
cp "$game" "$work/game/splitverse"
cp -r "$(dirname "$game")/Media" "$work/game/Media"
rm -f "$work/game/Media/moredata.txt"

start_virtual_display

(cd / && exec env TMPDIR="$work/tmp" XDG_DATA_HOME="$work/data" SDL_VIDEODRIVER=x11 \
   SDL_AUDIODRIVER=dummy "$work/game/splitverse" >"$work/out.txt" 2>"$work/err.txt") &
app_pid=$!

window=""
for _ in $(seq 400); do
  window=$(xdotool search --onlyvisible --name '^SplitVerse$' 2>/dev/null | head -1)
  [[ -n $window ]] && grep -q "Init Finalized" "$work/tmp/ErrorLog.txt" 2>/dev/null && break
  window=""
  sleep 0.05
done
[[ -n $window ]] || fail "the window did not appear"

# A press held for a few frames, then the release; the game acts on the press
# and waits for the release.
click() {
  xdotool mousemove --window "$window" "$1" "$2" mousedown 1
  sleep 0.15
  xdotool mouseup 1
  sleep 0.6
}

previous=""
# The screenshot of a screen, taken again for up to 15 s while it is still black or
# still the screen before: loading a screen's pictures takes a while in slow
# builds (the sanitizer build) and on a busy machine.
shot() {
  local file="$shots/$1.png" mean problem
  for _ in $(seq 60); do
    import -window "$window" "$file" 2>/dev/null || fail "no screenshot of $1"
    mean=$(convert "$file" -format '%[fx:mean]' info:)
    problem=""
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

sleep 0.8
shot 1-options
click 25 615               # the information button
shot 2-information
click 25 25                # back to the options screen
shot 3-options-after-information
click 150 390              # the play area
shot 4-round-selection
click 60 145               # round 1
shot 5-round
click 25 25                # back to the round selection
shot 6-round-selection-again
click 25 25                # back to the options screen
shot 7-options-again
click 455 25               # close: the farewell, then the end

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
[[ ! -e $work/game/Media/moredata.txt ]] || fail "progress written without a completed round"
echo "ok: screenshots in $shots"
