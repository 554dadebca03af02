#pragma once
// What most tests of the store and the views start from: a fresh preferences folder, a fake Jira on
// loopback, and the settings pointing at it with its token.

#include "FakeJira.h"
#include "settings/AppSettings.h"

#include <QTemporaryDir>

#include <memory>

class FakeJiraSession
{
public:
    FakeJiraSession();
    // Waits for the keyring to hold the last token, so that no write outlives the test.
    ~FakeJiraSession();

    [[nodiscard]] bool isReady() const { return m_ready; }
    [[nodiscard]] FakeJira &jira() { return *m_jira; }
    [[nodiscard]] AppSettings &settings() { return *m_settings; }
    // How many requests with this method and decoded path the fake has received.
    [[nodiscard]] int requestCount(const QByteArray &method, const QString &path) const;

private:
    QTemporaryDir m_config;
    std::unique_ptr<FakeJira> m_jira;
    std::unique_ptr<AppSettings> m_settings;
    bool m_ready = false;
};
