# A virtual X display of the test script's own, and clean-up that always runs.
# Source it from a bash test script:
#
#     source "$(dirname "$0")/../support/virtual_display.sh"
#     at_exit 'rm -rf "$work"'           # clean-up steps, run in reverse order
#     start_virtual_display               # Xvfb on a free display; exports DISPLAY
#     start_virtual_display 1600x1200     # the same with a screen of that size
#
# The display is a 1024x768x24 Xvfb (or of the size asked for) on the first free
# display number (the server picks it and tells it through -displayfd), without
# TCP, and with -noreset:
# without it the server resets whenever its last client leaves, and a program
# connecting during that reset (while xdotool polls for its window) is refused.
# start_virtual_display returns once the server answers a client; it exits the
# script with status 1 and a message when no server comes up.
#
# On exit (normal, an error, or SIGINT/SIGTERM/SIGHUP from a test runner's time
# limit) the clean-up steps run and the server is stopped. The server also stops
# by itself when the script dies without running them (SIGKILL): a watcher ends it
# once the script's process is gone.

_vd_exit_steps=()
_vd_xvfb_pid=""
_vd_watcher_pid=""
_vd_display_file=""

# Adds a command to run when the script ends; the last added runs first.
at_exit() { _vd_exit_steps+=("$1"); }

_vd_run_exit_steps() {
  local i
  for ((i = ${#_vd_exit_steps[@]} - 1; i >= 0; i--)); do
    eval "${_vd_exit_steps[i]}" || true
  done
  stop_virtual_display
}
trap _vd_run_exit_steps EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

stop_virtual_display() {
  if [[ -n $_vd_watcher_pid ]]; then
    kill "$_vd_watcher_pid" 2>/dev/null
    wait "$_vd_watcher_pid" 2>/dev/null
    _vd_watcher_pid=""
  fi
  if [[ -n $_vd_xvfb_pid ]]; then
    kill "$_vd_xvfb_pid" 2>/dev/null
    wait "$_vd_xvfb_pid" 2>/dev/null
    _vd_xvfb_pid=""
  fi
  [[ -n $_vd_display_file ]] && rm -f "$_vd_display_file"
  _vd_display_file=""
}

start_virtual_display() {
  local size=${1:-1024x768}
  stop_virtual_display
  _vd_display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset \
    3>"$_vd_display_file" </dev/null >/dev/null 2>&1 &
  _vd_xvfb_pid=$!
  # The watcher keeps no test output open, so the runner does not wait for it.
  local script_pid=$$ server_pid=$_vd_xvfb_pid
  (
    while kill -0 "$script_pid" 2>/dev/null && kill -0 "$server_pid" 2>/dev/null; do sleep 1; done
    kill "$server_pid" 2>/dev/null
  ) </dev/null >/dev/null 2>&1 &
  _vd_watcher_pid=$!

  local _
  for _ in $(seq 200); do
    [[ -s $_vd_display_file ]] && break
    kill -0 "$_vd_xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [[ ! -s $_vd_display_file ]]; then
    echo "FAIL: no virtual display (Xvfb did not start)" >&2
    exit 1
  fi
  export DISPLAY=":$(head -1 "$_vd_display_file")"
  # The number is written once the server listens; wait until it also answers.
  for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "FAIL: the virtual display $DISPLAY does not answer" >&2
  exit 1
}
