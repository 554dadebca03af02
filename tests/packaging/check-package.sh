#!/usr/bin/env bash
# The Debian package as a machine gets it, made from this build: it depends on the package of every
# QML module our QML imports (found here by reading the imports themselves, not the way the package
# derives them), and it carries a desktop entry, AppStream metadata and a manual page that their own
# validators accept.
#
#   check-package.sh BUILD_DIR SOURCE_DIR QT_QML_DIR
set -euo pipefail
build=$1 source=$2 qml=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/tessarin-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() { # check NAME COMMAND...: runs the command, counts and prints the outcome
  local name=$1; shift
  local output
  if output=$("$@" 2>&1); then
    passed=$((passed + 1)); echo "PASS   $name"
  else
    failed=$((failed + 1)); echo "FAIL!  $name"; [ -z "$output" ] || printf '%s\n' "$output" | sed 's/^/       /'
  fi
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"; echo "0 passed, 1 failed"; exit 1
fi
deb=$(find "$work" -maxdepth 1 -name 'tessarin_*.deb' | head -1)
dpkg-deb -x "$deb" "$work/root"
# "a (>= 1), b | c" -> one name a line: every alternative counts
dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/([^)]*)//; s/^ *//; s/ *$//' | sort -u >"$work/depends"

module_has_its_package() {
  local owner
  owner=$(dpkg-query -S "$1" | head -1 | cut -d: -f1)
  grep -qx "$owner" "$work/depends" || { echo "it comes from $owner, which the package does not depend on"; return 1; }
}
imports_of() { grep -hoE '^import +[A-Za-z][A-Za-z0-9_.]*' "$@" | awk '{print $2}' | grep -vE '^Tessarin(\.|$)' | sort -u; }
# Our imports, then those of each module's own QML files as its qmldir lists them (its implementation
# folder's too: QtQuick.Dialogs loads quickimpl without an import).
mapfile -t pending < <(imports_of $(find "$source/src" -name '*.qml'))
[ ${#pending[@]} -gt 0 ] || { echo "no QML import found under $source/src"; exit 1; }
declare -A direct seen
for module in "${pending[@]}"; do direct[$module]=1; done
while [ ${#pending[@]} -gt 0 ]; do
  module=${pending[0]}; pending=("${pending[@]:1}")
  [ -z "${seen[$module]:-}" ] || continue
  seen[$module]=1
  dir=$qml/${module//.//}
  if [ ! -f "$dir/qmldir" ]; then
    # Another platform's style, say; one of our own imports must be there.
    [ -z "${direct[$module]:-}" ] || check "$module is installed" false
    continue
  fi
  check "depends on the package of $module" module_has_its_package "$dir/qmldir"
  files=()
  for qmldir in "$dir/qmldir" "$dir"/*impl/qmldir; do
    [ -f "$qmldir" ] || continue
    while read -r file; do files+=("$(dirname "$qmldir")/$file"); done < <(awk '/^[A-Z][A-Za-z0-9_]* [0-9.]+ [^ ]+\.qml$/ {print $3}' "$qmldir")
  done
  [ ${#files[@]} -eq 0 ] || mapfile -t -O ${#pending[@]} pending < <(imports_of "${files[@]}")
done

for file in usr/bin/tessarin usr/share/applications/org.tessarin.Tessarin.desktop \
            usr/share/metainfo/org.tessarin.Tessarin.metainfo.xml usr/share/man/man1/tessarin.1.gz \
            usr/share/icons/hicolor/48x48/apps/org.tessarin.Tessarin.png; do
  check "holds /$file" test -s "$work/root/$file"
done
check "desktop entry valid" desktop-file-validate "$work/root/usr/share/applications/org.tessarin.Tessarin.desktop"
check "AppStream metadata valid" appstreamcli validate --no-net --no-color \
  "$work/root/usr/share/metainfo/org.tessarin.Tessarin.metainfo.xml"
man_page_clean() { # man prints troff's warnings on standard error, and still succeeds
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$1" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings"; return 1; }
  lexgrog "$1" | grep -q 'tessarin - '
}
check "manual page clean" man_page_clean "$work/root/usr/share/man/man1/tessarin.1.gz"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
