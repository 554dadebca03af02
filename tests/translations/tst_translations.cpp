// The program in another language: the one chosen from the user's environment, plural forms in
// German and English, and the windows in German with every text of ours translated (a screen reader's
// names too) and none cut off, in English as well.

#include "Fixtures.h"
#include "QuickHarness.h"
#include "app/AppDelegate.h"
#include "app/ApplicationShell.h"
#include "app/Translations.h"
#include "settings/KeychainStore.h"
#include "ui/detail/TicketDetail.h"
#include "ui/list/ContentController.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

// A catalogue's texts as patterns that a shown text is matched against, whole; a placeholder stands for
// any text. Texts that are nothing but placeholders and punctuation ("%1 · %2") match anything and are
// left out.
struct Catalogue
{
    QList<QRegularExpression> translated; // the texts as the language shows them
    QList<QRegularExpression> english;    // the English sources whose translation differs
};

QRegularExpression pattern(const QString &text)
{
    QString expression = QRegularExpression::escape(text);
    expression.replace(QRegularExpression(uR"(%(\d|n))"_s), u".+"_s);
    return QRegularExpression(QRegularExpression::anchoredPattern(expression));
}

bool hasWords(const QString &text)
{
    return QString(text).remove(QRegularExpression(uR"(%(\d|n))"_s)).count(QRegularExpression(u"\\p{L}"_s)) >= 2;
}

Catalogue readCatalogue(const QString &language)
{
    Catalogue catalogue;
    QFile file(QStringLiteral(TESSARIN_CATALOGUES) + u"/tessarin_de.ts"_s);
    if (!file.open(QIODevice::ReadOnly))
        return catalogue;
    QXmlStreamReader xml(&file);
    QString source;
    QStringList forms;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"source")
            source = xml.readElementText();
        else if (xml.isStartElement() && xml.name() == u"translation" && xml.attributes().isEmpty())
            forms = {xml.readElementText(QXmlStreamReader::IncludeChildElements)};
        else if (xml.isStartElement() && xml.name() == u"numerusform")
            forms.append(xml.readElementText());
        else if (xml.isEndElement() && xml.name() == u"message") {
            forms.removeAll(QString());
            const bool differs = !forms.isEmpty() && forms.first() != source;
            if (language == u"de") {
                for (const QString &form : std::as_const(forms))
                    if (hasWords(form))
                        catalogue.translated.append(pattern(form));
                if (differs && hasWords(source))
                    catalogue.english.append(pattern(QString(source).replace(u"(s)"_s, u"s?"_s)));
            } else if (hasWords(source)) {
                catalogue.translated.append(pattern(QString(source).remove(u"(s)"_s)));
                if (source.contains(u"(s)"))
                    catalogue.translated.append(pattern(QString(source).replace(u"(s)"_s, u"s"_s)));
            }
            forms.clear();
        }
    }
    return catalogue;
}

bool matchesAny(const QList<QRegularExpression> &patterns, const QString &text)
{
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const QRegularExpression &p) { return p.match(text).hasMatch(); });
}

// Every string of the fake's sample data: what Jira supplies (statuses, names, field names) is shown as
// Jira sends it, in any language.
QSet<QString> jiraTexts()
{
    QSet<QString> texts;
    QFile file(FakeJira::sampleDataPath());
    if (!file.open(QIODevice::ReadOnly))
        return texts;
    const std::function<void(const QJsonValue &)> collect = [&](const QJsonValue &value) {
        if (value.isString())
            texts.insert(value.toString());
        for (const QJsonValue &child : value.toArray())
            collect(child);
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            collect(it.value());
    };
    collect(QJsonDocument::fromJson(file.readAll()).object());
    return texts;
}

qreal effectiveOpacity(const QQuickItem *item)
{
    qreal opacity = 1;
    for (; item; item = item->parentItem())
        opacity *= item->opacity();
    return opacity;
}

// What one window shows: texts of ours that are still English, and texts of ours cut off by their own
// width, by an item that clips, or by the window's edge. `checked` counts the texts of ours seen.
struct Findings
{
    QStringList faults;
    int checked = 0;
};

