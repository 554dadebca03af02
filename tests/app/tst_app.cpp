// The main window against the fake Jira's sample team: which content the sidebar shows and what it
// says, rows and selection, the detail pane's loads and fallbacks, transitions end to end, and panes that
// go away mid-request. The QML is rendered offscreen; any warning fails.

#include "Fixtures.h"
#include "JiraJson.h"
#include "QuickHarness.h"
#include "SecretTool.h"
#include "presentation/CoarseClock.h"
#include "presentation/RelativeTime.h"
#include "presentation/Theme.h"
#include "settings/KeychainStore.h"
#include "store/ListCache.h"
#include "ui/common/JiraImageAccess.h"
#include "ui/common/MessageText.h"
#include "ui/detail/TicketDetail.h"
#include "ui/list/ContentController.h"
#include "ui/list/SourceList.h"

#include <QAccessible>
#include <QClipboard>
#include <QIcon>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Where an item's pixels are, in the window: a text's lines where its alignment puts them within its
// width, anything else its whole box.
QRectF shownRect(const QQuickItem *item)
{
    QRectF box(0, 0, item->width(), item->height());
    if (item->inherits("QQuickText")) {
        const qreal painted = item->property("contentWidth").toReal();
        const qreal left = item->property("leftPadding").toReal();
        const qreal room = item->width() - left - item->property("rightPadding").toReal();
        const int alignment = item->property("effectiveHorizontalAlignment").toInt();
        box.setLeft(left +
                    (alignment == Qt::AlignRight         ? room - painted
                         : alignment == Qt::AlignHCenter ? (room - painted) / 2
                                                         : 0));
        box.setWidth(painted);
    }
    return item->mapRectToScene(box);
}

// What a state draws: its texts, icons and controls that show, not the parts a control is made of.
QList<QQuickItem *> drawnParts(const QQuickItem *item)
{
    QList<QQuickItem *> parts;
    for (QQuickItem *child : item->childItems()) {
        if (!child->isVisible() || child->width() <= 0 || child->height() <= 0)
            continue;
        if (child->inherits("QQuickText") || child->inherits("QQuickImage") || child->inherits("QQuickControl"))
            parts.append(child);
        else
            parts += drawnParts(child);
    }
    return parts;
}

// How much of a box is drawn on, from 0 to 1: the pixels that differ from the one left of the box.
qreal inkCoverage(const QImage &shot, const QRect &box)
{
    const QColor background = shot.pixelColor(box.left() - 2, box.center().y());
    int inked = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            inked += qAbs(c.red() - background.red()) + qAbs(c.green() - background.green()) +
                    qAbs(c.blue() - background.blue()) >
                24;
        }
    }
    return qreal(inked) / (box.width() * box.height());
}

// The icon themes installed here, where a desktop session finds them: the offscreen platform looks in none.
QStringList installedIconThemes()
{
    return QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, u"icons"_s, QStandardPaths::LocateDirectory);
}

} // namespace

class TestApp : public JiraTestCase
{
    Q_OBJECT

    std::unique_ptr<ContentController> m_content;

    // The main window's state without its QML, loaded, with `key` selected.
    TicketDetail *showIssue(const QString &key)
    {
        if (!m_content)
            m_content = loadedContent(settings());
        return m_content ? select(m_content.get(), key) : nullptr;
    }
    static TicketDetail *select(ContentController *content, const QString &key) { return selectIssue(content, key); }

private slots:
    void initTestCase()
    {
        JiraTestCase::initTestCase();
        QIcon::setThemeSearchPaths(installedIconThemes());
        QIcon::setThemeName(u"breeze"_s);
    }
    void init()
    {
        Quick::failOnAnyWarning();
        JiraTestCase::init();
        m_fixture->point(u"/"_s); // as users type it: the trailing slash is the settings' to remove
    }
    void cleanup()
    {
        m_content.reset();
        JiraTestCase::cleanup();
        QIcon::setThemeSearchPaths(installedIconThemes());
    }

    // The window opened on a state shown in place of content, as a user comes to it: without a token, while
    // the first list loads, after it failed, with nothing assigned, or with "zzzz-no-match" typed into the
    // search over a loaded list.
    void openOnState(MainContentHarness &window, const QString &reached)
    {
        if (reached == u"unconfigured")
            settings().setToken(QString());
        if (reached == u"loading")
            jira().setDelay(20s); // longer than any wait of the test
        if (reached == u"error")
            jira().setCanned(JiraJson::searchPath, {500, "Jira is restarting", {}, {}});
        if (reached == u"nothing assigned")
            jira().setCanned(JiraJson::searchPath, JiraJson::json(JiraJson::searchBody({})));
        QVERIFY(window.open());
        if (reached == u"no match") {
            QTRY_VERIFY(window.shows(u"ticketList"_s));
            QVERIFY(window.controller()->store()->filteredCount() > 0);
            Quick::type(window.item(u"searchField"_s), u"zzzz-no-match"_s);
        }
    }

    void sidebarChoice_data()
    {
        QTest::addColumn<QList<bool>>("state"); // configured, has tickets, loading, failed, has filtered tickets
        QTest::addColumn<SidebarContent::Kind>("expected");
        using S = SidebarContent::Kind;
        using B = QList<bool>;
        QTest::newRow("unconfigured beats everything") << B {false, true, true, true, true} << S::Unconfigured;
        QTest::newRow("first load") << B {true, false, true, false, false} << S::Loading;
        QTest::newRow("first load after an error") << B {true, false, true, true, false} << S::Loading;
        QTest::newRow("refresh with a list shows the list") << B {true, true, true, false, true} << S::List;
        QTest::newRow("failed first load") << B {true, false, false, true, false} << S::Error;
        QTest::newRow("failed refresh keeps the list") << B {true, true, false, true, true} << S::List;
        QTest::newRow("nothing assigned") << B {true, false, false, false, false} << S::Empty;
        QTest::newRow("search matches nothing") << B {true, true, false, false, false} << S::Empty;
        QTest::newRow("failure hidden by a search matching nothing") << B {true, true, false, true, false} << S::Empty;
    }
    void sidebarChoice()
    {
        QFETCH(QList<bool>, state);
        QTEST(SidebarContent::choose(state[0], state[1], state[2], state[3], state[4]), "expected");
    }

