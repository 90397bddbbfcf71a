#!/usr/bin/env bash
# SplitVerse's resident memory on its options screen and after round 1 has been
# played, in the X server of $DISPLAY. Plays a copy of the game folder (the program
# and its Media) with clicks sent by xdotool, where the game's deal file says the
# fragments lie (SPLITVERSE_DEAL_FILE, game/deal_file.h). Prints two lines:
#   framework=tavrick workload=resident program=splitverse-options rss_mb=... anon_mb=...
#   framework=tavrick workload=resident program=splitverse-round1 rss_mb=... anon_mb=...
#
#   bench/splitverse_resident.sh <folder with splitverse and Media> <work folder>
set -uo pipefail
source "$(dirname "$0")/../tests/support/game_window.sh"

source=$1 work=$2
command -v xdotool > /dev/null || { echo "splitverse_resident.sh: xdotool is missing" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work/game" "$work/tmp" "$work/data"
cp "$source/splitverse" "$work/game/"
cp -r "$source/Media" "$work/game/Media"
rm -f "$work/game/Media/moredata.txt"

(cd / && exec env TMPDIR="$work/tmp" XDG_DATA_HOME="$work/data" SPLITVERSE_DEAL_FILE="$work/deal.txt" \
    "$work/game/splitverse" > "$work/out.txt" 2>&1) &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT

fail() { echo "splitverse_resident.sh: $*" >&2; exit 1; }

resident() { # program
    awk -v prog="$1" '/^VmRSS:/ { rss = $2 } /^RssAnon:/ { anon = $2 }
        END { if (rss) printf "framework=tavrick workload=resident program=%s rss_mb=%.1f anon_mb=%.1f\n", prog, rss / 1024, anon / 1024 }' \
        "/proc/$pid/status"
}

window=$(game_window "$work/tmp/ErrorLog.txt") || fail "the window did not appear"

# A press held for a few frames, then the release (the game acts on the press and
# waits for the release).
click() {
    xdotool mousemove --window "$window" "$1" "$2" mousedown 1
    sleep 0.2
    xdotool mouseup 1
    sleep "${3:-0.25}"
}

# The options screen as a player finds it, everything loaded behind it.
sleep 3
resident splitverse-options

click 150 390 0.8   # the play area: the round selection
click 60 145 0.8    # round 1
for _ in $(seq 300); do
    [[ -s $work/deal.txt ]] && break
    sleep 0.05
done
[[ -s $work/deal.txt ]] || fail "the game wrote no deal"
while read -r word points; do
    set -- $points
    while (($# >= 2)); do
        click "$1" "$2" 0.2
        shift 2
    done
    click 410 600 0.4   # check
done < "$work/deal.txt"
# The banner grows, shrinks and stands for about 2.5 s; then the round selection.
sleep 4
[[ -s $work/data/SplitVerse/moredata.txt || -s $work/game/Media/moredata.txt ]] ||
    fail "round 1 was not completed (no progress saved)"
resident splitverse-round1
