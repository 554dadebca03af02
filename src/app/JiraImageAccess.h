#pragma once
// What the rich text of descriptions and comments may load: images from the configured Jira server,
// fetched with the token (so attached screenshots show), and nothing else: no other host, no local file.

#include <QNetworkAccessManager>
#include <QQmlNetworkAccessManagerFactory>
#include <QString>
#include <QUrl>

class AppSettings;

// Rewrites the image sources of Qt rich text: relative ones resolved against the server, those of the
// server kept, every other image (another host, file:, qrc:, data:) removed so that nothing loads it.
[[nodiscard]] QString restrictImagesToServer(const QString &richText, const QUrl &serverBase);
// Same scheme, host and port.
[[nodiscard]] bool isSameOrigin(const QUrl &a, const QUrl &b);

// The network access of the QML engine: the token goes to the server's own origin only, and requests
// for anything else fail without touching the network.
class JiraImageNetworkManager : public QNetworkAccessManager
{
    Q_OBJECT
public:
    JiraImageNetworkManager(AppSettings *settings, QObject *parent = nullptr);

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request, QIODevice *data) override;

private:
    AppSettings *m_settings;
};

class JiraImageAccess : public QQmlNetworkAccessManagerFactory
{
public:
    explicit JiraImageAccess(AppSettings *settings)
        : m_settings(settings)
    { }
    QNetworkAccessManager *create(QObject *parent) override;

private:
    AppSettings *m_settings;
};