    // Configured while the window is shown: the list comes without a Retry, one request once typing pauses,
    // and the automatic refresh runs from then on until the window goes. Clearing the token shows the
    // unconfigured state at once.
    void configuringRefreshesOnceTypingPauses()
    {
        settings().setToken(QString());
        ContentController content;
        content.setSettings(&settings());
        content.appeared();
        for (const QString &typed : {u"f"_s, u"fa"_s, jira().token()})
            settings().setToken(typed);
        QTRY_COMPARE(content.sidebarContent(), SidebarContent::List);
        QCOMPARE(m_fixture->searches(), 1);
        QTRY_VERIFY(content.store()->isAutoRefreshing());
        settings().setToken(QString());
        QCOMPARE(content.sidebarContent(), SidebarContent::Unconfigured);
        content.disappeared();
        QVERIFY(!content.store()->isAutoRefreshing());
    }

    // The footer says when the list was updated, how many of how many matches it shows when the server cut
    // the list short, and that the last refresh failed, its error as the description, until one succeeds.
    void footerTellsTheTruth()
    {
        MainContentHarness window(settings());
        QVERIFY(window.open());
        QTRY_VERIFY(window.shows(u"footer"_s));
        QQuickItem *footer = window.item(u"footer"_s);
        QSignalSpy finished(window.controller()->store(), &TicketStore::refreshFinished);
        // The server's page as the text it is: rendered, it would fetch the image.
        const QByteArray page = "<img src=\"" + jira().url().toEncoded() + "/pixel.png\"><h1>Restarting</h1>";
        jira().setCanned(JiraJson::searchPath, {503, page, {{"Content-Type", "text/html"}}, {}});
        window.controller()->refresh();
        QVERIFY(finished.wait(10'000));
        QVERIFY(footer->property("text").toString().endsWith(u" · Refresh failed"_s));
        QCOMPARE(QAccessible::queryAccessibleInterface(footer)->text(QAccessible::Description),
                 u"Jira returned an error (503): "_s + QString::fromUtf8(page) +
                     u"\n\nJira is unavailable, perhaps for maintenance. The next refresh tries again."_s);
        QTest::mouseMove(window.window(), footer->mapToScene({footer->width() / 2, 4}).toPoint());
        QTRY_VERIFY(footer->findChild<QObject *>(u"footerToolTip"_s)->property("opened").toBool());
        QTest::qWait(100);
        QCOMPARE(m_fixture->requestCount("GET", u"/pixel.png"_s), 0);
        const QJsonObject cut {{u"total"_s, 154},
                               {u"issues"_s, QJsonArray {JiraJson::issue(1, u"2030-01-01T00:00:00.000+0000"_s)}}};
        jira().setCanned(JiraJson::searchPath, JiraJson::json(QJsonDocument(cut).toJson()));
        window.controller()->refresh();
        QVERIFY(finished.wait(10'000));
        QVERIFY(footer->property("text").toString().startsWith(u"Updated "_s));
        QCOMPARE(footer->property("text").toString().section(u" · "_s, 1), u"1 of 154 shown"_s);
    }

    // Every phrase on screen moves with the window's one clock, which stops while the window is hidden and
    // reads the time again when it shows.
    void phrasesFollowTheClock()
    {
        QDateTime now = QDateTime::currentDateTimeUtc();
        CoarseClock *clock = CoarseClock::instance();
        clock->setTimeSource([&now] { return now; });
        const auto systemTime = qScopeGuard([clock] { clock->setTimeSource(nullptr); });
        MainContentHarness window(settings());
        QVERIFY(window.open());
        TicketDetail *detail = nullptr;
        QTRY_VERIFY((detail = select(window.controller(), u"PLAT-417"_s)) && !detail->commentList().isEmpty());
        QQuickItem *footer = window.item(u"footer"_s);
        QCOMPARE(footer->property("text").toString(), u"Updated 0 sec. ago"_s);
        QVERIFY(clock->isRunning());

        now = now.addSecs(3 * 3600 + 60);
        clock->update();
        QCOMPARE(footer->property("text").toString(), u"Updated 3 hr. ago"_s);
        for (const auto &[view, serverTime] : {std::pair(u"ticketList"_s, detail->issue().fields.updated),
                                               std::pair(u"detailView"_s, detail->commentList().last().created)})
            QVERIFY(Quick::visibleTexts(window.item(view)).contains(relativeTimeString(serverTime, now)));

        window.window()->hide();
        QVERIFY(!clock->isRunning());
        now = now.addDays(2);
        window.window()->show();
        QTRY_COMPARE(footer->property("text").toString(), u"Updated 2 days ago"_s);
    }

    // A refresh that reorders rows keeps the list where it was, the selected row in view; another issue
    // gets a view of its own, at its top.
    void placesKeptAndStartedAfresh()
    {
        const auto answer = [](int firstUpdated) { // PAY-2 … PAY-60 newest first, PAY-1 where it is told
            QJsonArray issues;
            for (int n = 1; n <= 60; ++n)
                issues.append(JiraJson::issue(
                    n, u"2024-01-01T10:%1:00.000+0000"_s.arg(n == 1 ? firstUpdated : 60 - n, 2, 10, QChar(u'0'))));
            return JiraJson::json(JiraJson::searchBody(issues));
        };
        jira().setCanned(JiraJson::searchPath, answer(0));
        MainContentHarness window(settings());
        QVERIFY(window.open());
        QQuickItem *list = window.item(u"ticketList"_s);
        QTRY_COMPARE(list->property("count").toInt(), 60);
        QMetaObject::invokeMethod(list, "positionViewAtIndex", Q_ARG(int, 30), Q_ARG(int, 1 /* Beginning */));
        window.controller()->store()->setSelectedTicketID(u"32"_s);
        const qreal scrolled = list->property("contentY").toReal();
        jira().setCanned(JiraJson::searchPath, answer(59)); // PAY-1 moves from the bottom to the top
        QVERIFY(scrolled > 0 && refreshed(*window.controller()->store()));
        QCOMPARE(list->property("contentY").toReal(), scrolled);
        QCOMPARE(list->property("currentIndex").toInt(), 31);

        const QPointer<QQuickItem> firstView = window.item(u"detailView"_s);
        window.controller()->store()->setSelectedTicketID(u"33"_s);
        QTRY_VERIFY(!firstView && window.shows(u"detailView"_s));
    }

    // The filter segments are one exclusive group: the mouse, the keyboard and a screen reader's Toggle and
    // Press each set the filter and the highlight together; the active segment stays active when clicked.
    void filterSegmentsAreOneGroup_data()
    {
        QTest::addColumn<QString>("way");
        for (const char *way : {"click", "space", "toggle action", "press action"})
            QTest::newRow(way) << QString::fromLatin1(way);
    }
    void filterSegmentsAreOneGroup()
    {
        QFETCH(QString, way);
        MainContentHarness window(settings());
        QVERIFY(window.open());
        TicketStore *store = window.controller()->store();
        QTRY_VERIFY(store->ticketCount() > 0);
        QList<QQuickItem *> segments = window.item(u"filterPicker"_s)->childItems();
        segments.removeIf([](const QQuickItem *child) { return !child->inherits("QQuickAbstractButton"); });
        for (int chosen : {3, 3, 1}) {
            QQuickItem *segment = segments.at(chosen);
            segment->forceActiveFocus(Qt::TabFocusReason);
            if (way == u"click" || way == u"space")
                way == u"click" ? Quick::click(segment) : QTest::keyClick(window.window(), Qt::Key_Space);
            else
                QAccessible::queryAccessibleInterface(segment)->actionInterface()->doAction(
                    way == u"toggle action" ? QAccessibleActionInterface::toggleAction()
                                            : QAccessibleActionInterface::pressAction());
            QCOMPARE(int(store->filter()), chosen);
            for (int i = 0; i < segments.size(); ++i)
                QCOMPARE(QAccessible::queryAccessibleInterface(segments.at(i))->state().checked, i == chosen);
        }
    }

    // Ctrl+C on the focused row copies "KEY Summary"; its context menu copies the key or the link.
    void copyFromARow_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("copied"); // %1: the server's URL
        QTest::newRow("Ctrl+C") << QString() << u"PLAT-417 Token refresh fails after the gateway restarts"_s;
        QTest::newRow("Copy Key") << u"copyKey"_s << u"PLAT-417"_s;
        QTest::newRow("Copy Link") << u"copyLink"_s << u"%1/browse/PLAT-417"_s;
    }
    void copyFromARow()
    {
        QFETCH(QString, way);
        QFETCH(QString, copied);
        MainContentHarness window(settings());
        QVERIFY(window.open());
        QTRY_VERIFY(select(window.controller(), u"PLAT-417"_s));
        QQuickItem *list = window.item(u"ticketList"_s);
        QQuickItem *row = list->property("currentItem").value<QQuickItem *>();
        list->forceActiveFocus();
        QTest::keyClick(window.window(), Qt::Key_C, Qt::ControlModifier);
        if (!way.isEmpty()) {
            QTest::mouseClick(window.window(), Qt::RightButton, {}, row->mapToScene({20, 10}).toPoint());
            QObject *menu = list->findChild<QObject *>(u"rowMenu"_s);
            QTRY_VERIFY(menu->property("opened").toBool());
            Quick::click(Quick::item(menu, way));
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), copied.replace(u"%1"_s, jira().url().toString()));
    }

    // What a screen reader meets: rows read in their on-screen order after a search is cleared, nothing
    // hidden in the tree, the list next after the search field on Tab, the status menu opened by Press.
    void whatAScreenReaderReads()
    {
        MainContentHarness window(settings());
        QVERIFY(window.open());
        TicketStore *store = window.controller()->store();
        QTRY_VERIFY(window.controller()->detail());
        Quick::type(window.item(u"searchField"_s), u"ra"_s);
        QTest::keySequence(window.window(), QKeySequence::SelectAll);
        QTest::keyClick(window.window(), Qt::Key_Backspace);
        QTest::keyClick(window.window(), Qt::Key_Tab);
        QVERIFY(window.item(u"ticketList"_s)->hasActiveFocus());
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(window.item(u"ticketList"_s));
        const auto heard = [list] {
            QStringList keys;
            for (int i = 0; i < list->childCount(); ++i) {
                if (list->child(i)->role() == QAccessible::ListItem)
                    keys.append(list->child(i)->text(QAccessible::Name).section(u' ', 0, 0));
            }
            return keys;
        };
        QTRY_COMPARE(heard(), keysOf(store->filteredTickets()).mid(0, std::max(qsizetype(4), heard().size())));

        for (QList<QAccessibleInterface *> pending {QAccessible::queryAccessibleInterface(window.window())};
             !pending.isEmpty();) {
            QAccessibleInterface *node = pending.takeFirst();
            for (int i = 0; i < node->childCount(); ++i)
                pending.append(node->child(i));
            if (auto *item = qobject_cast<QQuickItem *>(node->object()))
                QVERIFY2(item->isVisible(), qPrintable(node->text(QAccessible::Name)));
        }
        QQuickItem *status = window.item(u"statusMenu"_s);
        QAccessible::queryAccessibleInterface(status)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(status->findChild<QObject *>(u"statusMenuPopup"_s)->property("opened").toBool());
    }

    // A start with a list kept on disk shows it at once with its true age and selection; a failing server
    // then shows in the footer, the token stays in the keyring through a 503, a 401 and an unreachable
    // server, and the server's answer replaces the kept list.
    void startsWithTheKeptList()
    {
        const QJsonArray kept {JiraJson::issue(1, u"2030-01-01T00:00:00.000+0000"_s),
                               JiraJson::issue(2, u"2030-01-02T00:00:00.000+0000"_s)};
        QVERIFY(ListCache::save(ListCache::owner(settings().baseURL(), jira().token()), settings().baseURL(),
                                QDateTime::currentDateTimeUtc().addSecs(-3 * 3600), u"1"_s,
                                JiraJson::searchBody(kept)));
        jira().setCanned(JiraJson::searchPath, {503, "Jira is restarting", {}, {}});
        MainContentHarness window(settings());
        QVERIFY(window.open());
        TicketStore *store = window.controller()->store();
        QCOMPARE(keysOf(store->tickets()), (QStringList {u"PAY-2"_s, u"PAY-1"_s}));
        QCOMPARE(store->selectedTicketID(), u"1"_s);
        QQuickItem *footer = window.item(u"footer"_s);
        QTRY_COMPARE(footer->property("text").toString(), u"Updated 3 hr. ago · Refresh failed"_s);

        const QByteArray token = jira().token().toUtf8();
        for (int fault : {401, 0}) {
            if (fault == 401)
                jira().setCanned(JiraJson::searchPath, {401, "", {}, {}});
            else
                settings().setBaseURLString(u"http://127.0.0.1:1"_s);
            QVERIFY(refreshed(*store));
            QVERIFY(!store->errorMessage().isEmpty());
            settings().waitForKeyring();
            QCOMPARE(SecretTool::lookup(KeychainStore::serviceName, AppSettings::tokenAccount), token);
        }
        settings().setBaseURLString(jira().url().toString());
        jira().clearFaults();
        QVERIFY(refreshed(*store));
        QVERIFY(!store->showsCachedList() && store->ticketCount() > 2);
        QCOMPARE(footer->property("text").toString(), u"Updated 0 sec. ago"_s);
    }

    // Made for the kept list while the token is still being read at start, the pane loads once it is in.
    void paneOfTheKeptListLoadsOnceTheTokenIsIn()
    {
        QVERIFY(refreshed(*std::make_unique<TicketStore>(&settings())));
        QVERIFY(settings().waitForKeyring());
        AppSettings starting(nullptr, AppSettings::TokenRead::InBackground);
        ContentController content;
        content.setSettings(&starting);
        content.appeared();
        QVERIFY(starting.isReadingToken() && content.detail());
        QTRY_VERIFY(!starting.isReadingToken() && !content.detail()->isLoadingComments());
        QVERIFY(!content.detail()->commentsUnavailable() && !content.detail()->commentList().isEmpty());
    }

    // Each content of the sidebar as the user sees it, with its text.
    void sidebarOnScreen_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("text");
        QTest::newRow("unconfigured") << u"unconfiguredState"_s << u"Connect to Jira"_s;
        QTest::newRow("loading") << u"loadingState"_s << u"Loading tickets…"_s;
        QTest::newRow("error") << u"errorState"_s << u"Jira returned an error (500): <html><body>xxx"_s;
        QTest::newRow("nothing matches") << u"emptyState"_s << u"No issues match “zzz-no-match”"_s;
    }
    void sidebarOnScreen()
    {
        QFETCH(QString, state);
        QFETCH(QString, text);
        if (state == u"unconfiguredState")
            settings().setToken(QString());
        if (state == u"loadingState")
            jira().setDelay(400ms);
        // A whole error page is kept in the store but only its beginning is laid out on screen.
        const QByteArray page = "<html><body>" + QByteArray(2'000'000, 'x') + "</body></html>";
        if (state == u"errorState")
            jira().setCanned(JiraJson::searchPath, {500, page, {}, {}});
        MainContentHarness window(settings());
        QVERIFY(window.open());
        if (state == u"emptyState") {
            QTRY_VERIFY(window.shows(u"ticketList"_s));
            Quick::type(window.item(u"searchField"_s), u"zzz-no-match"_s);
        }
        QTRY_VERIFY(window.shows(state));
        const QString texts = u"\n"_s + Quick::visibleTexts(window.item(state)).join(u'\n');
        QVERIFY2(texts.contains(u"\n"_s + text), qPrintable(texts.left(300)));
        QCOMPARE(window.item(u"refreshButton"_s)->isEnabled(), state != u"loadingState");
        QVERIFY(!window.shows(u"footer"_s) || state == u"emptyState");
        if (state == u"unconfiguredState") {
            QVERIFY(window.shows(u"detailPlaceholder"_s));
            QCOMPARE(jira().requests().size(), 0);
        }
        if (state == u"errorState") {
            QCOMPARE(window.controller()->store()->errorMessage().size(), qsizetype(30 + page.size()));
            const QString shown = window.item(u"errorText"_s)->property("text").toString();
            QVERIFY(shown.endsWith(u'…') && shown.size() < 1000);
            jira().clearFaults();
            jira().setDelay(300ms);
            QMetaObject::invokeMethod(window.item(u"retryButton"_s), "clicked");
            QTRY_VERIFY(window.shows(u"loadingState"_s));
        }
        if (state == u"loadingState" || state == u"errorState") { // then the list, the newest issue beside it
            QTRY_VERIFY(window.shows(u"ticketList"_s));
            QVERIFY(window.item(u"footer"_s)->property("text").toString().startsWith(u"Updated "_s));
            QTRY_VERIFY(window.controller()->detail() && Quick::shows(window.window(), u"summary"_s));
            QTRY_COMPARE(window.item(u"summary"_s)->property("text").toString(),
                         window.controller()->detail()->summary());
        }
    }

    // An empty list says why it is empty: the words typed, the status chosen, the source; only the user's
    // own issues, none of them left, are cause for the party popper.
    void emptyStateSaysWhy_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("said");
        QTest::newRow("nothing assigned") << u"nothing assigned"_s << u"No tickets assigned to you"_s;
        QTest::newRow("search") << u"search"_s << u"No issues match “zzzz no match”"_s;
        QTest::newRow("status") << u"status"_s << u"No issues done"_s;
        QTest::newRow("another source") << u"another source"_s << u"No issues in “Watching”"_s;
    }
    void emptyStateSaysWhy()
    {
        QFETCH(QString, cause);
        QFETCH(QString, said);
        // Two issues, both still to do; none at all for the other sources.
        const QJsonArray open {JiraJson::issue(1, u"2030-01-01T00:00:00.000+0000"_s),
                               JiraJson::issue(2, u"2030-01-02T00:00:00.000+0000"_s)};
        jira().setCanned(JiraJson::searchPath,
                         JiraJson::json(JiraJson::searchBody(cause == u"nothing assigned" ? QJsonArray() : open)));
        MainContentHarness window(settings());
        QVERIFY(window.open());
        ContentController *content = window.controller();
        if (cause != u"nothing assigned") {
            QTRY_VERIFY(window.shows(u"ticketList"_s));
            QCOMPARE(content->store()->filteredCount(), 2);
        }
        if (cause == u"search")
            Quick::type(window.item(u"searchField"_s), u"  zzzz no match "_s);
        if (cause == u"status")
            content->store()->setFilter(StatusFilter::Done);
        if (cause == u"another source") {
            jira().setCanned(JiraJson::searchPath, JiraJson::json(JiraJson::searchBody({})));
            const QList<Source> &sources = content->sources()->sources();
            const auto watching = std::find_if(sources.begin(), sources.end(),
                                               [](const Source &source) { return source.kind == Source::Kind::Watching; });
            QVERIFY(watching != sources.end());
            content->selectSource(int(watching - sources.begin()));
        }
        QTRY_VERIFY(window.shows(u"emptyState"_s));
        QTRY_VERIFY2(window.item(u"emptyText"_s)->property("text").toString().startsWith(said),
                     qPrintable(window.item(u"emptyText"_s)->property("text").toString()));
        // The popper is the user's own list's alone.
        QCOMPARE(content->emptyText().contains(u"🎉"_s), cause == u"nothing assigned" && Theme::installedFontsDraw(u"🎉"_s));
    }

