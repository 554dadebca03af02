#!/usr/bin/env bash
# Keeps the source tree's layout honest: the core includes nothing of the user interface, each feature
# folder uses only the core and the folders below it (in C++ includes and in QML imports), and no
# feature folder grows past about 2,500 lines.
#
#   check-layout.sh SOURCE_DIR
set -uo pipefail
src=${1:?source folder}/src
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

core=(client settings cache store presentation desktop)
# The user interface from the bottom up; the shell (app) sits on all of them.
layers=(ui/common ui/forms ui/attachments ui/navigation ui/detail ui/list ui/settings app)
declare -A uri=([ui/common]=Tessarin.Common [ui/forms]=Tessarin.Forms [ui/attachments]=Tessarin.Attachments [ui/navigation]=Tessarin.Navigation
  [ui/detail]=Tessarin.Detail
  [ui/list]=Tessarin.List [ui/settings]=Tessarin.Settings [app]=Tessarin)

for folder in "${core[@]}"; do
  [ -d "$src/$folder" ] || { fail "the core folder src/$folder is missing"; continue; }
  while IFS= read -r hit; do
    fail "the core includes the user interface: $hit"
  done < <(grep -rnE '#include "(ui|app)/' "$src/$folder")
  while IFS= read -r qml; do
    fail "QML in the core: $qml"
  done < <(find "$src/$folder" -name '*.qml')
done

for ((rank = 0; rank < ${#layers[@]}; rank++)); do
  folder=${layers[rank]}
  [ -d "$src/$folder" ] || { fail "src/$folder is missing"; continue; }
  allowed=()
  for ((below = 0; below < rank; below++)); do allowed+=("${layers[below]}"); done
  # C++: includes of another user-interface folder must name one below.
  while IFS=: read -r file line text; do
    target=$(sed -E 's|.*#include "((ui/[a-z]+)\|app)/.*|\1|' <<<"$text")
    [ "$target" = "$folder" ] && continue
    ok=0
    for a in "${allowed[@]}"; do [ "$a" = "$target" ] && ok=1; done
    [ $ok = 1 ] || fail "$folder reaches up to $target: ${file#"$src"/}:$line"
  done < <(grep -rnE '#include "(ui/[a-z]+|app)/' "$src/$folder" --include='*.h' --include='*.cpp')
  # QML: imports of our modules must name one below (or the folder's own).
  while IFS=: read -r file line text; do
    module=$(awk '{print $2}' <<<"$text")
    [ "$module" = Tessarin.Core ] && continue
    [ "$module" = "${uri[$folder]}" ] && continue
    ok=0
    for a in "${allowed[@]}"; do [ "${uri[$a]}" = "$module" ] && ok=1; done
    [ $ok = 1 ] || fail "$folder imports $module, which is not below it: ${file#"$src"/}:$line"
  done < <(grep -rnE '^import Tessarin(\.[A-Za-z]+)?\b' "$src/$folder" --include='*.qml')
  # Size: what a newcomer reads to find a screen.
  lines=$(find "$src/$folder" -maxdepth 1 \( -name '*.h' -o -name '*.cpp' -o -name '*.qml' \) -print0 |
    xargs -0 cat | wc -l)
  [ "$lines" -le 2500 ] || fail "src/$folder holds $lines lines, more than 2,500"
  echo "src/$folder: $lines lines"
done

if [ $failures -gt 0 ]; then
  echo "$failures layout rule(s) broken"
  exit 1
fi
echo "layout: every rule holds"
