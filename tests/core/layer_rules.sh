#!/usr/bin/env bash
# The runtime's layer rules as its sources show them, beside the link check the
# build makes: no file includes a header of a higher layer or of a sibling, and no
# file outside runtime/platform/ includes a system header of the operating system.
#   layer_rules.sh SOURCE_DIR
set -euo pipefail
cd "$1/runtime"

rank() {
  case $1 in
    platform) echo 0 ;;
    value) echo 1 ;;
    files) echo 2 ;;
    gfx | audio | input | net | native | path) echo 3 ;;
    core) echo 4 ;;
    *) echo 9 ;;
  esac
}

failures=0
while IFS= read -r file; do
  layer=${file%%/*}
  own=$(rank "$layer")
  while IFS= read -r included; do
    [[ -z $included || $included == "$layer" ]] && continue
    if (($(rank "$included") >= own)); then
      echo "error: $file includes a header of runtime/$included/, which is not below runtime/$layer/" >&2
      failures=$((failures + 1))
    fi
  done < <(sed -n 's|^#include "runtime/\([a-z_]*\)/.*|\1|p' "$file" | sort -u)
  if [[ $layer != platform ]] &&
     grep -nE '^#include <(unistd|fcntl|dlfcn|spawn|poll|netdb|signal|dirent|pthread|windows|winsock2)\.h>|^#include <(sys|arpa|netinet)/' "$file" >/dev/null; then
    echo "error: $file includes a system header; system calls belong behind runtime/platform/" >&2
    failures=$((failures + 1))
  fi
done < <(find platform value files gfx audio input net native path core -name '*.cpp' -o -name '*.h' | sort)

if ((failures > 0)); then
  echo "$failures layer rule(s) broken" >&2
  exit 1
fi
echo "Every runtime source keeps to its layer."
