#!/usr/bin/env bash
# Runs a command with Wine ready for Windows programs, on a virtual X display:
#
#   scripts/windows/with-wine.sh ctest --test-dir build-win --output-on-failure
#   scripts/windows/with-wine.sh wine build-win/splitverse.exe
#
# Before the command: the Wine prefix exists and is prepared, and the Wine
# services run (`wineserver -p; wine wineboot`), so that the first program
# ctest starts is not counted as a timeout while Wine boots. After it, whatever
# its outcome (also on Ctrl-C): `wineserver -k`, so no Wine process outlives the
# run. The exit status is the command's.
#
# The prefix lives outside the clone, in
#   ${TAVRICK_WINEPREFIX:-${XDG_CACHE_HOME:-~/.cache}/tavrick/wine-prefix-<wine version>}
# because a new one costs 10-12 s and 700 MB while it holds nothing of the
# project: fresh clones (CI) and wiped build folders reuse it. It is per Wine
# version, since Wine rewrites a prefix made by another version on first use.
# Runs from several clones take turns on it (a lock): `wineserver -k` at the end
# of one would otherwise kill the programs of another. Point TAVRICK_WINEPREFIX
# at a folder of your own (under a build folder, say) for a private prefix.
set -euo pipefail

say() { echo "[with-wine] $*" >&2; }

fail() {
  echo "error: $1" >&2
  shift
  local line
  for line in "$@"; do echo "       $line" >&2; done
  exit 1
}

# No Mono or Gecko install prompts (the programs need neither), no debug chatter,
# and no menu entries or file associations written into the host's home.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
# Xvfb has no GPU: Wine's OpenGL goes to Mesa's software renderer.
export LIBGL_ALWAYS_SOFTWARE=1

if [[ ${1:-} != --on-display ]]; then
  (($# > 0)) || fail "no command given." "Usage: $0 COMMAND [ARG...]"
  for tool in wine wineserver xvfb-run flock; do
    command -v "$tool" >/dev/null ||
      fail "$tool is missing." "Install the Windows toolchain and Wine: scripts/windows/install-toolchain.sh"
  done
  wine_version=$(wine --version)
  wine_version=${wine_version#wine-}
  WINEPREFIX=${TAVRICK_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tavrick/wine-prefix-${wine_version%% *}}
  export WINEPREFIX
  mkdir -p "$(dirname "$WINEPREFIX")"

  exec 9>"$WINEPREFIX.lock"
  if ! flock -n 9; then
    say "another run is using the Wine prefix $WINEPREFIX; waiting for it"
    flock 9
  fi
  # The lock (descriptor 9) is inherited by everything below and released when
  # the last of it exits.
  exec xvfb-run -a -s '-screen 0 1024x768x24 -noreset' "$0" --on-display "$@"
fi
shift

# From here on: inside the virtual display, holding the prefix's lock.
stop_wine() { wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A prefix counts once its stamp is written; one left half-made by an
# interrupted run, or prepared by an older version of the steps below
# (`prepared`), is made again.
prepared=2
if [[ $(cat "$WINEPREFIX/.tavrick-ready" 2>/dev/null) != "$prepared" ]]; then
  say "creating the Wine prefix $WINEPREFIX (once; 10-35 s)"
  started=$SECONDS
  rm -rf "$WINEPREFIX"
  log=$(mktemp)
  if ! { wine wineboot --init &&
         # A crashing program would otherwise leave a dialog on the virtual
         # display and hang the run; without it, it ends with a backtrace.
         wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
         # Present Windows 10, what players run today (a new prefix says Windows 7).
         wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f &&
         wineserver -w; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    fail "creating the Wine prefix $WINEPREFIX failed (Wine's output is above)." \
         "Remove that folder and try again; if it fails again, reinstall Wine: scripts/windows/install-toolchain.sh"
  fi
  rm -f "$log"
  echo "$prepared" >"$WINEPREFIX/.tavrick-ready"
  say "Wine prefix ready in $((SECONDS - started)) s"
fi

# Keep one wineserver for the whole run (each program start then costs about
# 0.06 s instead of 0.5 s) and start the prefix's services before the first program.
wineserver -p
wine wineboot >/dev/null 2>&1 || fail "starting Wine's services (wine wineboot) failed in $WINEPREFIX."

status=0
"$@" || status=$?
exit "$status"
