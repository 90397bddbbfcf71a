#!/usr/bin/env bash
# Runs a test program on a virtual display of its own (1024x768) with the test
# window manager, so that windows can go full screen; TAVRICK_TEST_WINDOW_MANAGER=1
# tells the program the display has one.
# Usage: with_window_manager.sh <test_window_manager> <program> [arguments...]
set -uo pipefail

wm=$1
shift
source "$(dirname "$0")/../support/virtual_display.sh"
wm_pid=""
at_exit '[[ -n $wm_pid ]] && kill "$wm_pid" 2>/dev/null'

start_virtual_display
ready=$(mktemp)
at_exit 'rm -f "$ready"'
"$wm" >"$ready" &
wm_pid=$!
for _ in $(seq 100); do
  [[ -s $ready ]] && break
  sleep 0.05
done
[[ -s $ready ]] || { echo "FAIL: the test window manager did not start" >&2; exit 1; }

TAVRICK_TEST_WINDOW_MANAGER=1 LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy "$@"
