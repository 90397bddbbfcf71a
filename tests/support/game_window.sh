# Sourced by the scripts that drive the real game through its window with xdotool.

# Prints the id of SplitVerse's window once the game has finished starting (the
# trace file given holds "Init Finalized"); fails after 20 s without both.
game_window() {
  local trace=$1 window
  for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --name '^SplitVerse$' 2>/dev/null | head -1)
    if [[ -n $window ]] && grep -q "Init Finalized" "$trace" 2>/dev/null; then
      echo "$window"
      return 0
    fi
    sleep 0.05
  done
  return 1
}
