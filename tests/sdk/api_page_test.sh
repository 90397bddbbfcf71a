#!/usr/bin/env bash
# docs/api.md against the installed headers. Installs the SDK into a temporary
# prefix, has clang list every function that <tavrick/tavrick.h> declares directly
# in namespace tvk (not in tvk::detail or tvk::platform), and compares that list
# with the commands named on the page. Fails naming each command missing from the
# page and each one on the page that the headers do not declare.
#   api_page_test.sh BUILD_DIR SOURCE_DIR
#
# On the page, a command line starts with "- `" and its signatures are the code
# spans before the first " — "; the names are the identifiers right before a "("
# in those spans (operator== and operator<=> included). Overloads share a line.
set -euo pipefail
build=$1
source=$2
page=$source/docs/api.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

if ! command -v clang++ >/dev/null; then
  echo "error: clang++ is needed to read the headers (scripts/ensure-packages.sh test installs clang)" >&2
  exit 1
fi

cmake --install "$build" --prefix "$prefix" --component sdk >/dev/null

# The names the installed headers declare: a top-level NamespaceDecl of tvk in the
# AST dump is a line "|-NamespaceDecl ... tvk" (or "`-" for the last one), and its
# direct children are the lines indented by exactly one level ("| |-", "  `-", ...).
# A function is "FunctionDecl ... NAME 'TYPE'", a template "FunctionTemplateDecl ... NAME".
echo '#include <tavrick/tavrick.h>' >"$work/umbrella.cpp"
clang++ -std=c++20 -fsyntax-only -fno-color-diagnostics -Xclang -ast-dump \
  -I"$prefix/include/tavrick" -I"$prefix/include" "$work/umbrella.cpp" >"$work/ast.txt"
awk '
  /^[|`]-/ { in_tvk = ($0 ~ /^[|`]-NamespaceDecl .* tvk$/); next }
  in_tvk && /^[| ] [|`]-FunctionDecl / {
    line = $0; sub(/ '\''.*/, "", line); n = split(line, field, " "); print field[n]; next
  }
  in_tvk && /^[| ] [|`]-FunctionTemplateDecl / { n = split($0, field, " "); print field[n] }
' "$work/ast.txt" | sort -u >"$work/headers.txt"
if [[ $(wc -l <"$work/headers.txt") -lt 100 ]]; then
  echo "error: only $(wc -l <"$work/headers.txt") functions found in the headers; has clang's AST dump changed form?" >&2
  exit 1
fi

# The names on the page.
grep -E '^- `' "$page" | sed 's/ — .*//' | grep -oE '`[^`]+`' |
  grep -oE '(operator[^ (A-Za-z0-9_]+|[A-Za-z_][A-Za-z0-9_]*)\(' | sed 's/($//' | sort -u >"$work/page.txt"

status=0
while read -r name; do
  [[ -z $name ]] && continue
  where=$(grep -rlwF -- "$name" "$prefix/include/tavrick/runtime" | sed "s|^$prefix/include/tavrick/||" | sort | head -3 | tr '\n' ' ')
  echo "missing from docs/api.md: $name (declared in ${where% })" >&2
  status=1
done < <(comm -23 "$work/headers.txt" "$work/page.txt")
while read -r name; do
  [[ -z $name ]] && continue
  echo "on docs/api.md but not declared by <tavrick/tavrick.h> in namespace tvk: $name" >&2
  status=1
done < <(comm -13 "$work/headers.txt" "$work/page.txt")

if [[ $status -ne 0 ]]; then
  echo "docs/api.md and the installed headers disagree: give every program-level command a line on the page, or move an internal function out of the headers <tavrick/tavrick.h> includes" >&2
  exit 1
fi
echo "docs/api.md names all $(wc -l <"$work/headers.txt") functions that <tavrick/tavrick.h> declares in namespace tvk, and no others."
