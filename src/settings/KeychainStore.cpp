#include "KeychainStore.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QStringDecoder>
#include <QTimer>

#include <memory>
#include <qt6keychain/keychain.h>

using namespace Qt::StringLiterals;

const QString KeychainStore::serviceName = u"org.tessarin.Tessarin.pat"_s;

namespace {

// How long start-up waits for the keyring at most: long enough for the user to answer an unlock prompt.
constexpr int readTimeoutMs = 60'000;
// How long we ask the bus whether a keyring service exists. The bus daemon answers in microseconds.
constexpr int busQueryTimeoutMs = 500;

QString unavailableMessage()
{
    return KeychainStore::tr("No system keyring (Secret Service) is available, so the token cannot be saved and "
                             "will be lost when Tessarin quits.");
}

QStringList busNames(const QDBusConnection &bus, const QString &method)
{
    const auto call = QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                                     u"org.freedesktop.DBus"_s, method);
    const QDBusMessage reply = bus.call(call, QDBus::Block, busQueryTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().toStringList();
}

// Strict UTF-8: a secret that is not valid UTF-8 is not our token.
std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Handles events until `done` or the time is up. Not a nested QEventLoop: once anyone has asked the
// application to quit (a second quit while the last token is being written, a test's own loop), every
// new event loop ends at once, and the wait would end before the keyring answered: the token lost at
// quit, or read as missing at start.
void waitUntil(int timeoutMs, const std::function<bool()> &done)
{
    const QDeadlineTimer deadline(timeoutMs);
    QObject alarm; // wakes the wait at the deadline
    QTimer::singleShot(timeoutMs, &alarm, [] {});
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace

KeychainStore::KeychainStore(QObject *parent)
    : QObject(parent)
{ }

KeychainStore::~KeychainStore() = default;

bool KeychainStore::isServiceAvailable()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    static const QStringList providers = {u"org.freedesktop.secrets"_s, u"org.kde.kwalletd5"_s, u"org.kde.kwalletd6"_s};
    for (const QString &method : {u"ListNames"_s, u"ListActivatableNames"_s}) {
        const QStringList names = busNames(bus, method);
        for (const QString &provider : providers) {
            if (names.contains(provider))
                return true;
        }
    }
    return false;
}

bool KeychainStore::serviceAvailable()
{
    if (!m_serviceAvailable)
        m_serviceAvailable = isServiceAvailable();
    return *m_serviceAvailable;
}

std::optional<QString> KeychainStore::read(const QString &account)
{
    if (!serviceAvailable()) {
        setErrorMessage(unavailableMessage());
        return std::nullopt;
    }

    // The job deletes itself when it ends, and belongs to no one: a keyring that answers after we gave up
    // (or after this store is gone) finds it still there, and harms nothing.
    auto *job = new QKeychain::ReadPasswordJob(serviceName);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(account);

    QObject waiting; // the answer is not taken once this wait is over
    std::optional<QByteArray> secret;
    bool answered = false;
    connect(job, &QKeychain::Job::finished, &waiting, [&](QKeychain::Job *) {
        answered = true;
        if (job->error() == QKeychain::NoError)
            secret = job->binaryData();
    });
    job->start();
    waitUntil(readTimeoutMs, [&] { return answered; });

    if (!secret)
        return std::nullopt;
    return decodeUtf8(*secret);
}

void KeychainStore::readInBackground(const QString &account, QObject *context,
                                     std::function<void(std::optional<QString>)> done)
{
    if (!serviceAvailable()) {
        setErrorMessage(unavailableMessage());
        QMetaObject::invokeMethod(context, [done = std::move(done)] { done(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    auto *job = new QKeychain::ReadPasswordJob(serviceName);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(account);
    // Whichever comes first, the answer or the time limit, answers; the other finds it already given.
    auto answer = std::make_shared<std::function<void(std::optional<QString>)>>(std::move(done));
    const auto give = [answer](std::optional<QString> secret) {
        if (auto once = std::exchange(*answer, nullptr))
            once(std::move(secret));
    };
    connect(job, &QKeychain::Job::finished, context, [give, job](QKeychain::Job *) {
        give(job->error() == QKeychain::NoError ? decodeUtf8(job->binaryData()) : std::nullopt);
    });
    QTimer::singleShot(readTimeoutMs, context, [give] { give(std::nullopt); });
    job->start();
}

void KeychainStore::save(const QString &secret, const QString &account)
{
    enqueue({account, secret});
}

void KeychainStore::remove(const QString &account)
{
    enqueue({account, std::nullopt});
}

bool KeychainStore::hasPendingWrites() const
{
    return m_writing || !m_queue.isEmpty();
}

bool KeychainStore::waitForPendingWrites(int timeoutMs)
{
    if (!hasPendingWrites())
        return true;
    waitUntil(timeoutMs, [this] { return !hasPendingWrites(); });
    return !hasPendingWrites();
}

void KeychainStore::enqueue(Write write)
{
    // A write that has not started yet is overtaken by a newer one for the same account: the keyring
    // only has to end up with the last value, and typing must not pile up keyring round trips.
    m_queue.removeIf([&](const Write &queued) { return queued.account == write.account; });
    m_queue.append(std::move(write));
    if (!m_writing)
        startNext();
}

void KeychainStore::startNext()
{
    if (m_queue.isEmpty())
        return;
    if (!serviceAvailable()) {
        m_queue.clear();
        setErrorMessage(unavailableMessage());
        return;
    }

    // A save removes every item of the account first, then adds the new one: an item filed by another
    // program under the same service and account would otherwise survive beside ours.
    const Write write = m_queue.takeFirst();
    m_writing = true;
    auto *removeJob = new QKeychain::DeletePasswordJob(serviceName, this);
    removeJob->setAutoDelete(true);
    removeJob->setInsecureFallback(false);
    removeJob->setKey(write.account);
    connect(removeJob, &QKeychain::Job::finished, this, [this, write](QKeychain::Job *job) {
        const QKeychain::Error error = job->error();
        if (!write.secret || (error != QKeychain::NoError && error != QKeychain::EntryNotFound)) {
            finishWrite(error, job->errorString());
            return;
        }
        auto *addJob = new QKeychain::WritePasswordJob(serviceName, this);
        addJob->setAutoDelete(true);
        addJob->setInsecureFallback(false);
        addJob->setKey(write.account);
        addJob->setTextData(*write.secret);
        connect(addJob, &QKeychain::Job::finished, this,
                [this](QKeychain::Job *added) { finishWrite(added->error(), added->errorString()); });
        addJob->start();
    });
    removeJob->start();
}

void KeychainStore::finishWrite(int error, const QString &errorString)
{
    m_writing = false;
    if (error == QKeychain::NoError || error == QKeychain::EntryNotFound) {
        setErrorMessage({});
    } else {
        setErrorMessage(tr("The token could not be saved in the system keyring (%1). It will be lost when Tessarin "
                           "quits.")
                            .arg(errorString));
    }
    startNext();
}

void KeychainStore::setErrorMessage(const QString &message)
{
    if (m_errorMessage == message)
        return;
    m_errorMessage = message;
    emit errorMessageChanged();
}