    // Each state the sidebar and the pane show in place of content, at a narrow and a wide column: what it
    // draws (icon or spinner, words, buttons) is centred across its column and stays inside it, the whole
    // centred down the column's free height; its icon is drawn, at its size; and no character of its words
    // lacks a font (Qt would draw an empty box).
    void statesCentred_data()
    {
        QTest::addColumn<QString>("reached");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("sidebar");
        QTest::addColumn<int>("windowWidth");
        const QList<std::array<const char *, 3>> states {
            {"unconfigured", "unconfiguredState", "sidebar"},
            {"loading", "loadingState", "sidebar"},
            {"error", "errorState", "sidebar"},
            {"no match", "emptyState", "sidebar"},
            {"nothing assigned", "emptyState", "sidebar"},
            {"unconfigured", "detailPlaceholder", "pane"},
        };
        for (const auto &[reached, state, column] : states) {
            for (const auto &[sidebar, windowWidth] : {std::pair(320, 640), std::pair(760, 1500)})
                QTest::addRow("%s, %s, %d px wide", reached, column,
                              qstrcmp(column, "pane") ? sidebar : windowWidth - sidebar)
                    << QString::fromLatin1(reached) << QString::fromLatin1(state) << sidebar << windowWidth;
        }
    }
    void statesCentred()
    {
        QFETCH(QString, reached);
        QFETCH(QString, state);
        QFETCH(int, sidebar);
        QFETCH(int, windowWidth);
        MainContentHarness window(settings());
        openOnState(window, reached);
        window.item(u"content"_s)->setProperty("sidebarWidth", sidebar);
        window.window()->setWidth(windowWidth);
        QTRY_VERIFY(window.shows(state));
        const bool inPane = state == u"detailPlaceholder";
        QQuickItem *columnItem = window.item(inPane ? u"detailArea"_s : u"sidebar"_s);
        QQuickItem *areaItem = inPane ? columnItem : window.item(u"sidebarStates"_s);
        QTRY_COMPARE(qRound(window.item(u"sidebar"_s)->width()), sidebar);

        QQuickItem *stateItem = window.item(state);
        const auto misplaced = [&] {
            // Measured each time: the sources above the states grow as the saved queries arrive.
            const QRectF column = columnItem->mapRectToScene(columnItem->boundingRect());
            const QRectF area = areaItem->mapRectToScene(areaItem->boundingRect());
            QStringList faults;
            if (!stateItem->isVisible())
                return u"no longer shown"_s;
            QRectF all;
            for (const QQuickItem *part : drawnParts(stateItem)) {
                const QRectF shown = shownRect(part);
                all |= shown;
                const QString name = part->objectName().isEmpty() ? QString::fromUtf8(part->metaObject()->className())
                                                                  : part->objectName();
                if (qAbs(shown.center().x() - column.center().x()) > 1.5 || shown.left() < column.left() ||
                    shown.right() > column.right())
                    faults.append(u"%1 at %2..%3 in %4..%5"_s.arg(name)
                                      .arg(shown.left())
                                      .arg(shown.right())
                                      .arg(column.left())
                                      .arg(column.right()));
            }
            if (all.isEmpty() || qAbs(all.center().y() - area.center().y()) > 1.5)
                faults.append(u"drawn at %1..%2 down %3..%4"_s.arg(all.top())
                                  .arg(all.bottom())
                                  .arg(area.top())
                                  .arg(area.bottom()));
            return faults.join(u"; "_s);
        };
        QTRY_VERIFY2(misplaced().isEmpty(), qPrintable(misplaced()));

        if (state == u"loadingState") {
            QVERIFY(!Quick::item(stateItem, u"stateIcon"_s)->isVisible());
        } else {
            QQuickItem *icon = Quick::item(stateItem, u"stateIcon"_s);
            QVERIFY2(icon->isVisible(), qPrintable(icon->property("name").toString()));
            QCOMPARE(icon->size(), icon->property("sourceSize").toSizeF());
            // Drawn as a glyph, not as its box filled with the tint: an icon of many colours, tinted, fills most
            // of it (Breeze's "checkmark" emblem all of it, its large "dialog-warning" well over half), a
            // glyph of one colour under a third.
            const qreal coverage =
                inkCoverage(window.window()->grabWindow(), icon->mapRectToScene(icon->boundingRect()).toRect());
            QVERIFY2(coverage < 0.45,
                     qPrintable(u"%1 covers %2 of its box"_s.arg(icon->property("name").toString()).arg(coverage)));
        }
        for (const QString &text : Quick::visibleTexts(stateItem))
            QVERIFY2(Theme::installedFontsDraw(text), qPrintable(text));
    }

