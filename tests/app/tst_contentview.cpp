// The main window's QML, rendered offscreen against the fake Jira: the five sidebar contents with their
// texts, the footer, rows, selection and a transition seen in the pill. Any QML warning fails.

#include "ContentController.h"
#include "FakeJiraSession.h"
#include "JiraImageAccess.h"
#include "SealedSession.h"
#include "TicketDetail.h"
#include "presentation/Theme.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <memory>

Q_IMPORT_QML_PLUGIN(TessarinPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_CorePlugin)

using namespace Qt::StringLiterals;

namespace {

// Every text shown inside an item, visible ones only, depth first.
QStringList visibleTexts(const QQuickItem *item)
{
    QStringList texts;
    if (!item || !item->isVisible())
        return texts;
    const QVariant text = item->property("text");
    if (text.isValid() && !text.toString().isEmpty() && item->inherits("QQuickText"))
        texts.append(text.toString());
    for (const QQuickItem *child : item->childItems())
        texts += visibleTexts(child);
    return texts;
}

} // namespace

class TestContentView : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeJiraSession> m_session;
    std::unique_ptr<JiraImageAccess> m_imageAccess;
    std::unique_ptr<QQmlApplicationEngine> m_engine;

    QQuickWindow *window() const { return qobject_cast<QQuickWindow *>(m_engine->rootObjects().value(0)); }
    template<typename T = QQuickItem> T *item(const char *name) const
    {
        return window() ? window()->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    }
    ContentController *controller() const { return window()->findChild<ContentController *>(); }
    bool shows(const char *state) const
    {
        const QQuickItem *found = item(state);
        return found && found->isVisible();
    }

    bool open()
    {
        m_engine = std::make_unique<QQmlApplicationEngine>();
        m_engine->addImportPath(u"qrc:/"_s); // where the static QML modules keep their qmldir
        m_imageAccess = std::make_unique<JiraImageAccess>(&m_session->settings());
        m_engine->setNetworkAccessManagerFactory(m_imageAccess.get());
        m_engine->loadData(R"(
            import QtQuick
            import QtQuick.Controls
            import Tessarin
            ApplicationWindow { width: 1080; height: 680; visible: true; ContentView { anchors.fill: parent } }
        )");
        return window() && QTest::qWaitForWindowExposed(window());
    }

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QIcon::setThemeName(u"breeze"_s);
    }

    void init()
    {
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        m_session = std::make_unique<FakeJiraSession>();
        QVERIFY(m_session->isReady());
        AppSettings::setShared(&m_session->settings());
    }

    void cleanup()
    {
        m_engine.reset();
        AppSettings::setShared(nullptr);
        m_session.reset();
    }

    void unconfigured()
    {
        m_session->settings().setToken(QString());
        QVERIFY(open());
        QVERIFY(shows("unconfiguredState"));
        const QStringList texts = visibleTexts(item("unconfiguredState"));
        QCOMPARE(texts.value(0), u"Connect to Jira"_s);
        QVERIFY(texts.value(1).startsWith(u"Add your Jira server URL and Personal Access Token in Settings"_s));
        QVERIFY(shows("detailPlaceholder"));
        QVERIFY(visibleTexts(item("detailPlaceholder")).contains(u"Select a ticket"_s));
        // The first refresh still ran, and only set the store's message.
        QCOMPARE(controller()->store()->errorMessage(), TicketStore::notConfiguredMessage);
        QCOMPARE(m_session->jira().requests().size(), 0);
    }

    void loadingThenList()
    {
        m_session->jira().setDelay(std::chrono::milliseconds(400));
        QVERIFY(open());
        QVERIFY(shows("loadingState"));
        QVERIFY(visibleTexts(item("loadingState")).contains(u"Loading tickets…"_s));
        QVERIFY(!item("refreshButton")->isEnabled());
        QVERIFY(!shows("footer"));

        QTRY_VERIFY(shows("ticketList"));
        QVERIFY(item("refreshButton")->isEnabled());
        QVERIFY(shows("footer"));
        QVERIFY(item("footer")->property("text").toString().startsWith(u"Updated "_s));

        // The newest issue is selected and shown beside the list.
        QTRY_VERIFY(controller()->detail());
        QTRY_VERIFY(item("summary")); // the pane is built asynchronously, after the list
        QTRY_COMPARE(item("summary")->property("text").toString(), controller()->detail()->summary());
    }

    void errorAndRetry()
    {
        m_session->jira().setCanned(u"/rest/api/2/search"_s, {500, "Database unavailable", {}, {}});
        QVERIFY(open());
        QTRY_VERIFY(shows("errorState"));
        QCOMPARE(item("errorText")->property("text").toString(),
                 u"Jira returned an error (500): Database unavailable"_s);

        // A whole error page is kept in the store but only its beginning is laid out on screen.
        const QByteArray page = "<html><body>" + QByteArray(2'000'000, 'x') + "</body></html>";
        m_session->jira().setCanned(u"/rest/api/2/search"_s, {500, page, {{"Content-Type", "text/html"}}, {}});
        QSignalSpy refreshed(controller()->store(), &TicketStore::refreshFinished);
        controller()->refresh();
        QVERIFY(refreshed.wait(10'000));
        QCOMPARE(controller()->store()->errorMessage().size(), qsizetype(30 + page.size()));
        const QString shown = item("errorText")->property("text").toString();
        QVERIFY(shown.startsWith(u"Jira returned an error (500): <html><body>xxx"_s));
        QVERIFY(shown.endsWith(QChar(0x2026)));
        QVERIFY(shown.size() < 1000);

        m_session->jira().clearFaults();
        m_session->jira().setDelay(std::chrono::milliseconds(300));
        auto *retry = item("retryButton");
        QVERIFY(retry);
        QMetaObject::invokeMethod(retry, "clicked");
        QTRY_VERIFY(shows("loadingState"));
        QTRY_VERIFY(shows("ticketList"));
    }

    void searchThatMatchesNothing()
    {
        QVERIFY(open());
        QTRY_VERIFY(shows("ticketList"));
        auto *search = item("searchField");
        search->forceActiveFocus();
        for (const char c : QByteArray("zzz-no-match"))
            QTest::keyClick(window(), c);
        QCOMPARE(controller()->store()->searchText(), u"zzz-no-match"_s);
        QVERIFY(shows("emptyState"));
        QVERIFY(visibleTexts(item("emptyState")).contains(u"No tickets assigned to you 🎉"_s));
    }

    void rowsAndSelection()
    {
        QVERIFY(open());
        QTRY_VERIFY(shows("ticketList"));
        auto *list = item("ticketList");
        TicketStore *store = controller()->store();
        QTRY_VERIFY(list->property("count").toInt() == store->filteredCount());

        // Clicking the second row selects it and replaces the pane.
        TicketDetail *first = controller()->detail();
        QQuickItem *contentItem = list->property("contentItem").value<QQuickItem *>();
        QQuickItem *second = nullptr;
        for (QQuickItem *row : contentItem->childItems()) {
            if (row->property("index").toInt() == 1)
                second = row;
        }
        QVERIFY(second);
        const QString secondId = second->property("issueId").toString();
        // On a busy machine the list may still be laying out its delegates: click where the row has settled.
        QPointF where;
        QTRY_VERIFY([&] {
            const QPointF now = second->mapToScene({20, 10});
            const bool settled = now == where;
            where = now;
            QTest::qWait(50);
            return settled;
        }());
        QTest::mouseClick(window(), Qt::LeftButton, {}, where.toPoint());
        QTRY_COMPARE(store->selectedTicketID(), secondId);
        QVERIFY(controller()->detail() != first);

        // Down moves the selection in the list.
        QTest::keyClick(window(), Qt::Key_Down);
        QTRY_COMPARE(store->selectedTicketID(), store->filteredModel()->issueIdAt(2));

        // A row shows a flag only when its issue has a priority, tinted by its name; the texts are all there.
        int withFlag = 0;
        int withoutFlag = 0;
        for (QQuickItem *row : contentItem->childItems()) {
            if (!row->property("issueId").isValid())
                continue;
            const bool hasPriority = row->property("hasPriority").toBool();
            (hasPriority ? withFlag : withoutFlag) += 1;
            auto *flag = row->findChild<QQuickItem *>(u"priorityFlag"_s);
            QVERIFY(flag);
            QCOMPARE(flag->isVisible(), hasPriority);
            if (hasPriority && row->property("priorityName").toString() == u"Highest"_s)
                QCOMPARE(flag->property("color").value<QColor>(), Theme::priorityColor(u"Highest"_s));
            const QStringList texts = visibleTexts(row);
            QVERIFY(texts.contains(row->property("key").toString()));
            QVERIFY(texts.contains(row->property("summary").toString()));
            QVERIFY(texts.contains(u"·"_s));
            QVERIFY(texts.contains(row->property("statusName").toString()));
        }
        QVERIFY(withoutFlag > 0);
        QVERIFY(withFlag > 0);
    }

    void keyboardShortcuts()
    {
        QVERIFY(open());
        QTRY_VERIFY(shows("ticketList"));
        QVERIFY(!item("searchField")->hasActiveFocus());
        QTest::keyClick(window(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(item("searchField")->hasActiveFocus());

        QSignalSpy refreshed(controller()->store(), &TicketStore::refreshFinished);
        QTest::keyClick(window(), Qt::Key_F5);
        QVERIFY(refreshed.wait(5000));
        QTest::keyClick(window(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(refreshed.wait(5000));
        QCOMPARE(refreshed.count(), 2);
    }

    void imagesComeOnlyFromJiraWithTheToken()
    {
        FakeJira elsewhere;
        QVERIFY(elsewhere.listen());
        QFile sample(FakeJira::sampleDataPath());
        QVERIFY(sample.open(QIODevice::ReadOnly));
        QJsonObject data = QJsonDocument::fromJson(sample.readAll()).object();
        QJsonArray issues = data.value(u"issues"_s).toArray();
        QString newestKey;
        QString newest;
        for (const QJsonValue &issue : issues) {
            const QString updated = issue[u"fields"_s][u"updated"_s].toString();
            if (updated > newest && issue[u"fields"_s][u"resolution"_s].isNull()) {
                newest = updated;
                newestKey = issue[u"key"_s].toString();
            }
        }
        for (qsizetype i = 0; i < issues.size(); ++i) {
            QJsonObject issue = issues.at(i).toObject();
            if (issue.value(u"key"_s).toString() != newestKey)
                continue;
            issue.insert(u"renderedFields"_s,
                         QJsonObject {{u"description"_s,
                                       u"<p>Screenshot: <img src=\"/secure/attachment/10001/shot.png\"/> and a tracker "
                                       u"<img src=\"%1/pixel.gif\"/> and <img src=\"file:///etc/hostname\"/></p>"_s.arg(
                                           elsewhere.url().toString())}});
            issues.replace(i, issue);
        }
        data.insert(u"issues"_s, issues);
        m_session->jira().loadData(data);
        QImage pixel(4, 4, QImage::Format_ARGB32);
        pixel.fill(Qt::red);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        pixel.save(&buffer, "PNG");
        m_session->jira().setCanned(u"/secure/attachment/10001/shot.png"_s,
                                    {200, png, {{"Content-Type", "image/png"}}, {}});

        QVERIFY(open());
        QTRY_VERIFY(controller()->detail());
        QCOMPARE(controller()->detail()->key(), newestKey);
        const auto attachmentRequests = [this] {
            QList<FakeJira::Request> found;
            for (const FakeJira::Request &request : m_session->jira().requests()) {
                if (request.path == u"/secure/attachment/10001/shot.png"_s)
                    found.append(request);
            }
            return found;
        };
        QTRY_COMPARE(attachmentRequests().size(), 1);
        QCOMPARE(attachmentRequests().constFirst().header("Authorization"),
                 "Bearer " + m_session->jira().token().toUtf8());
        QTest::qWait(200);
        QCOMPARE(elsewhere.requests().size(), 0);
    }

    void transitionShowsInThePill()
    {
        QVERIFY(open());
        QTRY_VERIFY(controller()->detail());
        TicketStore *store = controller()->store();
        for (const JiraIssue &issue : store->tickets()) {
            if (issue.key == u"PLAT-424"_s)
                store->setSelectedTicketID(issue.id);
        }
        TicketDetail *detail = controller()->detail();
        QCOMPARE(detail->key(), u"PLAT-424"_s);
        QTRY_VERIFY(!detail->isLoadingTransitions());
        QTRY_VERIFY(visibleTexts(item("statusMenu")).contains(u"To Do"_s));
        detail->performTransition(u"21"_s);
        QTRY_VERIFY(visibleTexts(item("statusMenu")).contains(u"In Progress"_s));
        QCOMPARE(controller()->detail(), detail);

        // A failed transition's text shows in red below the status row.
        detail->performTransition(u"999"_s);
        QTRY_VERIFY(shows("transitionError"));
        QVERIFY(item("transitionError")->property("text").toString().startsWith(u"Jira returned an error (400)"_s));
    }
};

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
