#pragma once
// Records what the application asked the desktop to open, in place of the desktop: set it as the
// handler of a scheme with QDesktopServices::setUrlHandler(scheme, &opened, "open").

#include <QList>
#include <QObject>
#include <QUrl>

class OpenedUrls : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};
