#pragma once
// The Personal Access Token in the user's Secret Service keyring, one secret per account.

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class KeychainStore : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged FINAL)

public:
    // The keyring service name under which the token is filed.
    static const QString serviceName;

    explicit KeychainStore(QObject *parent = nullptr);
    ~KeychainStore() override;

    // Reads the secret of an account. Waits for the keyring's answer (it may be asking the user to
    // unlock it), so it is meant for start-up only. None when there is no item, the keyring refuses,
    // no Secret Service runs, or the stored bytes are not UTF-8.
    [[nodiscard]] std::optional<QString> read(const QString &account);
    // The same without waiting: `done` gets the answer (or none, after the same time limit) on the event
    // loop, once, unless `context` is gone by then.
    void readInBackground(const QString &account, QObject *context, std::function<void(std::optional<QString>)> done);

    // Replaces the account's secret, or removes it. Both return at once: the keyring is written in the
    // background, in the order of the calls, and ends up holding what the last call asked for.
    void save(const QString &secret, const QString &account);
    void remove(const QString &account);

    // Waits until every queued write has reached the keyring, or the time is up. For shutdown and tests.
    bool waitForPendingWrites(int timeoutMs = 5000);
    [[nodiscard]] bool hasPendingWrites() const;

    // Empty while the keyring works; otherwise why the token could not be kept in it.
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }

    // True when a Secret Service (or KWallet) is reachable on the session bus, running or activatable.
    [[nodiscard]] static bool isServiceAvailable();

signals:
    void errorMessageChanged();

private:
    struct Write
    {
        QString account;
        std::optional<QString> secret; // none: remove the item
    };

    void enqueue(Write write);
    void startNext();
    void finishWrite(int error, const QString &errorString);
    void setErrorMessage(const QString &message);
    [[nodiscard]] bool serviceAvailable();

    QList<Write> m_queue; // at most one write per account: a newer one replaces the one waiting
    bool m_writing = false;
    std::optional<bool> m_serviceAvailable;
    QString m_errorMessage;
};
