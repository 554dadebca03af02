#include "SettingsController.h"
#include "ServerProbe.h"

#include "cache/AttachmentFiles.h"
#include "cache/Draft.h"
#include "client/JiraClient.h"
#include "client/NetworkSetup.h"
#include "desktop/TrayPresence.h"
#include "store/ListCache.h"
#include "ui/common/MessageText.h"
#include "ui/list/SourceList.h"

#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>

#include <cmath>

using namespace Qt::StringLiterals;

const QList<double> SettingsController::intervalSeconds {60, 120, 300, 900};

namespace {

// The window's own memory, beside the window's place: [settingsWindow] page, size.
const auto pageKey = u"settingsWindow/page"_s;
const auto sizeKey = u"settingsWindow/size"_s;

// "ab12…" as certificate dialogs show it: "AB:12:…".
QString colonFingerprint(const QString &hex)
{
    QString shown;
    for (qsizetype i = 0; i < hex.size(); i += 2)
        shown += (i ? u":"_s : QString()) + hex.mid(i, 2).toUpper();
    return shown;
}

} // namespace

SettingsController::SettingsController(QObject *parent)
    : QObject(parent)
{ }

SettingsController::~SettingsController() = default;

bool SettingsController::notifyWatched() const
{
    return m_settings && m_settings->notifySources().contains(Source::watchingId);
}

void SettingsController::setNotifyWatched(bool notify)
{
    if (!m_settings || notify == notifyWatched())
        return;
    QStringList followed = m_settings->notifySources();
    if (notify)
        followed.append(Source::watchingId);
    else
        followed.removeAll(Source::watchingId);
    m_settings->setNotifySources(followed); // which says notifyWatchedChanged
}

void SettingsController::setSettings(AppSettings *settings)
{
    if (settings == m_settings)
        return;
    if (m_settings)
        disconnect(m_settings, nullptr, this, nullptr);
    m_settings = settings;
    if (settings) {
        connect(settings, &AppSettings::baseURLChanged, this, [this] {
            updateCanTest();
            updateInsecureURLWarning();
        });
        connect(settings, &AppSettings::tokenChanged, this, &SettingsController::updateCanTest);
        connect(settings, &AppSettings::refreshIntervalSecondsChanged, this, &SettingsController::intervalIndexChanged);
        connect(settings, &AppSettings::keyringErrorChanged, this, &SettingsController::keyringWarningChanged);
        connect(settings, &AppSettings::networkChanged, this, &SettingsController::updateNetworkProblem);
        connect(settings, &AppSettings::notifySourcesChanged, this, &SettingsController::notifyWatchedChanged);
        connect(settings, &AppSettings::pinnedCertificateChanged, this, &SettingsController::pinnedFingerprintChanged);
        connect(settings, &AppSettings::baseURLChanged, this, &SettingsController::pinnedFingerprintChanged);
        m_tokenInput = settings->token();
    }
    emit settingsChanged();
    emit pinnedFingerprintChanged();
    emit tokenInputChanged();
    emit intervalIndexChanged();
    emit keyringWarningChanged();
    updateCanTest();
    updateInsecureURLWarning();
    updateNetworkProblem();
}

bool SettingsController::trayAvailable() const
{
    return TrayPresence::isHostAvailable();
}

void SettingsController::updateNetworkProblem()
{
    QString problem;
    if (m_settings) {
        NetworkSetup setup;
        setup.update(*m_settings);
        if (setup.problem())
            problem = userFacingText(*setup.problem());
    }
    if (problem == m_networkProblem)
        return;
    m_networkProblem = problem;
    emit networkProblemChanged();
}

void SettingsController::setTokenInput(const QString &token)
{
    if (token == m_tokenInput)
        return;
    m_tokenInput = token;
    emit tokenInputChanged();
    // Untrimmed, on every keystroke: the keyring is written in the background, so typing never waits.
    if (m_settings)
        m_settings->setToken(token);
}

bool SettingsController::canTest() const
{
    return m_canTest;
}

void SettingsController::updateCanTest()
{
    const bool can = m_settings && m_settings->baseURL().isValid() && !m_settings->token().isEmpty() && !m_isTesting;
    if (can == m_canTest)
        return;
    m_canTest = can;
    emit canTestChanged();
}

QStringList SettingsController::intervalTitles() const
{
    QStringList titles;
    for (const double seconds : intervalSeconds)
        titles.append(tr("%n minute(s)", "how often the list is refreshed", int(seconds / 60)));
    return titles;
}

