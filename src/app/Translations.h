#pragma once
// The program's language. Its catalogues are compiled in; Qt's own (the file dialog, the dialogs'
// standard buttons) come from the system's Qt. The user's languages are read as gettext reads them:
// LANGUAGE (a list, first choice first), else LC_ALL, LC_MESSAGES, LANG. The first one Tessarin speaks
// is used, else English.

#include <QString>
#include <QStringList>

namespace Translations {

// The languages the program has catalogues for ("de", "en").
[[nodiscard]] QStringList available();

// The language of `available` to use for the user's languages in their order of preference ("de-AT",
// "de_DE.UTF-8", "pt-BR"…); a language without its territory is tried after it. English when none is.
[[nodiscard]] QString choose(const QStringList &userLanguages, const QStringList &available);

// Replaces the catalogues in use by those of `language` (one of `available`): the texts made from now
// on are in it. Returns whether the program's own catalogue loaded.
bool install(const QString &language);

// Installs the language chosen for this session's user; returns it.
QString installForUser();

} // namespace Translations
