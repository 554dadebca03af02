#include "QuickHarness.h"

#include "app/AppDelegate.h"
#include "app/QmlModules.h"
#include "settings/AppSettings.h"
#include "store/TicketStore.h"
#include "ui/common/JiraImageAccess.h"
#include "ui/detail/TicketDetail.h"
#include "ui/list/ContentController.h"

#include <QRegularExpression>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace Quick {

void failOnAnyWarning()
{
    QTest::failOnWarning(
        QRegularExpression(u"^(?!This plugin does not support (raise|propagateSizeHints)\\(\\)$)"_s));
}

namespace {

// Searches the object tree and the item tree, breadth first: a Repeater's items have no object parent.
QQuickItem *find(QObject *root, const QString &name)
{
    QSet<QObject *> seen;
    for (QList<QObject *> pending {root}; !pending.isEmpty();) {
        QObject *node = pending.takeFirst();
        if (!node || seen.contains(node))
            continue;
        seen.insert(node);
        auto *item = qobject_cast<QQuickItem *>(node);
        if (item && node->objectName() == name)
            return item;
        pending += node->children();
        if (item)
            pending += QList<QObject *>(item->childItems().cbegin(), item->childItems().cend());
        else if (auto *window = qobject_cast<QQuickWindow *>(node))
            pending.append(window->contentItem());
    }
    return nullptr;
}

} // namespace

QQuickItem *item(QObject *root, const QString &name)
{
    QQuickItem *found = find(root, name);
    if (!found)
        QTest::qFail(qPrintable(u"no item named "_s + name), __FILE__, __LINE__);
    return found;
}

bool shows(QObject *root, const QString &name)
{
    const QQuickItem *found = find(root, name);
    return found && found->isVisible();
}

QStringList visibleTexts(const QQuickItem *item)
{
    QStringList texts;
    if (!item || !item->isVisible())
        return texts;
    const QVariant text = item->property("text");
    if (!text.toString().isEmpty() && (item->inherits("QQuickText") || item->inherits("QQuickTextEdit")))
        texts.append(text.toString());
    for (const QQuickItem *child : item->childItems())
        texts += visibleTexts(child);
    return texts;
}

void click(QQuickItem *item)
{
    const QPointF centre(item->width() / 2, item->height() / 2);
    QTest::mouseClick(item->window(), Qt::LeftButton, {}, item->mapToScene(centre).toPoint());
}

void keyClicks(QWindow *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

void type(QQuickItem *item, const QString &text)
{
    item->forceActiveFocus();
    keyClicks(item->window(), text);
}

} // namespace Quick

MainContentHarness::MainContentHarness(AppSettings &settings)
    : m_imageAccess(std::make_unique<JiraImageAccess>(&settings))
{
    AppSettings::setShared(&settings);
}

MainContentHarness::~MainContentHarness()
{
    m_engine.reset();
    AppSettings::setShared(nullptr);
}

bool MainContentHarness::open()
{
    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engine->addImportPath(u"qrc:/"_s); // where the static QML modules keep their qmldir
    m_engine->setNetworkAccessManagerFactory(m_imageAccess.get());
    m_engine->loadData(
        "import QtQuick\nimport QtQuick.Controls\nimport Tessarin.List\nApplicationWindow { width: 1080; "
        "height: 680; visible: true; ContentView { anchors.fill: parent } }");
    return window() && QTest::qWaitForWindowExposed(window());
}

std::unique_ptr<ContentController> loadedContent(AppSettings &settings)
{
    auto content = std::make_unique<ContentController>();
    content->setSettings(&settings);
    QSignalSpy loaded(content->store(), &TicketStore::refreshFinished);
    content->appeared();
    if (!loaded.wait(10'000))
        return nullptr;
    return content;
}

TicketDetail *selectIssue(ContentController *content, const QString &key)
{
    for (const JiraIssue &issue : content->store()->tickets()) {
        if (issue.key == key)
            content->store()->setSelectedTicketID(issue.id);
    }
    TicketDetail *detail = content->detail();
    return detail && detail->key() == key ? detail : nullptr;
}

ContentController *MainContentHarness::controller() const
{
    return window() ? window()->findChild<ContentController *>() : nullptr;
}

SettingsWindowHarness::SettingsWindowHarness(AppSettings &settings)
    : m_delegate(std::make_unique<AppDelegate>(nullptr))
    , m_engine(std::make_unique<QQmlEngine>())
{
    AppSettings::setShared(&settings);
    AppDelegate::setShared(m_delegate.get());
    m_delegate->setEngine(m_engine.get());
}

SettingsWindowHarness::~SettingsWindowHarness()
{
    m_delegate->discardWindows();
    m_engine.reset();
    m_delegate.reset();
    AppSettings::setShared(nullptr);
}

bool SettingsWindowHarness::open()
{
    m_delegate->showSettings();
    return window() && QTest::qWaitForWindowActive(window());
}

bool SettingsWindowHarness::showPage(const QString &name) const
{
    QQuickItem *stack = item(u"settingsPages"_s);
    const QList<QQuickItem *> pages = stack ? stack->childItems() : QList<QQuickItem *>();
    const qsizetype index = std::find_if(pages.begin(), pages.end(),
                                         [&](const QQuickItem *page) { return page->objectName() == name; }) -
        pages.begin();
    for (QObject *object : window()->findChildren<QObject *>()) {
        if (index < pages.size() && object->metaObject()->indexOfMethod("showPage(QVariant)") >= 0) {
            QMetaObject::invokeMethod(object, "showPage", Q_ARG(QVariant, int(index)));
            return QTest::qWaitFor([&] { return pages.at(index)->isVisible(); });
        }
    }
    return false;
}

QQuickWindow *SettingsWindowHarness::window() const
{
    return m_delegate->settingsWindow();
}
