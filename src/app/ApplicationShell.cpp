#include "ApplicationShell.h"

#include "AppDelegate.h"
#include "IconRenderer.h"
#include "WindowPlacement.h"
#include "desktop/TrayPresence.h"
#include "settings/AppSettings.h"
#include "store/ListCache.h"
#include "store/TicketStore.h"
#include "ui/common/JiraImageAccess.h"
#include "ui/list/ContentController.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>

using namespace Qt::StringLiterals;

void ApplicationShell::nameApplication()
{
    QCoreApplication::setApplicationName(u"Tessarin"_s);
    QCoreApplication::setOrganizationName(u"Tessarin"_s);
    QCoreApplication::setApplicationVersion(u"1.0"_s);
}

void ApplicationShell::setUpApplication()
{
    nameApplication();
    // Lets the window manager find the desktop entry, and with it the installed icon.
    QGuiApplication::setDesktopFileName(u"org.tessarin.Tessarin"_s);
    QQuickStyle::setStyle(u"Fusion"_s);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == u"hicolor"_s)
        QIcon::setThemeName(u"breeze"_s);
    QIcon::setFallbackThemeName(u"breeze"_s);
    // The scene graph packs small images (our icons) into one texture. Qt's default square of 1024
    // pixels held about 8 MB for a handful of icons where OpenGL renders on the CPU (llvmpipe): 256
    // pixels hold them all. Read when the first window is shown; a size the user set wins.
    if (!qEnvironmentVariableIsSet("QSG_ATLAS_WIDTH") && !qEnvironmentVariableIsSet("QSG_ATLAS_HEIGHT")) {
        qputenv("QSG_ATLAS_WIDTH", "256");
        qputenv("QSG_ATLAS_HEIGHT", "256");
    }

    // Also when started from the build folder, where no icon is installed.
    constexpr int iconSide = 256;
    QImage icon(iconSide, iconSide, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    {
        QPainter painter(&icon);
        painter.scale(iconSide / 1024.0, iconSide / 1024.0);
        IconRenderer::paint(painter, 1024);
    }
    QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));
}

ApplicationShell::ApplicationShell()
    : m_delegate(std::make_unique<AppDelegate>(nullptr))
{
    AppDelegate::setShared(m_delegate.get());
    // The token is read from the keyring while the window loads, not before.
    m_settings = std::make_unique<AppSettings>(nullptr, AppSettings::TokenRead::InBackground);
    AppSettings::setShared(m_settings.get());
    // The list kept on disk is read and decoded on another core while the window loads.
    if (!m_settings->baseURL().isEmpty())
        ListCache::prefetch();
    // Keep the last token the user typed, even when they quit right after typing it.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, m_settings.get(),
                     [settings = m_settings.get()] { settings->waitForKeyring(); });
}

ApplicationShell::~ApplicationShell()
{
    if (QQuickWindow *window = mainWindow())
        WindowPlacement::save(window);
    // The windows were built by the engine, which must still exist when they go.
    m_delegate->discardWindows();
    m_engine.reset();
}

bool ApplicationShell::start()
{
    m_imageAccess = std::make_unique<JiraImageAccess>(m_settings.get());
    m_engine = std::make_unique<QQmlApplicationEngine>();
    m_engine->setNetworkAccessManagerFactory(m_imageAccess.get());
    m_delegate->setEngine(m_engine.get());
    m_engine->load(QUrl(u"qrc:/Tessarin/Main.qml"_s));
    QQuickWindow *window = mainWindow();
    if (!window)
        return false;
    m_delegate->setMainWindow(window);
    if (WindowPlacement::restore(window))
        raise();
    else
        AppDelegate::present(window);
    QObject::connect(m_settings.get(), &AppSettings::keepInTrayChanged, window, [this] { updateTray(); });
    if (m_settings->keepInTray())
        updateTray();
    return true;
}

bool ApplicationShell::updateTray()
{
    QQuickWindow *window = mainWindow();
    const bool wanted = window && m_settings->keepInTray() && TrayPresence::isHostAvailable();
    if (!wanted) {
        if (m_tray)
            m_tray->hide();
        QGuiApplication::setQuitOnLastWindowClosed(true);
        return false;
    }
    if (!m_tray) {
        m_tray = std::make_unique<TrayPresence>();
        TrayPresence *tray = m_tray.get();
        QObject::connect(tray, &TrayPresence::openRequested, window, [this] { raise(); });
        QObject::connect(tray, &TrayPresence::quitRequested, window, [] { QCoreApplication::quit(); });
        if (auto *content = window->findChild<ContentController *>()) {
            QObject::connect(tray, &TrayPresence::refreshRequested, content, &ContentController::refresh);
            QObject::connect(tray, &TrayPresence::newIssueRequested, content, [this, content] {
                raise();
                content->requestNewIssue();
            });
            const auto count = [tray, store = content->store()] {
                const int issues = store->ticketCount();
                tray->setToolTip(
                    QCoreApplication::translate("ApplicationShell", "Tessarin · %n open issue(s)", nullptr, issues));
            };
            QObject::connect(content->store(), &TicketStore::ticketsChanged, tray, count);
            count();
        }
    }
    // Closing the window hides it; the program goes on in the tray, refreshing and notifying.
    const bool shown = m_tray->show();
    QGuiApplication::setQuitOnLastWindowClosed(!shown);
    return shown;
}

void ApplicationShell::raise()
{
    if (QQuickWindow *window = mainWindow()) {
        window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->requestActivate();
    }
}

QQuickWindow *ApplicationShell::mainWindow() const
{
    if (!m_engine || m_engine->rootObjects().isEmpty())
        return nullptr;
    return qobject_cast<QQuickWindow *>(m_engine->rootObjects().constFirst());
}
