#!/usr/bin/env bash
# Runs one example program on a virtual X display of its own until the frame that
# TAVRICK_CAPTURE names, and compares the saved frame with the stored reference
# tests/examples/<name>.png (the tolerance is in compare_pictures.cpp).
#
# The examples that react to input are driven for real through X: once the window
# is up the program is stopped (SIGSTOP), the pointer and keys are moved with
# xdotool, and the program is continued. It then reads every queued event at its
# next frame flip, so the captured frame shows the same state however slowly the
# machine runs. The HTTP example fetches from its own page server, started first.
#
# With TAVRICK_UPDATE_REFERENCES=1 the frame becomes the new reference and is
# copied to docs/examples/ as well (tests/examples/update_references.sh does this
# for every example).
#
# Usage: run_example.sh NAME PROGRAM FRAME COMPARE SOURCE_DIR OUTPUT_DIR [SERVER]
set -uo pipefail

name=$1 program=$2 frame=$3 compare=$4 source=$5 output=$6 server=${7:-}
reference=$source/tests/examples/$name.png
work=$(mktemp -d)
xvfb_pid="" app_pid="" server_pid=""

cleanup() {
  [[ -n $app_pid ]] && kill -CONT "$app_pid" 2>/dev/null && kill "$app_pid" 2>/dev/null
  [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($name): $*" >&2
  for f in "$work"/out.txt "$work"/err.txt "$work"/server.txt "$work"/tmp/ErrorLog.txt; do
    [[ -s $f ]] && { echo "--- $(basename "$f")" >&2; tail -n 40 "$f" >&2; }
  done
  exit 1
}

# -noreset: a client connecting while the server resets after xdotool's last poll
# would be refused. -r: no auto-repeat, or a held key would go on typing for as long
# as the machine takes to reach the frame.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset -r 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 200); do
  [[ -s $work/display ]] && break
  sleep 0.05
done
[[ -s $work/display ]] || fail "no virtual display"
export DISPLAY=":$(head -1 "$work/display")"

arguments=()
if [[ -n $server ]]; then
  # The page server takes any free port and says which on its first line.
  "$server" 0 >"$work/server.txt" 2>&1 &
  server_pid=$!
  port=""
  for _ in $(seq 200); do
    port=$(sed -n 's/^serving on port \([0-9][0-9]*\)$/\1/p' "$work/server.txt")
    [[ -n $port ]] && break
    sleep 0.05
  done
  [[ -n $port ]] || fail "the page server did not start"
  arguments=(127.0.0.1 "$port" /hello.txt)
fi

# Started from the work folder, not its own: start-up must find Media/ by itself.
mkdir -p "$work/tmp"
(cd "$work" && exec env TAVRICK_CAPTURE="$frame:shot.png" TMPDIR="$work/tmp" SDL_VIDEODRIVER=x11 \
   SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 "$program" "${arguments[@]}" \
   >"$work/out.txt" 2>"$work/err.txt") &
app_pid=$!

window=""
wait_for_window() {
  for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -1)
    [[ -n $window ]] && grep -q "Init Finalized" "$work/tmp/ErrorLog.txt" 2>/dev/null && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended before its window was up"
    sleep 0.02
  done
  fail "the window did not appear"
}

# The input example: keys held, text typed, the pointer moved and its left button held.
drive_input() {
  xdotool windowfocus --sync "$window"
  xdotool keydown Left keydown space keydown z
  xdotool type --delay 0 "Tavrick"
  xdotool mousemove --window "$window" 412 286 mousedown 1
}

# The path example: the left button sets the goal where the pointer is.
drive_path_planning() {
  xdotool mousemove --window "$window" 548 408 mousedown 1
}

# The sound example: a click rings the bell there; Up raises the music's volume.
drive_sound() {
  xdotool windowfocus --sync "$window"
  xdotool keydown Up
  xdotool mousemove --window "$window" 440 200 mousedown 1
}

case $name in
  input|path_planning|sound)
    wait_for_window
    kill -STOP "$app_pid"
    "drive_$name" || fail "xdotool failed"
    kill -CONT "$app_pid"
    ;;
esac

status=""
for _ in $(seq 1200); do
  if ! kill -0 "$app_pid" 2>/dev/null; then
    wait "$app_pid"
    status=$?
    break
  fi
  sleep 0.05
done
[[ -n $status ]] || fail "the program did not end at frame $frame"
app_pid=""
[[ $status == 0 ]] || fail "exit status $status"
[[ $(tail -n 1 "$work/out.txt") == exit ]] || fail "the program did not end through the runtime's stop"
[[ -s $work/shot.png ]] || fail "no frame saved"
mkdir -p "$output"
rm -f "$output/$name-differences.png"
cp "$work/shot.png" "$output/$name.png"

if [[ ${TAVRICK_UPDATE_REFERENCES:-0} == 1 ]]; then
  cp "$work/shot.png" "$reference"
  mkdir -p "$source/docs/examples"
  cp "$work/shot.png" "$source/docs/examples/$name.png"
  echo "new reference: $reference"
  exit 0
fi
[[ -f $reference ]] || fail "no reference $reference (make one with TAVRICK_UPDATE_REFERENCES=1)"
"$compare" "$reference" "$output/$name.png" "$output/$name-differences.png" ||
  fail "the frame differs from $reference (the frame: $output/$name.png, the differences in red: $output/$name-differences.png)"
