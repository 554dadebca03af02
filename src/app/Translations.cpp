#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const auto catalogueFolder = u":/i18n"_s;
const auto english = u"en"_s;

// Ours, then Qt's; they live as long as the application, or until another language replaces them.
std::vector<std::unique_ptr<QTranslator>> &installed()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

// "de_DE.UTF-8@euro" and "de-DE" both become "de_DE"; "C" and "POSIX" name no language.
QString normalised(QString language)
{
    language = language.section(u'.', 0, 0).section(u'@', 0, 0).replace(u'-', u'_');
    return language == u"C"_s || language == u"POSIX"_s ? QString() : language;
}

} // namespace

namespace Translations {

QStringList available()
{
    QStringList languages;
    const QStringList files = QDir(catalogueFolder).entryList({u"tessarin_*.qm"_s}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        languages.append(file.mid(9, file.size() - 12)); // between "tessarin_" and ".qm"
    return languages;
}

QString choose(const QStringList &userLanguages, const QStringList &available)
{
    for (const QString &wanted : userLanguages) {
        const QString language = normalised(wanted);
        if (language.isEmpty())
            continue;
        if (available.contains(language))
            return language;
        if (const QString alone = language.section(u'_', 0, 0); available.contains(alone))
            return alone;
    }
    return english;
}

bool install(const QString &language)
{
    for (const std::unique_ptr<QTranslator> &translator : installed())
        QCoreApplication::removeTranslator(translator.get());
    installed().clear();

    auto own = std::make_unique<QTranslator>();
    const bool loaded = own->load(u"tessarin_"_s + language, catalogueFolder);
    if (loaded) {
        QCoreApplication::installTranslator(own.get());
        installed().push_back(std::move(own));
    }
    // Qt's own texts in the same language, never in one the rest of the window is not in. Qt's English
    // is its source text.
    if (loaded && language != english) {
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(u"qt_"_s + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(qt.get());
            installed().push_back(std::move(qt));
        }
    }
    return loaded;
}

QString installForUser()
{
    // Qt reads LANGUAGE first, then the first of LC_ALL, LC_MESSAGES and LANG that is set.
    const QString language = choose(QLocale::system().uiLanguages(), available());
    install(language);
    return language;
}

} // namespace Translations