int SettingsController::intervalIndex() const
{
    return m_settings ? int(intervalSeconds.indexOf(m_settings->refreshIntervalSeconds())) : -1;
}

void SettingsController::setIntervalIndex(int index)
{
    if (!m_settings || index < 0 || index >= intervalSeconds.size())
        return;
    m_settings->setRefreshIntervalSeconds(intervalSeconds.at(index));
}

QString SettingsController::customIntervalTitle() const
{
    if (!m_settings || intervalIndex() >= 0)
        return {};
    const double seconds = m_settings->refreshIntervalSeconds();
    if (seconds >= 60 && std::fmod(seconds, 60) == 0) {
        const double minutes = seconds / 60;
        return tr("%n minute(s)", "how often the list is refreshed", int(minutes));
    }
    return tr("%n second(s)", "how often the list is refreshed", int(std::lround(seconds)));
}

QString SettingsController::keyringWarning() const
{
    // The keyring's own reason is longer than a line; the window offers it as a tool tip.
    if (!m_settings || m_settings->keyringError().isEmpty())
        return {};
    return tr("The keyring cannot keep the token: it will be lost when Tessarin quits.");
}

QString SettingsController::insecureURLWarning() const
{
    return m_insecureURLWarning;
}

void SettingsController::updateInsecureURLWarning()
{
    const QUrl url = m_settings ? m_settings->baseURL() : QUrl();
    const QString warning = url.isValid() && url.scheme().compare("http"_L1, Qt::CaseInsensitive) == 0
        ? tr("With http:// the token would travel unencrypted.")
        : QString();
    if (warning == m_insecureURLWarning)
        return;
    m_insecureURLWarning = warning;
    emit insecureURLWarningChanged();
}

void SettingsController::appeared()
{
    if (!m_settings)
        return;
    // Only the field changes: the stored token is already this one, so nothing is written back.
    const QString token = m_settings->token();
    if (token == m_tokenInput)
        return;
    m_tokenInput = token;
    emit tokenInputChanged();
}

void SettingsController::clearCachedData()
{
    const bool lists = ListCache::clear();
    const bool attachments = AttachmentFiles::Cache::clear();
    m_cacheText = lists && attachments ? tr("Cached data cleared") : tr("Could not clear cached data");
    emit cacheTextChanged();
}

void SettingsController::testConnection()
{
    if (!canTest())
        return;
    setTestResult(TestResult::None, {});
    setIsTesting(true);

    // The client belongs to the settings, not to this window's state: a test still records the name when
    // the window's content is gone, and the client goes with the settings at the latest. It is its own
    // callback's context, so the callback never runs for a client that no longer exists.
    AppSettings *settings = m_settings;
    auto *client = new JiraClient(settings, settings);
    QPointer<SettingsController> self(this);
    const QString origin = jiraOrigin(settings->baseURL());
    const QString pinnedBefore = settings->pinnedCertificate(origin);
    client->fetchMyself(client, [self, settings, client, origin, pinnedBefore](JiraResult<JiraUser> result) {
        // Gone once its last request has answered (the server's description follows a success).
        if (!result)
            client->deleteLater();
        if (self)
            self->m_refusedCertificate = result ? std::nullopt : result.error().certificate();
        if (result) {
            const QString name = result.value().displayName;
            settings->setDisplayName(name);
            // Trust was on with nothing pinned: the certificate just seen is the trusted one from now on.
            const QString pinned = settings->pinnedCertificate(origin);
            if (self) {
                self->m_connectedName = name;
                self->m_connectedLines = {tr("Connected as %1").arg(name)};
                if (pinned != pinnedBefore)
                    self->m_connectedLines.append(
                        tr("This server's certificate (SHA-256 %1) is now the one trusted for it.").arg(pinned));
                self->setTestResult(TestResult::Success, self->m_connectedLines.join(u'\n'));
            }
            // And what the server is, once it says: a line of its own, after the name. Only of the server
            // tested: these requests read the settings when they leave, and the URL may have changed.
            const auto stillTested = [settings, origin] { return jiraOrigin(settings->baseURL()) == origin; };
            if (!stillTested()) {
                client->deleteLater();
                if (self)
                    self->setIsTesting(false);
                return;
            }
            client->fetchServerInfo(client, [self, client, stillTested](JiraResult<JiraServerInfo> info) {
                if (!info || !self || self->m_testResult != TestResult::Success || !stillTested()) {
                    client->deleteLater();
                    return;
                }
                const QString kind = info.value().deploymentType.value_or(QString());
                const QString &version = info.value().version;
                const QString &who = self->m_connectedName;
                self->m_connectedLines.first() = kind == u"DataCenter"_s
                    ? tr("Connected as %1 · Jira Data Center %2").arg(who, version)
                    : kind == u"Server"_s ? tr("Connected as %1 · Jira Server %2").arg(who, version)
                                          : tr("Connected as %1 · Jira %2").arg(who, version);
                self->setTestResult(TestResult::Success, self->m_connectedLines.join(u'\n'));
                // And when the token expires, where the server lists tokens.
                client->fetchAccessTokens(client, [self, client](JiraResult<QList<JiraAccessToken>> tokens) {
                    client->deleteLater();
                    const QString expiry = tokens ? tokenExpiryText(tokens.value()) : QString();
                    if (self && self->m_testResult == TestResult::Success && !expiry.isEmpty()) {
                        self->m_connectedLines.append(expiry);
                        self->setTestResult(TestResult::Success, self->m_connectedLines.join(u'\n'));
                    }
                });
            });
        } else if (self) {
            const QString hint = nextStep(result.error());
            self->setTestResult(TestResult::Failure,
                                userFacingText(result.error()) + (hint.isEmpty() ? QString() : u"\n"_s + hint));
        }
        if (self)
            self->setIsTesting(false);
    });
}