    // An icon the theme lacks is drawn not at all, the state keeping its words: with no icon theme to be
    // found, with a name no theme has, and with a name Qt finds only shortened at a dash (another icon,
    // "dialog-ok-apply" here, which Qt would draw in its place).
    void missingIconsDrawNothing_data()
    {
        QTest::addColumn<QString>("name"); // empty: the states' own names, with no icon theme to be found
        QTest::newRow("no icon theme") << QString();
        QTest::newRow("a name no theme has") << u"tessarin-no-such-icon"_s;
        QTest::newRow("found only shortened") << u"dialog-ok-apply-tessarin"_s;
    }
    void missingIconsDrawNothing()
    {
        QFETCH(QString, name);
        QTemporaryDir noThemes;
        if (name.isEmpty())
            QIcon::setThemeSearchPaths({noThemes.path()});
        else if (name.endsWith(u"-tessarin"))
            QVERIFY(!QIcon::fromTheme(name).isNull());
        MainContentHarness window(settings());
        openOnState(window, u"nothing assigned"_s);
        for (const QString &state : {u"emptyState"_s, u"detailPlaceholder"_s}) {
            QTRY_VERIFY(window.shows(state));
            QQuickItem *stateItem = window.item(state);
            if (!name.isEmpty())
                stateItem->setProperty("iconName", name);
            QQuickItem *icon = Quick::item(stateItem, u"stateIcon"_s);
            QVERIFY(!icon->isVisible());
            QCOMPARE(icon->property("name").toString(), QString()); // nothing asked of the theme to draw
            QVERIFY(!Quick::visibleTexts(stateItem).isEmpty());
        }
    }

