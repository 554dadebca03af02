#pragma once
// What the rich text of descriptions and comments may load: images from the configured Jira server,
// fetched with the token (so attached screenshots show), and nothing else: no other host, no local file.

#include <QList>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QQmlNetworkAccessManagerFactory>
#include <QString>
#include <QUrl>

#include <memory>
#include <utility>

class AppSettings;

// Rewrites the image sources of Qt rich text: relative ones resolved against the server, those of the
// server kept, every other image (another host, file:, qrc:, data:) removed so that nothing loads it.
[[nodiscard]] QString restrictImagesToServer(const QString &richText, const QUrl &serverBase);
// Same scheme, host and port.
[[nodiscard]] bool isSameOrigin(const QUrl &a, const QUrl &b);

// The server and token as the image loader sees them. QML loads images on a thread of its own, so it
// reads this copy, kept current from the settings on the main thread, rather than the settings object.
class ServerCredentials
{
public:
    void set(const QUrl &base, const QString &token);
    [[nodiscard]] std::pair<QUrl, QString> get() const;

private:
    mutable QMutex m_mutex;
    QUrl m_base;
    QString m_token;
};

// The network access of the QML engine: the token goes to the server's own origin only, and requests
// for anything else fail without touching the network.
class JiraImageNetworkManager : public QNetworkAccessManager
{
    Q_OBJECT
public:
    explicit JiraImageNetworkManager(std::shared_ptr<const ServerCredentials> credentials, QObject *parent = nullptr);

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request, QIODevice *data) override;

private:
    std::shared_ptr<const ServerCredentials> m_credentials;
};

class JiraImageAccess : public QQmlNetworkAccessManagerFactory
{
public:
    // Follows the settings for as long as it lives; must be made on the main thread.
    explicit JiraImageAccess(AppSettings *settings);
    ~JiraImageAccess() override;
    QNetworkAccessManager *create(QObject *parent) override;

private:
    std::shared_ptr<ServerCredentials> m_credentials;
    QList<QMetaObject::Connection> m_connections;
};
