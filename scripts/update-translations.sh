#!/usr/bin/env bash
# Brings the catalogues in translations/ up to date with the texts in src/: new texts join each
# language's catalogue as unfinished, texts no longer used leave it. Then translate the unfinished
# entries (Qt Linguist: `linguist translations/tessarin_de.ts`) and build: the catalogues are compiled
# into the program.
#
#   scripts/update-translations.sh          every catalogue
#   scripts/update-translations.sh fr       also starts translations/tessarin_fr.ts for a new language
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
lupdate=/usr/lib/qt6/bin/lupdate
[ -x "$lupdate" ] || { echo "update-translations: run scripts/setup.sh first (qt6-l10n-tools)" >&2; exit 1; }

shopt -s nullglob
catalogues=(translations/tessarin_*.ts)
for language in "$@"; do
  [ -e "translations/tessarin_$language.ts" ] || catalogues+=("translations/tessarin_$language.ts")
done

for catalogue in "${catalogues[@]}"; do
  options=(-locations none -no-obsolete -extensions cpp,h,qml -silent)
  # English is the texts' own language: its catalogue holds only the plural forms ("1 issue", "2 issues").
  [ "$catalogue" = translations/tessarin_en.ts ] && options+=(-pluralonly)
  language=$(basename "$catalogue" .ts); language=${language#tessarin_}
  [ -e "$catalogue" ] || options+=(-target-language "$language")
  "$lupdate" "${options[@]}" src -ts "$catalogue"
done
