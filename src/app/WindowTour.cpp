#include "WindowTour.h"

#include "AppDelegate.h"
#include "ApplicationShell.h"
#include "ui/list/ContentController.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <deque>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

std::atomic<int> warningCount {0};
QtMessageHandler passOn = nullptr;

void countWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // A platform plugin that cannot do something (offscreen cannot raise a window) is no fault of ours.
    if (type != QtDebugMsg && type != QtInfoMsg && !message.startsWith(u"This plugin does not support"_s))
        ++warningCount;
    passOn(type, context, message);
}

void say(const QString &what)
{
    std::printf("tessarin-tour %s\n", qPrintable(what));
    std::fflush(stdout);
}

// Long enough for a window to be laid out and painted, and for what it makes on first use to load.
constexpr int settleMs = 300;

class Tour : public QObject
{
public:
    explicit Tour(ApplicationShell &shell)
        : m_shell(shell)
    { }

    void begin()
    {
        then([this] {
            m_toured.insert(m_shell.mainWindow());
            tourWindow(m_shell.mainWindow(), u"main window"_s);
        });
        then([this] { m_shell.delegate()->showSettings(); });
        then([this] {
            QQuickWindow *settings = m_shell.delegate()->settingsWindow();
            m_toured.insert(settings);
            tourWindow(settings, u"settings window"_s);
            // Each of its pages in turn, as the page list shows them.
            for (QObject *object : settings ? settings->findChildren<QObject *>() : QList<QObject *>()) {
                if (object->metaObject()->indexOfMethod("showPage(QVariant)") >= 0)
                    tourPages(QPointer(object), settings);
            }
        });
        then([this] { m_shell.delegate()->showAbout(); });
        then([this] { tourNewWindows(u"about window"_s); });
        then([this] {
            if (auto *content = m_shell.mainWindow()->findChild<ContentController *>())
                content->requestNewIssue();
        });
        then([this] { tourNewWindows(u"new issue window"_s); });
        then([] {
            say(u"warnings %1"_s.arg(warningCount.load()));
            QCoreApplication::exit(warningCount.load() == 0 ? 0 : 1);
        });
        next();
    }

private:
    // Queues a step; each runs a moment after the one before, on this object.
    void then(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    void next()
    {
        if (m_steps.empty())
            return;
        QTimer::singleShot(settleMs, this, [this] {
            auto step = std::move(m_steps.front());
            m_steps.pop_front();
            step();
            next();
        });
    }

    void tourWindow(QQuickWindow *window, const QString &name)
    {
        if (!window || !window->isVisible()) {
            qWarning("The %s did not open", qPrintable(name));
            return;
        }
        say(u"opened "_s + name);
        for (QObject *object : window->findChildren<QObject *>()) {
            if (object->objectName().endsWith(u"Dialog"_s) && object->metaObject()->indexOfMethod("open()") >= 0)
                m_steps.push_front([this, dialog = QPointer(object)] { openDialog(dialog); });
        }
    }

    // Shows each page of the settings window and says which showed.
    void tourPages(const QPointer<QObject> &view, QQuickWindow *window)
    {
        const int pages = view->property("pageCount").toInt();
        for (int page = pages - 1; page >= 0; --page) {
            m_steps.push_front([view, window, page] {
                if (!view)
                    return;
                QMetaObject::invokeMethod(view, "showPage", Q_ARG(QVariant, page));
                auto *stack = window->findChild<QQuickItem *>(u"settingsPages"_s);
                QQuickItem *shown = stack ? stack->childItems().value(page) : nullptr;
                if (!shown || !shown->isVisible())
                    qWarning("The settings page %d did not show", page);
                else
                    say(u"opened settings page "_s + shown->objectName());
            });
        }
    }

    // Every visible window not yet toured: what the step before opened.
    void tourNewWindows(const QString &name)
    {
        bool found = false;
        for (QWindow *window : QGuiApplication::topLevelWindows()) {
            auto *quick = qobject_cast<QQuickWindow *>(window);
            if (!quick || !quick->isVisible() || m_toured.contains(quick))
                continue;
            m_toured.insert(quick);
            tourWindow(quick, name);
            found = true;
        }
        if (!found)
            qWarning("The %s did not open", qPrintable(name));
    }

    void openDialog(const QPointer<QObject> &dialog)
    {
        if (!dialog)
            return;
        QMetaObject::invokeMethod(dialog, "open");
        m_steps.push_front([dialog] {
            if (!dialog)
                return;
            if (!dialog->property("visible").toBool())
                qWarning("The dialog %s did not open", qPrintable(dialog->objectName()));
            else
                say(u"opened "_s + dialog->objectName());
            if (dialog->metaObject()->indexOfMethod("close()") >= 0)
                QMetaObject::invokeMethod(dialog, "close");
        });
    }

    ApplicationShell &m_shell;
    std::deque<std::function<void()>> m_steps;
    QSet<QQuickWindow *> m_toured;
};

} // namespace

namespace WindowTour {

bool requested()
{
    static const bool asked = qEnvironmentVariableIntValue("TESSARIN_WINDOW_TOUR") == 1;
    if (asked && !passOn)
        passOn = qInstallMessageHandler(countWarnings);
    return asked;
}

void start(ApplicationShell &shell)
{
    auto *tour = new Tour(shell);
    tour->setParent(shell.mainWindow());
    tour->begin();
}

} // namespace WindowTour
