#include "Draft.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

// Larger drafts are not read back: a draft is what one person typed.
constexpr qint64 maxDraftBytes = 4 * 1024 * 1024;

} // namespace

QString Draft::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/Tessarin/drafts"_s;
}

Draft::Draft(const QUrl &server, const QString &issueKey, const QString &slot, QObject *parent)
    : QObject(parent)
    , m_issueKey(issueKey)
    , m_slot(slot)
{
    const QByteArray name = (server.toString(QUrl::StripTrailingSlash) + u'\n' + issueKey + u'\n' + slot).toUtf8();
    m_path = folder() + u'/' + QString::fromLatin1(QCryptographicHash::hash(name, QCryptographicHash::Sha256).toHex()) +
        u".json"_s;

    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly) && file.size() <= maxDraftBytes) {
        // A file that is not a draft of this issue reads as no draft.
        const QJsonObject stored = QJsonDocument::fromJson(file.readAll()).object();
        if (stored.value("issue"_L1).toString() == issueKey && stored.value("slot"_L1).toString() == slot)
            m_value = stored.value("value"_L1).toObject();
    }

    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(savePauseMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &Draft::flush);
}

Draft::~Draft()
{
    if (m_unwritten)
        flush();
}

void Draft::setValue(const QJsonObject &value)
{
    if (value == m_value)
        return;
    m_value = value;
    m_unwritten = true;
    m_saveTimer.start();
}

bool Draft::flush()
{
    m_saveTimer.stop();
    m_unwritten = false;
    if (m_value.isEmpty()) {
        QFile::remove(m_path);
        return true;
    }
    const QString dir = folder();
    if (!QDir().mkpath(dir))
        return false;
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QJsonObject stored {{u"issue"_s, m_issueKey}, {u"slot"_s, m_slot}, {u"value"_s, m_value}};
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    file.write(QJsonDocument(stored).toJson(QJsonDocument::Compact));
    return file.commit();
}

void Draft::discard()
{
    m_saveTimer.stop();
    m_unwritten = false;
    m_value = {};
    QFile::remove(m_path);
}
