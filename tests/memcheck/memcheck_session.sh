#!/usr/bin/env bash
# Runs the scripted game session under valgrind's memcheck and fails on:
#   - any memory error (invalid read or write, uninitialised value, bad free),
#   - a definite leak (any left after the suppressions for the system libraries),
#   - a session that does not end through the farewell ("exit", status 0) with
#     round 1 saved in the progress file.
# Usage: memcheck_session.sh <valgrind> <session program> <game media folder> <supp>...
set -uo pipefail

valgrind=$1 session=$2 media=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/out.txt "$work"/err.txt; do
    [[ -s $f ]] && { echo "--- $f" >&2; tail -20 "$f" >&2; }
  done
  [[ -f $work/memcheck.txt ]] && { echo "--- valgrind" >&2; cat "$work/memcheck.txt" >&2; }
  exit 1
}

# The program and a copy of the game's media in a folder of their own: the session
# saves its progress there, never in the source tree.
mkdir -p "$work/game" "$work/tmp" "$work/data"
cp "$session" "$work/game/session"
cp -r "$media" "$work/game/Media"
rm -f "$work/game/Media/moredata.txt" "$work/game/Media/moredata.txt.new"

supp_args=()
for s in "$@"; do supp_args+=("--suppressions=$s"); done

# Software GL with no X server; the dummy audio driver. Valgrind runs one thread
# at a time, so llvmpipe's rasteriser threads would only add switching: the
# driver draws on the calling thread. --keep-debuginfo keeps the names of the GL
# driver's code after it is unloaded at exit, so its leaks can be told apart
# from the project's (see the .supp files).
start=$(date +%s)
(cd / && exec env -u DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
   LIBGL_ALWAYS_SOFTWARE=1 LP_NUM_THREADS=0 TMPDIR="$work/tmp" XDG_DATA_HOME="$work/data" \
   "$valgrind" --tool=memcheck --error-exitcode=99 --leak-check=full \
     --errors-for-leak-kinds=definite --show-leak-kinds=definite --num-callers=40 \
     --track-origins=no --keep-debuginfo=yes --log-file="$work/memcheck.txt" "${supp_args[@]}" \
     "$work/game/session" >"$work/out.txt" 2>"$work/err.txt")
status=$?
echo "session under memcheck: $(( $(date +%s) - start )) s, status $status"

[[ -s $work/memcheck.txt ]] || fail "valgrind wrote no report"
summary=$(grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|suppressed:" "$work/memcheck.txt")
echo "$summary"
grep -qE "^==[0-9]+== (Invalid (read|write|free)|Mismatched free|Conditional jump|Use of uninitialised|Syscall param)" \
  "$work/memcheck.txt" && fail "memory errors"
grep -q "definitely lost in" "$work/memcheck.txt" && fail "definite leaks"
[[ $status == 99 ]] && fail "valgrind counted errors"
[[ $status == 0 ]] || fail "session status $status"
[[ $(tail -1 "$work/out.txt") == exit ]] || fail "\"exit\" is not the last line of standard output"
[[ -s $work/game/Media/moredata.txt ]] || fail "round 1 was not saved"
echo "ok"
