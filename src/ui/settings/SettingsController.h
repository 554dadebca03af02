#pragma once
// The state behind the settings window: the token field, the refresh interval choice, the two warning
// lines and the connection test.

#include "client/JiraError.h"
#include "settings/AppSettings.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <optional>

class SettingsController : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    // Set once, from QML.
    Q_PROPERTY(AppSettings *settings READ settings WRITE setSettings NOTIFY settingsChanged FINAL)
    // The token field's text. Every change made here is written to the settings at once.
    Q_PROPERTY(QString tokenInput READ tokenInput WRITE setTokenInput NOTIFY tokenInputChanged FINAL)
    Q_PROPERTY(bool isTesting READ isTesting NOTIFY isTestingChanged FINAL)
    Q_PROPERTY(bool canTest READ canTest NOTIFY canTestChanged FINAL)
    Q_PROPERTY(TestResult testResult READ testResult NOTIFY testResultChanged FINAL)
    // "Connected as …" or the error's text; empty while there is no result.
    Q_PROPERTY(QString testResultText READ testResultText NOTIFY testResultChanged FINAL)
    Q_PROPERTY(QStringList intervalTitles READ intervalTitles CONSTANT FINAL)
    // Which of the offered intervals the settings hold, or -1 for any other value.
    Q_PROPERTY(int intervalIndex READ intervalIndex WRITE setIntervalIndex NOTIFY intervalIndexChanged FINAL)
    // What the interval picker shows when the stored value is none of the offered ones.
    Q_PROPERTY(QString customIntervalTitle READ customIntervalTitle NOTIFY intervalIndexChanged FINAL)
    // Empty, or one line saying the token cannot be kept in the keyring.
    Q_PROPERTY(QString keyringWarning READ keyringWarning NOTIFY keyringWarningChanged FINAL)
    // Empty, or one line saying the token would cross the network unencrypted.
    Q_PROPERTY(QString insecureURLWarning READ insecureURLWarning NOTIFY insecureURLWarningChanged FINAL)
    // What became of the last "Clear cached data" ("Cached data cleared"), empty before it is used.
    Q_PROPERTY(QString cacheText READ cacheText NOTIFY cacheTextChanged FINAL)
    // The certificate the last test was refused, for the user to judge (fingerprint, subject, issuer,
    // validity, what is wrong with it); empty when none was.
    Q_PROPERTY(QString certificateDetails READ certificateDetails NOTIFY testResultChanged FINAL)
    // Why the network settings (CA file, client certificate, proxy) cannot be used as they stand, in the
    // words a request would fail with; empty when they can.
    // Changes to the issues the user watches are told like those of the user's own.
    Q_PROPERTY(bool notifyWatched READ notifyWatched WRITE setNotifyWatched NOTIFY notifyWatchedChanged FINAL)
    Q_PROPERTY(QString networkProblem READ networkProblem NOTIFY networkProblemChanged FINAL)
    // The certificate trusted for this server ("AB:CD:…", SHA-256), empty when none is pinned.
    Q_PROPERTY(QString pinnedFingerprint READ pinnedFingerprint NOTIFY pinnedFingerprintChanged FINAL)
    // What became of a URL pasted with a page of Jira's: the address kept. Empty otherwise.
    Q_PROPERTY(QString urlNote READ urlNote NOTIFY urlNoteChanged FINAL)
    // The page the settings window shows, kept for the next time it opens.
    Q_PROPERTY(int page READ page WRITE setPage NOTIFY pageChanged FINAL)
    // Where drafts and cached data are kept, and how many drafts wait to be sent.
    Q_PROPERTY(QString draftsFolder READ draftsFolder CONSTANT FINAL)
    Q_PROPERTY(QString cacheFolder READ cacheFolder CONSTANT FINAL)
    Q_PROPERTY(int draftCount READ draftCount NOTIFY draftCountChanged FINAL)

