#!/usr/bin/env bash
# Taps every button of every screen of the real splitverse program in its real window
# on a virtual X display, each with `xdotool click 1`: press and release sent
# together, as a touchpad's tap-to-click sends them, so the game sees both in one
# frame. Each tap must be answered by the screen it is meant to change:
#   options: sound off and on, information (and the page's back button), play area;
#   round selection: round 1, played through with taps on its tiles, undo and check,
#     then every other round and the play screen's back button after each;
#   round selection's back button, the reset area, the options screen's close button;
#   and, in a game each, the close buttons of the information page, the round
#   selection and the play screen.
# The game writes where it dealt the fragments (SPLITVERSE_DEAL_FILE) when a round
# starts: the script reads the points of every word there, and each round's deal
# tells that a round came. A screen is known by its screenshot.
# Usage: tap_through.sh <splitverse> [shots]
set -uo pipefail

game=$1
source "$(dirname "$0")/../support/virtual_display.sh"
source "$(dirname "$0")/../support/game_window.sh"
work=$(mktemp -d)
shots=${2:-$work/shots}
app_pid=""
at_exit 'rm -rf "$work"'
at_exit '[[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null'

fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/out.txt "$work"/err.txt "$work"/tmp/ErrorLog.txt; do
    [[ -f $f ]] && { echo "--- $f" >&2; tail -40 "$f" >&2; }
  done
  exit 1
}

# The program and its media in a folder of their own; progress goes to a data folder.
mkdir -p "$work/game" "$work/tmp" "$shots"
cp "$game" "$work/game/splitverse"
cp -r "$(dirname "$game")/Media" "$work/game/Media"
rm -f "$work/game/Media/moredata.txt"

# SPLITVERSE_TEST_PACE stretches the waits for builds whose frames are slower.
pace=${SPLITVERSE_TEST_PACE:-1}
tries=$((60 * pace))

start_virtual_display

window=""
start_game() {
  rm -rf "$work/data" "$work/tmp/ErrorLog.txt" "$work/deal.txt" "$work/game/Media/moredata.txt"
  mkdir -p "$work/data"
  (cd / && exec env TMPDIR="$work/tmp" XDG_DATA_HOME="$work/data" SDL_VIDEODRIVER=x11 \
     SDL_AUDIODRIVER=dummy SPLITVERSE_DEAL_FILE="$work/deal.txt" \
     "$work/game/splitverse" >"$work/out.txt" 2>"$work/err.txt") &
  app_pid=$!
  window=$(game_window "$work/tmp/ErrorLog.txt") || fail "the window did not appear"
}

# The program ends by itself after the farewell, with status 0 and "exit" last.
wait_for_exit() {
  local status=""
  for _ in $(seq $((200 * pace))); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
      wait "$app_pid"
      status=$?
      break
    fi
    sleep 0.05
  done
  [[ -n $status ]] || fail "the program did not end after the farewell ($1)"
  app_pid=""
  [[ $status == 0 ]] || fail "exit status $status ($1)"
  [[ $(tail -1 "$work/out.txt") == exit ]] || fail "\"exit\" is not the last line of standard output ($1)"
}

tap() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

shot() { import -window "$window" "$shots/$1.png" 2>/dev/null || fail "no screenshot of $1"; }

# How much of a screenshot is not black, 0 to 1: every screen but the banner and
# the farewell is a picture all over; the window is black before the first frame.
covered() {
  local cover
  cover=$(convert "$shots/$1.png" -fill white +opaque black -format '%[fx:mean]' info:)
  awk -v c="$cover" 'BEGIN { exit !(c > 0.99) }'
}

# Waits until the screen is exactly the earlier screenshot <ref>.
wait_for() {
  local name=$1 ref=$2
  for _ in $(seq "$tries"); do
    shot "$name"
    cmp -s "$shots/$name.png" "$shots/$ref.png" && return 0
    sleep 0.05
  done
  fail "$3: the screen did not become $ref"
}

# Waits until a new screen has come and settled: a picture all over, the same in two
# shots apart (a shot can catch a frame half put on the screen), and unlike each of
# the earlier screenshots named after it.
wait_for_new() {
  local name=$1 why=$2 old ok
  shift 2
  for _ in $(seq "$tries"); do
    shot "$name"
    ok=1
    for old in "$@"; do
      cmp -s "$shots/$name.png" "$shots/$old.png" && ok=""
    done
    if [[ -n $ok ]]; then
      cp "$shots/$name.png" "$work/settling.png"
      sleep 0.1
      shot "$name"
      cmp -s "$shots/$name.png" "$work/settling.png" && covered "$name" && return 0
    fi
    sleep 0.05
  done
  fail "$why: no new screen came"
}

