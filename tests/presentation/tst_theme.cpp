// Priority and status category colours: the name tables, the two palettes, and the QML singleton.

#include "SealedSession.h"
#include "presentation/Theme.h"
#include "presentation/ThemeQml.h"

#include <QGuiApplication>
#include <QJSValue>
#include <QLocale>
#include <QPalette>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using Theme::Appearance;
using Theme::NamedColor;

// Generated with the core's QML module; calling it also links the registrations into this program.
void qml_register_types_Tessarin_Core();

class TestTheme : public QObject
{
    Q_OBJECT

    static void usePalette(const QColor &window)
    {
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::Window, window);
        QGuiApplication::setPalette(palette);
    }

private slots:
    void initTestCase()
    {
        requireSealedSession();
        // Turkish upper-cases i to İ and lower-cases I to ı: a locale-aware lower-casing would lose
        // "HIGHEST" here.
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        qml_register_types_Tessarin_Core();
    }

    void cleanup() { usePalette(Qt::white); }

    void priority_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<NamedColor>("expected");

        const std::pair<const char16_t *, NamedColor> table[] = {
            {u"highest", NamedColor::Red},     {u"blocker", NamedColor::Red},   {u"high", NamedColor::Orange},
            {u"critical", NamedColor::Orange}, {u"medium", NamedColor::Yellow}, {u"major", NamedColor::Yellow},
            {u"low", NamedColor::Blue},        {u"minor", NamedColor::Blue},    {u"lowest", NamedColor::Gray},
            {u"trivial", NamedColor::Gray},
        };
        for (const auto &[name, colour] : table) {
            const QString lower = QString::fromUtf16(name);
            const QString capitalised = lower.left(1).toUpper() + lower.mid(1);
            for (const QString &spelling : {lower, capitalised, lower.toUpper()})
                QTest::addRow("%s", qPrintable(spelling)) << spelling << colour;
        }
        QTest::newRow("mixed case") << u"bLoCkEr"_s << NamedColor::Red;

        QTest::newRow("leading blank") << u" High"_s << NamedColor::Secondary;
        QTest::newRow("trailing blank") << u"High "_s << NamedColor::Secondary;
        QTest::newRow("empty") << QString() << NamedColor::Secondary;
        QTest::newRow("not in the table") << u"Urgent"_s << NamedColor::Secondary;
        QTest::newRow("name plus more") << u"Highest!"_s << NamedColor::Secondary;
        // Unicode lower-cases the dotted capital I to i plus a combining dot, not to a plain i.
        QTest::newRow("dotted capital I") << u"H\u0130GHEST"_s << NamedColor::Secondary;
    }
    void priority()
    {
        QFETCH(QString, name);
        QFETCH(NamedColor, expected);
        QCOMPARE(Theme::priorityColorName(name), expected);
        QCOMPARE(Theme::priorityColor(name, Appearance::Dark), Theme::color(expected, Appearance::Dark));
    }

    void statusCategory_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<NamedColor>("expected");
        QTest::newRow("done") << u"done"_s << NamedColor::Green;
        QTest::newRow("indeterminate") << u"indeterminate"_s << NamedColor::Blue;
        QTest::newRow("new") << u"new"_s << NamedColor::Secondary;
        QTest::newRow("empty") << QString() << NamedColor::Secondary;
        QTest::newRow("capitalised Done") << u"Done"_s << NamedColor::Secondary;
        QTest::newRow("blank before done") << u" done"_s << NamedColor::Secondary;
        QTest::newRow("a category name, not a key") << u"In Progress"_s << NamedColor::Secondary;
    }
    void statusCategory()
    {
        QFETCH(QString, key);
        QFETCH(NamedColor, expected);
        QCOMPARE(Theme::statusCategoryColorName(key), expected);
        QCOMPARE(Theme::statusCategoryColor(key, Appearance::Light), Theme::color(expected, Appearance::Light));
    }

    // Each appearance needs seven colours that can be told apart, opaque, and lighter in the dark
    // variant than in the light one (dark text on white, light text on black).
    void palettes()
    {
        const NamedColor all[] = {NamedColor::Red,  NamedColor::Orange, NamedColor::Yellow,   NamedColor::Blue,
                                  NamedColor::Gray, NamedColor::Green,  NamedColor::Secondary};
        for (const Appearance appearance : {Appearance::Light, Appearance::Dark}) {
            QSet<QRgb> seen;
            for (const NamedColor name : all) {
                const QColor colour = Theme::color(name, appearance);
                QVERIFY(colour.isValid());
                QCOMPARE(colour.alpha(), 255);
                seen.insert(colour.rgba());
            }
            QCOMPARE(seen.size(), 7);
        }
        for (const NamedColor name : all) {
            QVERIFY2(Theme::color(name, Appearance::Light).lightnessF() <
                         Theme::color(name, Appearance::Dark).lightnessF(),
                     qPrintable(QString::number(int(name))));
        }
    }

    void singletonFollowsPaletteChanges()
    {
        ThemeQml theme;
        QVERIFY(!theme.isDark());
        QSignalSpy changed(&theme, &ThemeQml::isDarkChanged);

        usePalette(Qt::black);
        QCOMPARE(changed.size(), 1);
        QVERIFY(theme.isDark());
        QCOMPARE(Theme::systemAppearance(), Appearance::Dark);
        QCOMPARE(theme.statusColor(u"indeterminate"_s), Theme::color(NamedColor::Blue, Appearance::Dark));

        // Another dark palette is no change of appearance.
        usePalette(QColor(0x30, 0x30, 0x30));
        QCOMPARE(changed.size(), 1);

        usePalette(Qt::white);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(theme.priorityColor(u"Minor"_s), Theme::color(NamedColor::Blue, Appearance::Light));
    }

    // QML finds the singleton as Theme in Tessarin.Core, and its functions answer script calls.
    void reachableFromQml()
    {
        QQmlEngine engine;
        const int typeId = qmlTypeId("Tessarin.Core", 1, 0, "Theme");
        QVERIFY(typeId >= 0);
        auto *theme = engine.singletonInstance<ThemeQml *>(typeId);
        QVERIFY(theme);
        engine.globalObject().setProperty(u"Theme"_s, engine.newQObject(theme));

        const auto evaluate = [&engine](const QString &script) {
            const QJSValue value = engine.evaluate(script);
            if (value.isError())
                qWarning("%s", qPrintable(value.toString()));
            return value.toVariant();
        };
        QCOMPARE(evaluate(u"Theme.priorityColor('Critical')"_s).value<QColor>(),
                 Theme::color(NamedColor::Orange, Appearance::Light));
        QCOMPARE(evaluate(u"Theme.statusColor('done')"_s).value<QColor>(),
                 Theme::color(NamedColor::Green, Appearance::Light));
        QCOMPARE(evaluate(u"Theme.relativeTimeString('not a date')"_s).toString(), QString());
        QCOMPARE(evaluate(u"Theme.attributedFromHTML('') === undefined"_s).toBool(), true);
        QVERIFY(evaluate(u"Theme.attributedFromHTML('<p>caf\\u00e9</p>') ?? ''"_s).toString().contains(u"café"_s));
    }
};

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