public:
    enum class TestResult { None, Success, Failure };
    Q_ENUM(TestResult)

    // The refresh intervals offered, in seconds, in the order shown.
    static const QList<double> intervalSeconds;

    explicit SettingsController(QObject *parent = nullptr);
    ~SettingsController() override;

    [[nodiscard]] AppSettings *settings() const { return m_settings; }
    void setSettings(AppSettings *settings);

    [[nodiscard]] QString tokenInput() const { return m_tokenInput; }
    void setTokenInput(const QString &token);

    [[nodiscard]] bool isTesting() const { return m_isTesting; }
    [[nodiscard]] bool canTest() const;
    [[nodiscard]] TestResult testResult() const { return m_testResult; }
    [[nodiscard]] QString testResultText() const { return m_testResultText; }

    [[nodiscard]] QStringList intervalTitles() const;
    [[nodiscard]] int intervalIndex() const;
    void setIntervalIndex(int index);
    [[nodiscard]] QString customIntervalTitle() const;

    [[nodiscard]] QString keyringWarning() const;
    [[nodiscard]] QString insecureURLWarning() const;

    // The window's content appeared: the token field shows the stored token.
    [[nodiscard]] bool notifyWatched() const;
    void setNotifyWatched(bool notify);
    Q_INVOKABLE void appeared();
    [[nodiscard]] QString cacheText() const { return m_cacheText; }
    // Asks the server who the token belongs to, on a client made for this test alone. Does nothing
    // while the test button would be disabled.
    Q_INVOKABLE void testConnection();
    // Removes the list kept on disk for the next start; the list on screen stays.
    Q_INVOKABLE void clearCachedData();
    [[nodiscard]] QString certificateDetails() const;
    // Trusts the certificate the last test was refused (that one alone, for this server) and tests again.
    Q_INVOKABLE void trustCertificate();
    [[nodiscard]] QString networkProblem() const { return m_networkProblem; }
    // Whether the desktop has a tray to keep the program in (asks the session bus; at most a second).
    Q_INVOKABLE bool trayAvailable() const;

    [[nodiscard]] QString pinnedFingerprint() const;
    // Trusts no pinned certificate for this server any more, nor the next one it presents.
    Q_INVOKABLE void forgetCertificate();
    [[nodiscard]] QString urlNote() const { return m_urlNote; }
    // The URL as typed or pasted, reduced to Jira's base address, into the settings.
    Q_INVOKABLE void takeURL(const QString &typed);
    [[nodiscard]] int page() const;
    void setPage(int page);
    // The window's size when last closed; invalid before the first time.
    Q_INVOKABLE QSize windowSize() const;
    Q_INVOKABLE void keepWindowSize(const QSize &size);
    [[nodiscard]] static QString draftsFolder();
    [[nodiscard]] static QString cacheFolder();
    [[nodiscard]] int draftCount() const;
    // Counts the drafts again (they come and go while the window is open).
    Q_INVOKABLE void countDrafts();

signals:
    void pinnedFingerprintChanged();
    void urlNoteChanged();
    void pageChanged();
    void draftCountChanged();
    void notifyWatchedChanged();
    void cacheTextChanged();
    void settingsChanged();
    void tokenInputChanged();
    void isTestingChanged();
    void canTestChanged();
    void testResultChanged();
    void intervalIndexChanged();
    void keyringWarningChanged();
    void insecureURLWarningChanged();
    void networkProblemChanged();

private:
    void setIsTesting(bool testing);
    void setTestResult(TestResult result, const QString &text);
    void updateCanTest();
    void updateInsecureURLWarning();
    void updateNetworkProblem();

    QPointer<AppSettings> m_settings;
    QString m_tokenInput;
    bool m_isTesting = false;
    bool m_canTest = false;
    TestResult m_testResult = TestResult::None;
    QString m_testResultText;
    // A successful test's lines: who, on which Jira; a certificate trusted by it; the token's expiry.
    QString m_connectedName;
    QStringList m_connectedLines;
    std::optional<JiraCertificate> m_refusedCertificate;
    QString m_insecureURLWarning;
    QString m_cacheText;
    QString m_networkProblem;
    QString m_urlNote;
    int m_draftCount = 0;
};