void inspectOnce(QQuickWindow *window, const Catalogue &catalogue, const QSet<QString> &jira, bool german,
                 Findings &findings)
{
    const auto isEnglish = [&](const QString &text) {
        if (!german || jira.contains(text))
            return false;
        const QStringList lines = text.split(u'\n');
        return std::any_of(lines.begin(), lines.end(),
                           [&](const QString &line) { return !jira.contains(line) && matchesAny(catalogue.english, line); });
    };
    const auto isOurs = [&](const QString &text) {
        const QStringList lines = text.split(u'\n');
        return std::any_of(lines.begin(), lines.end(),
                           [&](const QString &line) { return matchesAny(catalogue.translated, line); });
    };
    const QRectF windowRect(0, 0, window->width(), window->height());
    const std::function<void(QQuickItem *)> visit = [&](QQuickItem *item) {
        if (!item->isVisible() || effectiveOpacity(item) == 0)
            return;
        const QString where = item->objectName().isEmpty() ? QString::fromUtf8(item->metaObject()->className())
                                                           : item->objectName();
        if (QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(item)) {
            for (const QString &said : {accessible->text(QAccessible::Name), accessible->text(QAccessible::Description)})
                if (!said.isEmpty() && isEnglish(said))
                    findings.faults.append(u"a screen reader hears English: \"%1\" (%2)"_s.arg(said, where));
        }
        if (item->inherits("QQuickText")) {
            const QString text = item->property("text").toString();
            if (isEnglish(text))
                findings.faults.append(u"untranslated: \"%1\" (%2)"_s.arg(text, where));
            if (!text.isEmpty() && !text.startsWith(u'<') && isOurs(text)) {
                ++findings.checked;
                const qreal width = item->width(), painted = item->property("contentWidth").toReal();
                const int alignment = item->property("effectiveHorizontalAlignment").toInt();
                const qreal left = alignment == Qt::AlignRight ? width - painted
                    : alignment == Qt::AlignHCenter            ? (width - painted) / 2
                                                               : 0;
                const QRectF shown = item->mapRectToScene(QRectF(left, 0, painted, item->height()));
                QString cut;
                if (item->property("truncated").toBool())
                    cut = u"elided"_s;
                else if (painted > width + 1)
                    cut = u"%1 px wide in %2"_s.arg(qRound(painted)).arg(qRound(width));
                for (QQuickItem *above = item->parentItem(); above && cut.isEmpty(); above = above->parentItem()) {
                    if (!above->clip())
                        continue;
                    const QRectF box = above->mapRectToScene(above->boundingRect());
                    if (shown.bottom() <= box.top() || shown.top() >= box.bottom())
                        return; // scrolled out of sight
                    if (shown.left() < box.left() - 1 || shown.right() > box.right() + 1)
                        cut = u"cut by %1"_s.arg(above->objectName().isEmpty()
                                                     ? QString::fromUtf8(above->metaObject()->className())
                                                     : above->objectName());
                }
                if (cut.isEmpty() && shown.bottom() > windowRect.top() && shown.top() < windowRect.bottom() &&
                    (shown.left() < -1 || shown.right() > windowRect.right() + 1))
                    cut = u"past the window's edge"_s;
                bool scrolls = false;
                for (QQuickItem *above = item->parentItem(); above; above = above->parentItem())
                    scrolls = scrolls || above->inherits("QQuickFlickable");
                if (cut.isEmpty() && !scrolls && shown.bottom() > windowRect.bottom() + 1)
                    cut = u"below the window's edge"_s;
                if (!cut.isEmpty())
                    findings.faults.append(u"cut off: \"%1\" (%2): %3"_s.arg(text, where, cut));
            }
        }
        // A control (field, button, box) cut by the window's edge, whatever it shows.
        if (item->inherits("QQuickControl") && item->width() > 0) {
            const QRectF box = item->mapRectToScene(item->boundingRect());
            bool scrolls = false;
            for (QQuickItem *above = item->parentItem(); above; above = above->parentItem())
                scrolls = scrolls || above->inherits("QQuickFlickable") || above->clip();
            if (!scrolls && (box.left() < -1 || box.right() > windowRect.right() + 1 || box.bottom() > windowRect.bottom() + 1))
                findings.faults.append(u"past the window's edge: %1 at %2..%3 of %4"_s.arg(where)
                                           .arg(qRound(box.left()))
                                           .arg(qRound(box.right()))
                                           .arg(qRound(windowRect.right())));
        }
        for (QQuickItem *child : item->childItems())
            visit(child);
    };
    visit(window->contentItem()); // the popups' layer is in it too
}