    // The toolbar's buttons draw their icons alone where the theme has them, else their words: with no icon
    // theme, a button drawing nothing could not be found with the mouse.
    void toolbarWithoutIcons_data()
    {
        QTest::addColumn<bool>("themed");
        QTest::newRow("icon theme") << true;
        QTest::newRow("no icon theme") << false;
    }
    void toolbarWithoutIcons()
    {
        QFETCH(bool, themed);
        QTemporaryDir noThemes;
        if (!themed)
            QIcon::setThemeSearchPaths({noThemes.path()});
        MainContentHarness window(settings());
        QVERIFY(window.open());
        QTRY_VERIFY(window.shows(u"ticketList"_s) && !window.controller()->store()->isLoading());
        const QList<std::pair<QString, QString>> buttons {{u"backButton"_s, u"Back"_s},
                                                          {u"forwardButton"_s, u"Forward"_s},
                                                          {u"goToIssueButton"_s, u"Go to Issue…"_s},
                                                          {u"refreshButton"_s, u"Refresh"_s}};
        for (const auto &[name, words] : buttons) {
            QQuickItem *button = window.item(name);
            const QStringList shown = Quick::visibleTexts(button);
            QVERIFY2(themed ? shown.isEmpty() : shown == QStringList {words}, qPrintable(name + u": "_s + shown.join(u'|')));
            QVERIFY2(button->width() >= (themed ? 16 : 30), qPrintable(name));
        }
        QCOMPARE(window.item(u"refreshIcon"_s)->isVisible(), themed);
    }