# The information page's colours drift, so it never settles: it is there once two
# shots in a row are unlike the options screen.
wait_for_page() {
  local seen=0
  for _ in $(seq "$tries"); do
    shot page
    if covered page && ! cmp -s "$shots/page.png" "$shots/options.png"; then
      seen=$((seen + 1))
      ((seen >= 2)) && return 0
    else
      seen=0
    fi
    sleep 0.15
  done
  fail "$1: the information page did not come"
}

# Waits for the deal of the round just chosen; the deal's words, sorted, name the round.
wait_for_deal() {
  for _ in $(seq $((100 * pace))); do
    [[ -s $work/deal.txt ]] && break
    sleep 0.05
  done
  [[ -s $work/deal.txt ]] || fail "$1: no round started (no deal written)"
  [[ $(grep -cE '^[A-Za-z]+( [0-9]+ [0-9]+){2,4}$' "$work/deal.txt") == 7 ]] ||
    fail "$1: not seven words with their points: $(cat "$work/deal.txt")"
  cut -d' ' -f1 "$work/deal.txt" | sort | tr '\n' ' ' >>"$work/rounds.txt"
  echo >>"$work/rounds.txt"
}

choose_round() {
  rm -f "$work/deal.txt"
  tap "$(( 85 * (($1 - 1) % 5 + 1) - 15 ))" "$(( 149 + 50 * (($1 - 1) / 5) ))"
  wait_for_deal "round $1"
}

readonly INFO="25 615" SOUND="455 615" PLAY="150 390" RESET="340 370"
readonly BACK="25 25" CLOSE="455 25" CHECK="410 600" UNDO="60 600"

# --- One game through every screen -------------------------------------------------
start_game
wait_for_new options "the first screen"
tap $SOUND
wait_for_new options-muted "sound off" options
tap $SOUND
wait_for options-sound options "sound on"
tap $INFO
wait_for_page "information"
tap $BACK
wait_for options-after-page options "back from the information page"
tap $PLAY
wait_for_new round-selection "play area" options

# Round 1 with taps only: a pick undone, then every word picked and checked.
choose_round 1
wait_for_new round-start "round 1" round-selection
deal=$(cat "$work/deal.txt")
set -- $(head -1 <<<"$deal")
tap "$2" "$3"
wait_for_new round-picked "a tile" round-start
tap $UNDO
wait_for round-undone round-start "undo"
# Each pick must show before the next tap: two taps within one frame are one tap.
before=round-start
n=0
while read -r word points; do
  n=$((n + 1))
  last=$before
  set -- $points
  while (($# >= 2)); do
    tap "$1" "$2"
    wait_for_new "pick" "a tap on a tile of $word" "$last"
    cp "$shots/pick.png" "$shots/last-pick.png"
    last=last-pick
    shift 2
  done
  tap $CHECK
  if ((n < 7)); then
    # A word found changes the screen; a wrong one would leave it as before the picks.
    wait_for_new "word-$n" "check $word" "$before" last-pick
    before=word-$n
  fi
done <<<"$deal"
wait_for_new round-selection-marked "the banner and back to the round selection" round-selection

# Every other round, and the play screen's back button from each.
for r in $(seq 2 50); do
  choose_round "$r"
  tap $BACK
  wait_for round-selection-now round-selection-marked "back from round $r"
done
[[ $(sort -u "$work/rounds.txt" | wc -l) == 50 ]] || fail "the 50 round buttons did not start 50 rounds"

tap $BACK
wait_for options-again options "back from the round selection"
tap $RESET
wait_for round-selection-reset round-selection "reset"
tap $BACK
wait_for options-after-reset options "back after the reset"
tap $CLOSE
wait_for_exit "close on the options screen"

# --- The other close buttons, a game each --------------------------------------------
start_game
wait_for options-start options "start"
tap $INFO
wait_for_page "information"
tap $CLOSE
wait_for_exit "close on the information page"

start_game
wait_for options-start options "start"
tap $PLAY
wait_for round-selection-now round-selection "play area"
tap $CLOSE
wait_for_exit "close on the round selection"

start_game
wait_for options-start options "start"
tap $PLAY
wait_for round-selection-now round-selection "play area"
: >"$work/rounds.txt"
choose_round 1
tap $CLOSE
wait_for_exit "close on the play screen"

echo "ok: every button of every screen answered a tap"