QString SettingsController::certificateDetails() const
{
    if (!m_refusedCertificate)
        return {};
    const JiraCertificate &certificate = *m_refusedCertificate;
    const QString fingerprint = colonFingerprint(certificate.fingerprint);
    const QLocale locale;
    QStringList lines {tr("SHA-256 %1").arg(fingerprint), tr("Issued to: %1").arg(certificate.subject),
                       tr("Issued by: %1").arg(certificate.issuer),
                       tr("Valid from %1 to %2")
                           .arg(locale.toString(certificate.notBefore.date(), QLocale::ShortFormat),
                                locale.toString(certificate.notAfter.date(), QLocale::ShortFormat))};
    lines.append(certificate.problems);
    return lines.join(u'\n');
}

void SettingsController::trustCertificate()
{
    if (!m_settings || !m_refusedCertificate)
        return;
    m_settings->pinCertificate(jiraOrigin(m_settings->baseURL()), m_refusedCertificate->fingerprint);
    m_settings->setTrustSelfSigned(true);
    m_refusedCertificate.reset();
    testConnection();
}

void SettingsController::setIsTesting(bool testing)
{
    if (testing == m_isTesting)
        return;
    m_isTesting = testing;
    emit isTestingChanged();
    updateCanTest();
}

void SettingsController::setTestResult(TestResult result, const QString &text)
{
    if (result == m_testResult && text == m_testResultText)
        return;
    m_testResult = result;
    m_testResultText = text;
    emit testResultChanged();
}

QString SettingsController::pinnedFingerprint() const
{
    return m_settings ? colonFingerprint(m_settings->pinnedCertificate(jiraOrigin(m_settings->baseURL()))) : QString();
}

void SettingsController::forgetCertificate()
{
    if (!m_settings)
        return;
    // Forgotten means not trusted: left on, the next certificate seen would be pinned unasked.
    m_settings->setTrustSelfSigned(false);
    m_settings->forgetCertificate();
}

void SettingsController::takeURL(const QString &typed)
{
    if (!m_settings)
        return;
    const QString kept = ServerProbe::baseAddress(typed);
    const QString note = kept != typed.trimmed() ? tr("Shortened to the server's address: %1").arg(kept) : QString();
    if (kept != typed)
        m_settings->setBaseURLString(kept);
    if (note != m_urlNote) {
        m_urlNote = note;
        emit urlNoteChanged();
    }
}

int SettingsController::page() const
{
    return QSettings().value(pageKey, 0).toInt();
}

void SettingsController::setPage(int page)
{
    if (page == this->page())
        return;
    QSettings().setValue(pageKey, page);
    emit pageChanged();
}

QSize SettingsController::windowSize() const
{
    return QSettings().value(sizeKey).toSize();
}

void SettingsController::keepWindowSize(const QSize &size)
{
    if (size.isValid())
        QSettings().setValue(sizeKey, size);
}

QString SettingsController::draftsFolder()
{
    return QDir::toNativeSeparators(Draft::folder());
}

QString SettingsController::cacheFolder()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                                    u"/Tessarin"_s);
}

int SettingsController::draftCount() const
{
    return m_draftCount;
}

void SettingsController::countDrafts()
{
    const int count = int(QDir(Draft::folder()).entryList(QDir::Files).size());
    if (count == m_draftCount)
        return;
    m_draftCount = count;
    emit draftCountChanged();
}
