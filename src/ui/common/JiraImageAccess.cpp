#include "JiraImageAccess.h"

#include "settings/AppSettings.h"

#include <QNetworkRequest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

using namespace Qt::StringLiterals;

bool isSameOrigin(const QUrl &a, const QUrl &b)
{
    return a.isValid() && b.isValid() && a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
        a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && a.port(-1) == b.port(-1) &&
        (a.scheme() == u"http"_s || a.scheme() == u"https"_s);
}

QString restrictImagesToServer(const QString &richText, const QUrl &serverBase)
{
    if (!richText.contains(u"<img"_s, Qt::CaseInsensitive))
        return richText;
    QUrl base = serverBase;
    if (base.isValid())
        base.setPath(base.path() + u"/"_s);

    // The document only parses here; it loads a resource only when laid out, which this one never is.
    QTextDocument document;
    document.setHtml(richText);
    // Collected first, changed after: editing the document while walking its fragments invalidates them.
    struct Image
    {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Image> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                images.append({fragment.position(), fragment.length(), fragment.charFormat().toImageFormat()});
        }
    }
    // Back to front, so that removing one leaves the positions of those before it valid.
    for (auto it = images.crbegin(); it != images.crend(); ++it) {
        const QUrl source(it->format.name());
        const QUrl absolute = source.isRelative() && base.isValid() ? base.resolved(source) : source;
        QTextCursor cursor(&document);
        cursor.setPosition(it->position);
        cursor.setPosition(it->position + it->length, QTextCursor::KeepAnchor);
        if (isSameOrigin(absolute, serverBase)) {
            QTextImageFormat image = it->format;
            image.setName(absolute.toString());
            cursor.setCharFormat(image);
        } else {
            // Gone rather than emptied: an empty source would resolve against the view's own location.
            cursor.removeSelectedText();
        }
    }
    return document.toHtml();
}

void ServerCredentials::set(const QUrl &base, const QString &token)
{
    const QMutexLocker lock(&m_mutex);
    m_base = base;
    m_token = token;
}

std::pair<QUrl, QString> ServerCredentials::get() const
{
    const QMutexLocker lock(&m_mutex);
    return {m_base, m_token};
}

JiraImageNetworkManager::JiraImageNetworkManager(std::shared_ptr<const ServerCredentials> credentials, QObject *parent)
    : QNetworkAccessManager(parent)
    , m_credentials(std::move(credentials))
{
    setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
}

QNetworkReply *JiraImageNetworkManager::createRequest(Operation op, const QNetworkRequest &request, QIODevice *data)
{
    const auto [server, token] = m_credentials->get();
    if (op != GetOperation || !isSameOrigin(request.url(), server)) {
        // An unknown scheme makes Qt answer with an error reply at once, without a connection.
        QNetworkRequest refused(request);
        refused.setUrl(QUrl(u"refused:"_s));
        return QNetworkAccessManager::createRequest(op, refused, data);
    }
    QNetworkRequest authorised(request);
    authorised.setRawHeader("Authorization", "Bearer " + token.toUtf8());
    authorised.setTransferTimeout(30'000);
    return QNetworkAccessManager::createRequest(op, authorised, data);
}

JiraImageAccess::JiraImageAccess(AppSettings *settings)
    : m_credentials(std::make_shared<ServerCredentials>())
{
    const auto update = [settings, credentials = m_credentials] {
        credentials->set(settings->baseURL(), settings->token());
    };
    update();
    m_connections = {QObject::connect(settings, &AppSettings::baseURLChanged, settings, update),
                     QObject::connect(settings, &AppSettings::tokenChanged, settings, update)};
}

JiraImageAccess::~JiraImageAccess()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        QObject::disconnect(connection);
}

QNetworkAccessManager *JiraImageAccess::create(QObject *parent)
{
    return new JiraImageNetworkManager(m_credentials, parent);
}
