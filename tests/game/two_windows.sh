#!/usr/bin/env bash
# Two copies of the real splitverse program on one virtual X display: the second
# copy's window opens a step (32 pixels) down and right of the first's, so that
# neither hides the other. Once the first copy is gone (killed, so nothing of its
# own clean-up runs), a third copy opens where the first did.
# Usage: two_windows.sh <splitverse>
set -uo pipefail

game=$1
source "$(dirname "$0")/../support/virtual_display.sh"
work=$(mktemp -d)
pids=()
at_exit 'rm -rf "$work"'
at_exit 'for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done'

fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/out-*.txt "$work"/err-*.txt; do
    [[ -f $f ]] && { echo "--- $f" >&2; cat "$f" >&2; }
  done
  exit 1
}

mkdir -p "$work/game" "$work/tmp" "$work/data"
cp "$game" "$work/game/splitverse"
cp -r "$(dirname "$game")/Media" "$work/game/Media"
rm -f "$work/game/Media/moredata.txt"

start_virtual_display

# Starts copy $1; its window's "x y" is left in $position.
start_copy() {
  (cd / && exec env TMPDIR="$work/tmp" XDG_DATA_HOME="$work/data" SDL_VIDEODRIVER=x11 \
     SDL_AUDIODRIVER=dummy "$work/game/splitverse" >"$work/out-$1.txt" 2>"$work/err-$1.txt") &
  pids+=($!)
  local pid=$! window=""
  # By process, as a window that has lost the focus is titled "SplitVerse <pause>".
  for _ in $(seq 400); do
    window=$(xdotool search --all --onlyvisible --pid "$pid" --name '^SplitVerse' 2>/dev/null | head -1)
    [[ -n $window ]] && break
    sleep 0.05
  done
  [[ -n $window ]] || fail "the window of copy $1 did not appear"
  # The window is shown first and placed by the first frame: wait until it stays.
  local last="" now
  for _ in $(seq 100); do
    now=$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y)=' | cut -d= -f2 | tr '\n' ' ')
    [[ -n $last && $now == "$last" ]] && break
    last=$now
    sleep 0.1
  done
  position=${now% }
}

start_copy 1
first=$position
start_copy 2
second=$position
read -r x1 y1 <<<"$first"
read -r x2 y2 <<<"$second"
[[ $x2 == $((x1 + 32)) && $y2 == $((y1 + 32)) ]] ||
  fail "copy 2 at $second, copy 1 at $first: expected one step down and right"

kill -9 "${pids[0]}"
wait "${pids[0]}" 2>/dev/null
start_copy 3
[[ $position == "$first" ]] || fail "copy 3 at $position after copy 1 ended; copy 1 was at $first"
echo "copy 1 at $first, copy 2 at $second, copy 3 at $position"
