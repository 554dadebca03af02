#pragma once
// What the tests start from: fresh preferences and no token in the keyring, the application's settings
// on them, and a fake Jira on loopback with the settings pointing at it. Plus a way to wait for one
// client operation.

#include "FakeJira.h"
#include "SealedSession.h"
#include "client/JiraClient.h"
#include "settings/AppSettings.h"
#include "store/TicketStore.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

// Fresh preferences, cache and data folders (the lists kept on disk, drafts, what was announced) and no
// token item in the keyring: nothing an earlier test left behind is seen. The folders a fixture made
// before it are back when it goes. The settings object is made on first use, so a test can put raw
// values in the store before it loads them. On destruction it waits for the keyring to hold the last
// token, so that no write outlives the test.
class SettingsFixture
{
public:
    SettingsFixture();
    virtual ~SettingsFixture();
    AppSettings &settings();
    // The preferences as another program would read them.
    [[nodiscard]] static QSettings rawStore();
    // Where another program started by the test (the real Tessarin) finds these preferences.
    [[nodiscard]] QString configHome() const { return m_config.path(); }

private:
    QTemporaryDir m_config, m_cache, m_data;
    QByteArray m_previousCache = qgetenv("XDG_CACHE_HOME"), m_previousData = qgetenv("XDG_DATA_HOME");
    std::unique_ptr<AppSettings> m_settings;
};

// The settings pointing at a fake Jira with its token.
class JiraFixture : public SettingsFixture
{
public:
    enum Scheme { Http, Https };
    explicit JiraFixture(Scheme scheme = Http);
    [[nodiscard]] bool isReady() const { return m_ready; }
    FakeJira &jira() { return *m_jira; }
    // Points the settings at the fake, with `suffix` after its URL as a user might type it.
    void point(const QString &suffix = {}) { settings().setBaseURLString(m_jira->url().toString() + suffix); }
    // How many requests with this method and decoded path the fake has received.
    [[nodiscard]] int requestCount(const QByteArray &method, const QString &path) const;
    [[nodiscard]] int searches() const { return requestCount("GET", QStringLiteral("/rest/api/2/search")); }

private:
    std::unique_ptr<FakeJira> m_jira = std::make_unique<FakeJira>();
    bool m_ready = false;
};

// A test case whose every test function starts from a fresh fake Jira with the settings pointing at it.
class JiraTestCase : public QObject
{
    Q_OBJECT

protected:
    FakeJira &jira() { return m_fixture->jira(); }
    AppSettings &settings() { return m_fixture->settings(); }
    std::unique_ptr<JiraFixture> m_fixture;

protected slots:
    void initTestCase() { requireSealedSession(); }
    void init()
    {
        m_fixture = std::make_unique<JiraFixture>();
        QVERIFY(m_fixture->isReady());
    }
    void cleanup() { m_fixture.reset(); }
};

// The result of one client operation. The operation is started with this object's context, so an
// answer that arrives after the test has given up is dropped rather than written to a dead object.
template<typename T> struct Answer
{
    QObject context;
    std::optional<JiraResult<T>> result;

    JiraClient::Callback<T> callback()
    {
        return [this](JiraResult<T> r) { result.emplace(std::move(r)); };
    }
    bool wait(int ms = 15'000)
    {
        return QTest::qWaitFor([this] { return result.has_value(); }, ms);
    }
};

// Refreshes the store and waits for the outcome.
inline bool refreshed(TicketStore &store)
{
    QSignalSpy finished(&store, &TicketStore::refreshFinished);
    store.refresh();
    return finished.count() == 1 || finished.wait(30'000);
}