// As the window settles: a layout may pass through a state with too little room (a scroll bar coming,
// a width not yet given) on its way, which no one sees for long. What stays is a fault.
void inspect(QQuickWindow *window, const Catalogue &catalogue, const QSet<QString> &jira, bool german,
             Findings &findings)
{
    Findings once;
    QDeadlineTimer settled(3000);
    do {
        once = {};
        inspectOnce(window, catalogue, jira, german, once);
    } while (!once.faults.isEmpty() && !settled.hasExpired() && (QTest::qWait(100), true));
    findings.faults += once.faults;
    findings.checked += once.checked;
}

// The bar item that opens this menu.
QQuickItem *menuBarItem(QQuickWindow *window, QObject *menu)
{
    for (QList<QQuickItem *> pending {window->contentItem()}; !pending.isEmpty();) {
        QQuickItem *candidate = pending.takeFirst();
        if (candidate->property("menu").value<QObject *>() == menu)
            return candidate;
        pending += candidate->childItems();
    }
    return nullptr;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QVERIFY2(KeychainStore::isServiceAvailable(), "this test needs the session's gnome-keyring");
        ApplicationShell::setUpApplication();
        QCOMPARE(Translations::available(), (QStringList {u"de"_s, u"en"_s}));
    }
    void cleanup() { Translations::install(u"en"_s); }

    void chosenLanguage_data()
    {
        QTest::addColumn<QStringList>("wanted");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("German") << QStringList {u"de"_s} << u"de"_s;
        QTest::newRow("German of Austria") << QStringList {u"de-AT"_s} << u"de"_s;
        QTest::newRow("as LANG writes it") << QStringList {u"de_DE.UTF-8"_s} << u"de"_s;
        QTest::newRow("with a modifier") << QStringList {u"de_DE@euro"_s} << u"de"_s;
        QTest::newRow("French first, then German") << QStringList {u"fr-FR"_s, u"de-DE"_s} << u"de"_s;
        QTest::newRow("English first, then German") << QStringList {u"en-GB"_s, u"de-DE"_s} << u"en"_s;
        QTest::newRow("French only") << QStringList {u"fr-FR"_s, u"fr"_s} << u"en"_s;
        QTest::newRow("C locale") << QStringList {u"C"_s} << u"en"_s;
        QTest::newRow("nothing set") << QStringList {} << u"en"_s;
    }
    void chosenLanguage()
    {
        QFETCH(QStringList, wanted);
        QFETCH(QString, chosen);
        QCOMPARE(Translations::choose(wanted, Translations::available()), chosen);
    }

    // The program itself, started as a user's session starts it: the language follows LANGUAGE, then
    // LC_ALL, LC_MESSAGES and LANG, as gettext reads them. Its --help says which it chose.
    void languageFromTheEnvironment_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<bool>("german");
        QTest::newRow("LANG") << QStringList {u"LANG=de_DE.UTF-8"_s} << true;
        QTest::newRow("LC_MESSAGES over LANG") << QStringList {u"LANG=en_US.UTF-8"_s, u"LC_MESSAGES=de_DE.UTF-8"_s}
                                              << true;
        QTest::newRow("LC_ALL over LC_MESSAGES")
            << QStringList {u"LC_MESSAGES=de_DE.UTF-8"_s, u"LC_ALL=en_US.UTF-8"_s} << false;
        QTest::newRow("LC_ALL over LANG") << QStringList {u"LANG=en_US.UTF-8"_s, u"LC_ALL=de_AT.UTF-8"_s} << true;
        QTest::newRow("LANGUAGE over all") << QStringList {u"LC_ALL=en_US.UTF-8"_s, u"LANGUAGE=de"_s} << true;
        QTest::newRow("LANGUAGE's second choice") << QStringList {u"LANG=en_US.UTF-8"_s, u"LANGUAGE=fr:de"_s} << true;
        QTest::newRow("a language without a catalogue") << QStringList {u"LANG=fr_FR.UTF-8"_s} << false;
        QTest::newRow("C") << QStringList {u"LANG=C.UTF-8"_s} << false;
    }
    void languageFromTheEnvironment()
    {
        QFETCH(QStringList, environment);
        QFETCH(bool, german);
        const char *description = "A desktop client for the Jira Server issues assigned to you.";
        Translations::install(u"de"_s);
        const QString inGerman = QCoreApplication::translate("main", description);
        QVERIFY(inGerman != QString::fromUtf8(description));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            env.remove(QString::fromLatin1(name));
        for (const QString &setting : std::as_const(environment))
            env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TESSARIN_PROGRAM), {u"--help"_s});
        QVERIFY(program.waitForFinished(30'000));
        const QString help = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(help.contains(german ? inGerman : QString::fromUtf8(description)), qPrintable(help));
    }

    void pluralForms_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("context");
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("comment");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("shown");
        const QByteArray issues = "%1, %n issue(s)", issuesWhy = "a source and how many issues it lists";
        const QByteArray minutes = "%n minute(s)", minutesWhy = "how often the list is refreshed";
        QTest::newRow("de, 1 issue") << u"de"_s << QByteArray("SourceList") << issues << issuesWhy << 1
                                     << u"%1, 1 Vorgang"_s;
        QTest::newRow("de, 3 issues") << u"de"_s << QByteArray("SourceList") << issues << issuesWhy << 3
                                      << u"%1, 3 Vorgänge"_s;
        QTest::newRow("en, 1 issue") << u"en"_s << QByteArray("SourceList") << issues << issuesWhy << 1
                                     << u"%1, 1 issue"_s;
        QTest::newRow("en, 0 issues") << u"en"_s << QByteArray("SourceList") << issues << issuesWhy << 0
                                      << u"%1, 0 issues"_s;
        QTest::newRow("de, 1 comment") << u"de"_s << QByteArray("TicketDetailView") << QByteArray("%n comment(s)")
                                       << QByteArray() << 1 << u"1 Kommentar"_s;
        QTest::newRow("de, 12 comments") << u"de"_s << QByteArray("TicketDetailView")
                                         << QByteArray("%n comment(s)") << QByteArray() << 12 << u"12 Kommentare"_s;
        QTest::newRow("en, 1 comment") << u"en"_s << QByteArray("TicketDetailView") << QByteArray("%n comment(s)")
                                       << QByteArray() << 1 << u"1 comment"_s;
        QTest::newRow("en, 2 comments") << u"en"_s << QByteArray("TicketDetailView")
                                        << QByteArray("%n comment(s)") << QByteArray() << 2 << u"2 comments"_s;
        QTest::newRow("de, 1 minute") << u"de"_s << QByteArray("SettingsController") << minutes << minutesWhy << 1
                                      << u"1 Minute"_s;
        QTest::newRow("de, 15 minutes") << u"de"_s << QByteArray("SettingsController") << minutes << minutesWhy
                                        << 15 << u"15 Minuten"_s;
        QTest::newRow("en, 1 minute") << u"en"_s << QByteArray("SettingsController") << minutes << minutesWhy << 1
                                      << u"1 minute"_s;
        QTest::newRow("en, 15 minutes") << u"en"_s << QByteArray("SettingsController") << minutes << minutesWhy
                                        << 15 << u"15 minutes"_s;
    }
    void pluralForms()
    {
        QFETCH(QString, language);
        QFETCH(QByteArray, context);
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, comment);
        QFETCH(int, count);
        QFETCH(QString, shown);
        QVERIFY(Translations::install(language));
        QCOMPARE(QCoreApplication::translate(context.constData(), source.constData(),
                                             comment.isEmpty() ? nullptr : comment.constData(), count),
                 shown);
    }

    // The main window with an issue and its comments, its menus, a transition's form over the pane, the
    // settings window and the network settings, at the sizes they open with.
    void windows_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("German") << u"de"_s;
        QTest::newRow("English") << u"en"_s;
    }
    void windows()
    {
        QFETCH(QString, language);
        QVERIFY(Translations::install(language));
        const bool german = language == u"de";
        const Catalogue catalogue = readCatalogue(language);
        QVERIFY(catalogue.translated.size() > 300);
        const QSet<QString> jira = jiraTexts();
        JiraFixture fixture;
        QVERIFY(fixture.isReady());
        QVERIFY(fixture.settings().waitForKeyring());
        Quick::failOnAnyWarning();

        ApplicationShell shell;
        QVERIFY(shell.start());
        QQuickWindow *main = shell.mainWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        auto *content = main->findChild<ContentController *>();
        QVERIFY(content);
        QTRY_VERIFY(content->store()->ticketCount() > 0);
        TicketDetail *detail = selectIssue(content, u"PLAT-417"_s);
        QVERIFY(detail);
        QTRY_VERIFY(!detail->comments().isEmpty() && !detail->transitionList().isEmpty());
        // Everything the pane shows of the issue, its attachments and related issues too.
        QTRY_VERIFY(Quick::shows(main, u"saveAttachment"_s) && Quick::shows(main, u"linkedIssue"_s));
        QTRY_VERIFY(Quick::visibleTexts(main->contentItem())
                        .contains(QCoreApplication::translate("TicketDetailView", "%n comment(s)", nullptr,
                                                              int(detail->comments().size()))));

        Findings findings;
        inspect(main, catalogue, jira, german, findings);
        QVERIFY2(findings.checked >= 25, qPrintable(QString::number(findings.checked)));
        for (const char *name : {"applicationMenu", "fileMenu"}) {
            QObject *menu = main->findChild<QObject *>(QLatin1String(name));
            QVERIFY(menu);
            Quick::click(menuBarItem(main, menu));
            QTRY_VERIFY(menu->property("opened").toBool());
            inspect(main, catalogue, jira, german, findings);
            QMetaObject::invokeMethod(menu, "close");
            QTRY_VERIFY(!menu->property("opened").toBool());
        }

        // The keys stay what they are in any language.
        QTest::keyClick(main, Qt::Key_K, Qt::ControlModifier);
        QTRY_VERIFY(Quick::shows(main, u"issueField"_s));
        inspect(main, catalogue, jira, german, findings);
        QTest::keyClick(main, Qt::Key_Escape);
        QTRY_VERIFY(!Quick::shows(main, u"issueField"_s));

        detail->chooseTransition(u"51"_s); // "Done" asks for a resolution
        QTRY_VERIFY(Quick::shows(main, u"sendForm"_s));
        inspect(main, catalogue, jira, german, findings);
        QTest::keyClick(main, Qt::Key_Escape);
        QTRY_VERIFY(!Quick::shows(main, u"sendForm"_s));

        // A dialog with standard buttons, whose words come from Qt's own catalogue.
        QMetaObject::invokeMethod(Quick::item(main, u"deleteAttachment"_s), "triggered"); // below the fold
        const QString question = QCoreApplication::translate("AttachmentDialogs", "Delete this attachment?");
        QTRY_VERIFY(Quick::visibleTexts(main->contentItem()).contains(question));
        inspect(main, catalogue, jira, german, findings);
        QTest::keyClick(main, Qt::Key_Escape);
        QTRY_VERIFY(!Quick::visibleTexts(main->contentItem()).contains(question));

        // The settings window, each of its pages.
        const int beforeSettings = findings.checked;
        shell.delegate()->showSettings();
        QQuickWindow *settings = shell.delegate()->settingsWindow();
        QVERIFY(settings && QTest::qWaitForWindowExposed(settings));
        // Centred over the main window at the size its pages need in this language, which may be more
        // than the size it was made with.
        QVERIFY2(settings->width() >= settings->minimumWidth() && settings->height() >= settings->minimumHeight(),
                 qPrintable(u"%1x%2, at least %3x%4"_s.arg(settings->width()).arg(settings->height())
                                .arg(settings->minimumWidth()).arg(settings->minimumHeight())));
        const QPoint off = settings->geometry().center() - main->geometry().center();
        const QRect available = settings->screen()->availableGeometry();
        const bool atEdge = settings->geometry().left() == available.left() || settings->geometry().right() == available.right()
            || settings->geometry().top() == available.top() || settings->geometry().bottom() == available.bottom();
        QVERIFY2(atEdge || (std::abs(off.x()) <= 2 && std::abs(off.y()) <= 2), qPrintable(u"off by %1,%2"_s.arg(off.x()).arg(off.y())));
        QObject *view = nullptr;
        for (QObject *object : settings->findChildren<QObject *>())
            view = object->metaObject()->indexOfMethod("showPage(QVariant)") >= 0 ? object : view;
        QVERIFY(view);
        const QList<QQuickItem *> pages = Quick::item(settings, u"settingsPages"_s)->childItems();
        QCOMPARE(pages.size(), 4);
        for (int page = 0; page < pages.size(); ++page) {
            QMetaObject::invokeMethod(view, "showPage", Q_ARG(QVariant, page));
            QTRY_VERIFY(pages.at(page)->isVisible());
            inspect(settings, catalogue, jira, german, findings);
        }
        QVERIFY2(findings.checked >= beforeSettings + 20, qPrintable(QString::number(findings.checked - beforeSettings)));
        QVERIFY2(findings.faults.isEmpty(), qPrintable(findings.faults.join(u'\n')));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"