    // "Connect to Jira…" is the unconfigured state's default button: Enter or keypad Enter in the window,
    // a click and a screen reader's Press each ask for the settings once; once a list shows, Enter asks for
    // nothing. A screen reader hears the button's own words.
    void connectAsksForSettings_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("requests");
        QTest::newRow("Enter") << u"Enter"_s << 1;
        QTest::newRow("keypad Enter") << u"keypad Enter"_s << 1;
        QTest::newRow("click") << u"click"_s << 1;
        QTest::newRow("screen reader") << u"screen reader"_s << 1;
        QTest::newRow("Enter once configured") << u"configured"_s << 0;
    }
    void connectAsksForSettings()
    {
        QFETCH(QString, way);
        MainContentHarness window(settings());
        openOnState(window, u"unconfigured"_s);
        QSignalSpy asked(window.item(u"content"_s), SIGNAL(settingsRequested()));
        QQuickItem *button = window.item(u"connectButton"_s);
        QTRY_VERIFY(button->isVisible());
        QCOMPARE(button->property("text").toString(), u"Connect to Jira…"_s);
        QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), u"Connect to Jira…"_s);
        if (way == u"configured") {
            settings().setToken(jira().token());
            QTRY_VERIFY(window.shows(u"ticketList"_s));
        }
        if (way == u"Enter" || way == u"configured")
            QTest::keyClick(window.window(), Qt::Key_Return);
        else if (way == u"keypad Enter")
            QTest::keyClick(window.window(), Qt::Key_Enter, Qt::KeypadModifier);
        else if (way == u"click")
            Quick::click(button);
        else
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        QTEST(int(asked.size()), "requests");
    }

    // Only on screen: the store keeps the whole message. A character outside the BMP across the cut stays
    // whole.
    void longMessagesAreShortened()
    {
        QCOMPARE(shortenedForDisplay(QString(601, u'a')), QString(600, u'a') + u'…');
        QCOMPARE(shortenedForDisplay(QString(599, u'a') + u"😀tail"_s), QString(599, u'a') + u'…');
    }

    void rowsSelectionAndKeys()
    {
        MainContentHarness window(settings());
        QVERIFY(window.open());
        QTRY_VERIFY(window.shows(u"ticketList"_s));
        QQuickItem *list = window.item(u"ticketList"_s);
        TicketStore *store = window.controller()->store();
        QTRY_COMPARE(list->property("count").toInt(), store->filteredCount());

        // A row shows a flag only when its issue has a priority, tinted by its name.
        QQuickItem *contentItem = list->property("contentItem").value<QQuickItem *>();
        QTRY_VERIFY(std::ranges::any_of(contentItem->childItems(), [](const QQuickItem *row) {
            return row->property("issueId").isValid() && row->property("index").toInt() == 1;
        }));
        QQuickItem *second = nullptr;
        int flags = 0;
        for (QQuickItem *row : contentItem->childItems()) {
            if (!row->property("issueId").isValid())
                continue;
            second = row->property("index").toInt() == 1 ? row : second;
            const bool hasPriority = row->property("hasPriority").toBool();
            QQuickItem *flag = Quick::item(row, u"priorityFlag"_s);
            QCOMPARE(flag->isVisible(), hasPriority);
            flags += hasPriority;
            if (hasPriority)
                QCOMPARE(flag->property("color").value<QColor>(),
                         Theme::priorityColor(row->property("priorityName").toString()));
        }
        QVERIFY(flags > 0 && flags < store->filteredCount());

        // Clicking the second row selects it and replaces the pane. On a busy machine the list may still be
        // laying out its delegates: click where the row has settled.
        QVERIFY(second);
        TicketDetail *first = window.controller()->detail();
        QPointF where;
        QTRY_VERIFY([&] {
            const QPointF now = second->mapToScene({20, 10});
            const bool settled = now == where;
            where = now;
            QTest::qWait(50);
            return settled;
        }());
        QTest::mouseClick(window.window(), Qt::LeftButton, {}, where.toPoint());
        QTRY_COMPARE(store->selectedTicketID(), second->property("issueId").toString());
        QVERIFY(window.controller()->detail() != first);
        QTest::keyClick(window.window(), Qt::Key_Down);
        QTRY_COMPARE(store->selectedTicketID(), store->filteredModel()->issueIdAt(2));

        QTest::keyClick(window.window(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(window.item(u"searchField"_s)->hasActiveFocus());
        QSignalSpy refreshed(store, &TicketStore::refreshFinished);
        QTest::keyClick(window.window(), Qt::Key_F5);
        QVERIFY(refreshed.wait(5000));
        QTest::keyClick(window.window(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(refreshed.wait(5000));
    }

    void detailLoadsBothAtOnce()
    {
        jira().setDelay(150ms);
        TicketDetail *detail = showIssue(u"PLAT-417"_s);
        QVERIFY(detail);
        QVERIFY(detail->isLoadingTransitions() && detail->isLoadingComments());
        QCOMPARE(detail->menuPlaceholder(), u"Loading…"_s);
        QTRY_VERIFY(!detail->isLoadingTransitions() && !detail->isLoadingComments());
        QCOMPARE(detail->menuPlaceholder(), QString());
        // Server order, and a comment without any body shows an empty one.
        const QVariantList comments = detail->comments();
        QCOMPARE(comments.at(0).toMap().value(u"author"_s).toString(), u"Jonas Becker"_s);
        QVERIFY(comments.at(2).toMap().value(u"body"_s).toString().isEmpty());
        QVERIFY(!comments.at(2).toMap().value(u"bodyIsRich"_s).toBool());
        // The setting ends with a slash; the link has exactly one before "browse".
        QCOMPARE(detail->browseURL().toString(), jira().url().toString() + u"/browse/PLAT-417"_s);
        // Updated meanwhile (here by another client): the next refresh reloads the pane's comments.
        JiraClient elsewhere(&settings());
        Answer<void> moved;
        elsewhere.performTransition(u"PLAT-417"_s, u"31"_s, &moved.context, moved.callback());
        QVERIFY(moved.wait());
        m_content->refresh();
        QTRY_COMPARE(m_fixture->requestCount("GET", u"/rest/api/2/issue/PLAT-417/comment"_s), 2);
    }

    // Asked to wait (429 with Retry-After): the footer says until when, and neither the timer nor the user
    // asks again before then.
    void rateLimitHonoured()
    {
        TicketDetail *detail = showIssue(u"PLAT-417"_s);
        QVERIFY(detail);
        jira().setCanned(JiraJson::searchPath, {429, "{}", {{"Retry-After", "600"}}, {}});
        QVERIFY(refreshed(*m_content->store()));
        const QString until =
            QLocale().toString(QDateTime::currentDateTime().addSecs(600).time(), QLocale::ShortFormat);
        QVERIFY2(m_content->footerText().endsWith(u" · Refresh failed · Jira asked to wait until "_s + until),
                 qPrintable(m_content->footerText()));
        QVERIFY(m_content->footerDetail().endsWith(u"Jira is limiting requests. Tessarin asks again at "_s + until +
                                                   u", not before."_s));
        const int searches = m_fixture->searches();
        jira().clearFaults();
        m_content->refresh();
        m_content->store()->startAutoRefresh();
        m_content->store()->refreshIfDue(QDateTime::currentDateTimeUtc().addSecs(599));
        QTest::qWait(100);
        QCOMPARE(m_fixture->searches(), searches);
        QVERIFY(qAbs(QDateTime::currentDateTimeUtc().secsTo(m_content->store()->retryNotBefore()) - 600) <= 2);
    }

    // A week before the token in use expires, the main window says so; another token makes it go.
    void tokenExpiryWarned()
    {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        jira().setTokens({{1, u"Laptop"_s, now.addDays(-90), now.addDays(5), std::nullopt},
                          {2, u"CI"_s, now.addDays(-90), now.addDays(90), now.addDays(-1)}});
        QVERIFY(showIssue(u"PLAT-417"_s));
        QTRY_VERIFY2(m_content->tokenWarning().contains(u"\u201cLaptop\u201d expires on"_s),
                     qPrintable(m_content->tokenWarning()));
        settings().setToken(u"another"_s);
        QVERIFY(m_content->tokenWarning().isEmpty());
    }

    // A rendered description that converts wins over the plain one; without it, the plain text.
    void detailFallbacks()
    {
        TicketDetail *detail = showIssue(u"PLAT-445"_s);
        QVERIFY(detail && !detail->hasDescription());
        JiraIssue issue = detail->issue();
        issue.fields.description = u"plain *markup*"_s;
        detail->setIssue(issue);
        QVERIFY(!detail->descriptionIsRich() && detail->descriptionText() == u"plain *markup*");
    }

    void failedLoadsLeaveEmptyListsAndNoMessage()
    {
        jira().setCanned(u"/rest/api/2/issue/PLAT-417/transitions"_s, {500, "boom", {}, {}});
        jira().setMalformedJson(u"/rest/api/2/issue/PLAT-417/comment"_s);
        TicketDetail *detail = showIssue(u"PLAT-417"_s);
        QVERIFY(detail);
        QTRY_VERIFY(!detail->isLoadingTransitions() && !detail->isLoadingComments());
        QVERIFY(detail->transitionList().isEmpty() && detail->commentList().isEmpty());
        QVERIFY(detail->commentsUnavailable()); // not "No comments.": that would not be known
        QCOMPARE(detail->menuPlaceholder(), u"No transitions available"_s);
        QCOMPARE(detail->errorMessage(), QString());
    }

    // Performed from the pane: the pill stays busy until the refreshed list brings the new status, and the
    // same pane, with its state, shows it. A refused one shows its text in red until the next starts.
    void transitionsSeenInThePill()
    {
        MainContentHarness window(settings());
        QVERIFY(window.open());
        QTRY_VERIFY(window.controller()->detail());
        TicketDetail *detail = select(window.controller(), u"PLAT-424"_s);
        QVERIFY(detail);
        QTRY_VERIFY(!detail->isLoadingTransitions());
        QTRY_VERIFY(Quick::visibleTexts(window.item(u"statusMenu"_s)).contains(u"To Do"_s));
        const int searches = m_fixture->searches();

        detail->performTransition(u"21"_s); // Start Progress
        QVERIFY(detail->isTransitioning());
        QTRY_VERIFY(!detail->isTransitioning()); // busy until the refreshed list shows the new status
        QCOMPARE(m_fixture->searches(), searches + 1);
        QVERIFY(Quick::visibleTexts(window.item(u"statusMenu"_s)).contains(u"In Progress"_s));
        QCOMPARE(window.controller()->detail(), detail);
        // Reloaded: the menu offers the new status's transitions, none of the status the issue has left.
        QTRY_VERIFY(!detail->isLoadingTransitions() && !detail->transitionList().isEmpty());
        for (const JiraTransition &transition : detail->transitionList())
            QVERIFY(transition.to.name != u"In Progress");

        detail->performTransition(u"999"_s);
        QTRY_VERIFY(window.shows(u"transitionError"_s));
        const QString error = window.item(u"transitionError"_s)->property("text").toString();
        QVERIFY(error.startsWith(u"Jira returned an error (400): {"_s) && error.contains(u"errorMessages"_s));
        jira().setDelay(200ms);
        detail->performTransition(u"21"_s);
        QCOMPARE(detail->errorMessage(), QString()); // cleared at once, before the answer
        QVERIFY(!window.shows(u"transitionError"_s));
    }

    void paneGoneMidRequestsIsSafeAndStillRefreshes()
    {
        TicketDetail *detail = showIssue(u"WEB-1187"_s);
        QVERIFY(detail);
        QTRY_VERIFY(!detail->isLoadingTransitions());
        const int searches = m_fixture->searches();
        jira().setDelay(300ms);
        detail->load();
        detail->performTransition(u"21"_s);
        // Selecting another issue replaces the pane; the old one is deleted while its requests run.
        QPointer<TicketDetail> old(detail);
        TicketDetail *next = showIssue(u"PLAT-417"_s);
        QVERIFY(next && next != detail);
        QVERIFY(!next->isTransitioning());
        QTRY_VERIFY(old.isNull());
        QTRY_COMPARE(m_fixture->searches(), searches + 1);
        QTRY_VERIFY(!next->isLoadingComments());
        QCOMPARE(next->commentList().size(), 3);
        QCOMPARE(jira().issue(u"WEB-1187"_s)[u"fields"_s][u"status"_s][u"name"_s].toString(), u"In Progress"_s);
    }

    void imagesOnlyFromTheServer_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("kept"); // empty: removed
        const QString server = u"https://jira.example.com/ctx"_s;
        QTest::newRow("relative to the server")
            << u"/ctx/secure/attachment/1/shot.png"_s << server + u"/secure/attachment/1/shot.png"_s;
        QTest::newRow("relative path") << u"images/icons/bug.png"_s << server + u"/images/icons/bug.png"_s;
        QTest::newRow("absolute, same origin") << server + u"/a.png"_s << server + u"/a.png"_s;
        QTest::newRow("another host") << u"https://tracker.example.net/pixel.gif"_s << QString();
        QTest::newRow("same host, another port") << u"https://jira.example.com:8443/a.png"_s << QString();
        QTest::newRow("plain http to an https server") << u"http://jira.example.com/ctx/a.png"_s << QString();
        QTest::newRow("local file") << u"file:///home/user/.ssh/id_rsa"_s << QString();
        QTest::newRow("resource") << u"qrc:/fake-jira/certs/fake-jira.key"_s << QString();
    }
    void imagesOnlyFromTheServer()
    {
        QFETCH(QString, source);
        QFETCH(QString, kept);
        const QString html = u"<p>see <img src=\"%1\" width=\"10\" height=\"10\"/> here</p>"_s.arg(source);
        const QString result = restrictImagesToServer(html, QUrl(u"https://jira.example.com/ctx"_s));
        QVERIFY(result.contains(u"see"_s) && result.contains(u"here"_s));
        // Gone, not left with an empty source, which would resolve against the view's own location.
        QCOMPARE(result.contains(u"<img"_s), !kept.isEmpty());
        if (!kept.isEmpty())
            QVERIFY2(result.contains(u"src=\"%1\""_s.arg(kept)), qPrintable(result));
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
