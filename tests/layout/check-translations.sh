#!/usr/bin/env bash
# Every text the program shows is in the catalogues, and each language's catalogue is complete: lupdate
# finds nothing new and nothing gone, and no translation is unfinished. Texts written where no
# translation function reaches them (a QML property given a bare string, a C++ sentence in a plain
# literal) are found too.
#
#   check-translations.sh LUPDATE SOURCE_DIR
set -uo pipefail
lupdate=${1:?lupdate}
root=${2:?source folder}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$root" || exit 1

shopt -s nullglob
catalogues=(translations/tessarin_*.ts)
[ ${#catalogues[@]} -ge 2 ] || fail "no catalogues in translations/"
for catalogue in "${catalogues[@]}"; do
  name=$(basename "$catalogue")
  cp "$catalogue" "$work/$name"
  # The options of scripts/update-translations.sh: the committed file is what it would write.
  options=(-locations none -no-obsolete -extensions cpp,h,qml)
  [ "$name" = tessarin_en.ts ] && options+=(-pluralonly)
  report=$("$lupdate" "${options[@]}" src -ts "$work/$name" 2>&1)
  if ! cmp -s "$catalogue" "$work/$name"; then
    counts=$(grep -E 'Found|obsolete' <<<"$report" | sed 's/^ *//' | paste -sd ';' -)
    fail "$catalogue is not current with src/ ($counts); run scripts/update-translations.sh and translate what is new"
    diff <(grep -o '<source>.*</source>' "$catalogue") <(grep -o '<source>.*</source>' "$work/$name") | grep '^[<>]' | head -20
  fi
  unfinished=$(grep -c 'type="unfinished"' "$catalogue")
  [ "$unfinished" = 0 ] || fail "$catalogue has $unfinished unfinished translation(s)"
  stale=$(grep -cE 'type="(obsolete|vanished)"' "$catalogue")
  [ "$stale" = 0 ] || fail "$catalogue has $stale obsolete translation(s)"
  # A translation that drops or invents a placeholder shows the wrong value, or none.
  python3 - "$catalogue" <<'PY' || failures=$((failures + 1))
import re, sys, xml.etree.ElementTree as ET
bad = 0
for message in ET.parse(sys.argv[1]).getroot().iter('message'):
    source = message.find('source').text or ''
    translation = message.find('translation')
    forms = [f.text or '' for f in translation.findall('numerusform')] or [translation.text or '']
    want = sorted(re.findall(r'%(?:\d|n)', source))
    for form in forms:
        if form and sorted(re.findall(r'%(?:\d|n)', form)) != want:
            print(f'FAIL: {sys.argv[1]}: the placeholders of "{source}" differ in "{form}"')
            bad += 1
sys.exit(1 if bad else 0)
PY
done

# QML: a property a person sees or hears, given a string no translation function reaches.
while IFS= read -r hit; do
  fail "a text outside qsTr(): $hit"
done < <(grep -rnE '\b(text|title|subtitle|placeholderText|Accessible\.name|Accessible\.description|ToolTip\.text|accessibleName|dialogTitle|chooseName|postText)\s*:\s*"[^"]*[A-Za-z]{2}' src --include=*.qml)
# C++: a sentence in a plain literal, outside the log and D-Bus's own error replies.
while IFS= read -r hit; do
  fail "a sentence outside tr(): $hit"
done < <(grep -rnE 'u"[A-Z][a-z]+ [a-z][^"]*"_s' src --include=*.cpp --include=*.h |
  grep -vE 'q(C)?(Warning|Debug|Info|Critical)|sendErrorReply|WindowTour')

[ $failures = 0 ] && echo "translations: ${#catalogues[@]} catalogues current and complete"
exit $((failures > 0))
