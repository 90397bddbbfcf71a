#!/usr/bin/env bash
# End-to-end cases for the runtime core, each on a virtual X display of its own so
# that focus and input never mix with other tests running at the same time.
# Usage: end_to_end.sh <case> <splitverse> <core_probe> <x_close_request>
set -uo pipefail

case_name=$1 game=$2 probe=$3 close_request=$4
source "$(dirname "$0")/../support/virtual_display.sh"
work=$(mktemp -d)
app_pid=""
at_exit 'rm -rf "$work"'
at_exit '[[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null'

fail() {
  echo "FAIL ($case_name): $*" >&2
  for f in "$work"/out.txt "$work"/err.txt "$work"/tmp/ErrorLog.txt; do
    [[ -f $f ]] && { echo "--- $f" >&2; cat "$f" >&2; }
  done
  exit 1
}

# Starts a program from / (start-up must move to the program's own folder) with
# the trace file in the work folder.
start_program() {
  mkdir -p "$work/tmp"
  (cd / && exec env TMPDIR="$work/tmp" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
     "$1" >"$work/out.txt" 2>"$work/err.txt") &
  app_pid=$!
}

wait_for_window() {
  local title=$1
  for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
    [[ -n $window ]] && grep -q "Init Finalized" "$work/tmp/ErrorLog.txt" 2>/dev/null && return 0
    sleep 0.05
  done
  fail "window \"$title\" did not appear"
}

# Waits for the program to end and checks status 0 with "exit" as the last line.
expect_clean_exit() {
  local status=""
  for _ in $(seq 400); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
      wait "$app_pid"
      status=$?
      break
    fi
    sleep 0.05
  done
  [[ -n $status ]] || fail "the program did not end"
  app_pid=""
  [[ $status == 0 ]] || fail "exit status $status"
  [[ $(tail -1 "$work/out.txt") == exit ]] || fail "\"exit\" is not the last line of standard output"
  [[ $(grep -c '^exit$' "$work/out.txt") == 1 ]] || fail "\"exit\" printed more than once"
  grep -q "tvk is shut down" "$work/tmp/ErrorLog.txt" || fail "no shutdown in the trace"
}

count() { grep -c "^$1\$" "$work/out.txt"; }

# Gives a window the input focus, retrying while it is not mapped yet.
focus() {
  for _ in $(seq 100); do
    xdotool windowfocus "$1" 2>/dev/null
    [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]] && return 0
    sleep 0.05
  done
  fail "cannot focus window $1"
}

case $case_name in
  startup_trace)
    [[ -n $game ]] || { echo "no game built"; exit 0; }
    start_virtual_display
    # A directory where the trace file belongs is replaced by the file.
    mkdir -p "$work/tmp/ErrorLog.txt/old"
    start_program "$game"
    wait_for_window SplitVerse
    sed -e 's/^Texture size limit: [0-9][0-9]*$/Texture size limit: N/' \
        -e "s|^exepath=curdir= $(dirname "$game")\$|exepath=curdir= GAME|" \
        "$work/tmp/ErrorLog.txt" >"$work/trace.txt"
    cat >"$work/expected.txt" <<'LINES'
Start new log...
timer
rbow
rbow init
WIN32 init video
*** OpenGL Software Emulation - update driver!
get accurate timer - 1st call
flip - 1st call
BGRA ext supported
Texture size limit: N
init fbo
2D VP
OGRB init [OK]
Cptn
Network
Input
Window mode
Create DXin
reptr
getexe
cd
exepath=curdir= GAME
Init Finalized
LINES
    diff "$work/expected.txt" "$work/trace.txt" >&2 || fail "start-up trace differs"
    [[ $(xdotool getwindowgeometry "$window" | awk '/Geometry/{print $2}') == 480x640 ]] ||
      fail "the window is not 480x640"
    focus "$window"
    xdotool key Escape
    expect_clean_exit
    ;;
  escape)
    start_virtual_display
    start_program "$probe"
    wait_for_window CoreProbe
    focus "$window"
    xdotool key Escape
    expect_clean_exit
    [[ $(count "quit handler") == 1 ]] || fail "TVK_ON_QUIT not called exactly once"
    [[ $(grep '^cwd=' "$work/out.txt") == "cwd=$(dirname "$probe")" ]] ||
      fail "the program did not start in its own folder"
    ;;
  alt_f4)
    [[ -n $game ]] || { echo "no game built"; exit 0; }
    start_virtual_display
    start_program "$game"
    wait_for_window SplitVerse
    focus "$window"
    xdotool keydown Alt_L keydown F4
    expect_clean_exit
    xdotool keyup F4 keyup Alt_L
    ;;
  close_window)
    start_virtual_display
    start_program "$probe"
    wait_for_window CoreProbe
    "$close_request" "$window" || fail "cannot send the close request"
    expect_clean_exit
    [[ $(count "quit handler") == 1 ]] || fail "TVK_ON_QUIT not called exactly once"
    ;;
  focus_pause)
    start_virtual_display
    start_program "$probe"
    wait_for_window CoreProbe
    focus "$window"
    sleep 0.3
    root=$(xwininfo -root | awk '/Window id/{print $4}')
    xdotool windowfocus "$root"
    for _ in $(seq 100); do
      [[ $(xdotool getwindowname "$window") == "CoreProbe <pause>" ]] && break
      sleep 0.05
    done
    [[ $(xdotool getwindowname "$window") == "CoreProbe <pause>" ]] || fail "no <pause> in the title"
    sleep 0.3
    ticks_paused=$(count tick)
    sleep 1
    [[ $(count tick) == "$ticks_paused" ]] || fail "frames went on while paused"
    focus "$window"
    for _ in $(seq 100); do
      [[ $(xdotool getwindowname "$window") == CoreProbe ]] && break
      sleep 0.05
    done
    [[ $(xdotool getwindowname "$window") == CoreProbe ]] || fail "the title was not restored"
    sleep 1
    (( $(count tick) > ticks_paused )) || fail "frames did not go on after focus returned"
    xdotool key Escape
    expect_clean_exit
    [[ $(count "pause loop in showscreen/hibernate") == 1 ]] || fail "pause loop start not printed once"
    [[ $(count "pause loop ended") == 1 ]] || fail "pause loop end not printed once"
    [[ $(count "pause handler") == 1 ]] || fail "TVK_ON_PAUSE not called once"
    [[ $(count "resume handler") == 1 ]] || fail "TVK_ON_RESUME not called once"
    ;;
  no_display)
    [[ -n $game ]] || game=$probe
    mkdir -p "$work/tmp"
    env -u DISPLAY -u WAYLAND_DISPLAY TMPDIR="$work/tmp" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
      "$game" >"$work/out.txt" 2>"$work/err.txt"
    status=$?
    [[ $status != 0 ]] || fail "status 0 without a display"
    [[ $(wc -l <"$work/err.txt") == 1 ]] || fail "not one line on standard error"
    grep -q "cannot open a window" "$work/err.txt" || fail "the reason is missing"
    [[ ! -s $work/out.txt ]] || fail "standard output is not empty"
    ;;
  *)
    fail "unknown case"
    ;;
esac
echo "ok: $case_name"
