#!/usr/bin/env bash
# Installs the MinGW-w64 cross toolchain, Wine and the build tools the Windows
# build needs, through apt and only what is missing (the list is the `windows`
# group of scripts/ensure-packages.sh, so there is one list to keep). apt's own
# output goes to a log that is shown only when the install fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

say() { echo "[windows-toolchain] $*"; }

log=$(mktemp -t tavrick-windows-toolchain.XXXXXX.log)
trap 'rm -f "$log"' EXIT

start=$SECONDS
if ! "$here/../ensure-packages.sh" windows >"$log" 2>&1; then
  cat "$log" >&2
  echo "error: installing the Windows toolchain failed (apt's output is above)." >&2
  echo "       Check the network and 'apt-get update', then run $0 again." >&2
  exit 1
fi
if grep -q '^Installing missing packages' "$log"; then
  say "installed $(sed -n 's/^Installing missing packages: //p' "$log") in $((SECONDS - start)) s"
fi

# The compilers are called by their -posix names in cmake/mingw-w64-x86_64.cmake:
# the win32 thread model has no std::thread or std::mutex.
for tool in x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix \
            x86_64-w64-mingw32-windres wine wineserver; do
  if ! command -v "$tool" >/dev/null; then
    echo "error: $tool is missing although its package is installed." >&2
    echo "       Reinstall it: apt-get install --reinstall --no-install-recommends \\" >&2
    echo "       g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64" >&2
    exit 1
  fi
done
