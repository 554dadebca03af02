#include "BenchHooks.h"

#include "ProcessProbe.h"
#include "store/TicketStore.h"
#include "ui/detail/TicketDetail.h"
#include "ui/list/ContentController.h"

#include <QCoreApplication>
#include <QFile>
#include <QMutex>
#include <QPointer>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>

#include <array>
#include <atomic>
#include <cstdio>
#include <ctime>

// Qt's hooks for debugging tools: QtCore calls the functions in its slots 3 and 4 as each QObject is
// made and destroyed, on whichever thread that happens. A stable, exported part of QtCore's ABI.
extern Q_DECL_IMPORT quintptr qtHookData[];

using namespace Qt::StringLiterals;

namespace {

using ProcessProbe::monotonicNs;

struct Step
{
    const char *name;
    qint64 ns;
};
// Start-up steps, written on the main thread only, before the milestone is printed.
std::array<Step, 8> steps {};
std::size_t stepCount = 0;

void printSteps()
{
    for (std::size_t i = 0; i < stepCount; ++i)
        std::printf("tessarin-bench-step %s %lld\n", steps[i].name, static_cast<long long>(steps[i].ns));
}
using ProcessProbe::peakResidentKb;

constexpr int addObjectHook = 3;
constexpr int removeObjectHook = 4;

// Every QObject alive, counted from the first step on.
struct LiveObjects
{
    QMutex lock;
    QSet<QObject *> objects;
};
LiveObjects &liveObjects()
{
    static LiveObjects *live = new LiveObjects; // never destroyed: objects go on being destroyed at exit
    return *live;
}
void objectAdded(QObject *object)
{
    LiveObjects &live = liveObjects();
    const QMutexLocker locker(&live.lock);
    live.objects.insert(object);
}
void objectRemoved(QObject *object)
{
    LiveObjects &live = liveObjects();
    const QMutexLocker locker(&live.lock);
    live.objects.remove(object);
}
void countObjects()
{
    liveObjects();
    qtHookData[addObjectHook] = reinterpret_cast<quintptr>(&objectAdded);
    qtHookData[removeObjectHook] = reinterpret_cast<quintptr>(&objectRemoved);
}
qsizetype objectCount()
{
    LiveObjects &live = liveObjects();
    const QMutexLocker locker(&live.lock);
    return live.objects.size();
}

// The items of the window's scene, its popups' included.
qsizetype itemCount(const QQuickItem *item)
{
    qsizetype count = 1;
    for (const QQuickItem *child : item->childItems())
        count += itemCount(child);
    return count;
}

// Watches the window until the milestone is on screen. The frame signals may come from the render
// thread; the milestone is decided on the GUI thread, so only atomics cross.
class Probe : public QObject
{
public:
    Probe(QQuickWindow *window, QByteArray milestone, ContentController *controller)
        : QObject(window)
        , m_window(window)
        , m_milestone(std::move(milestone))
        , m_controller(controller)
        , m_keepRunning(qEnvironmentVariableIntValue("TESSARIN_BENCH_KEEP_RUNNING") != 0)
    {
        TicketStore *store = controller->store();
        // "first-list" is any list, the one kept on disk included; "fresh-list" only the server's answer.
        const auto loaded = [this, store] {
            return store->lastUpdated().isValid() && !(m_milestone == "fresh-list" && store->showsCachedList());
        };
        m_listLoaded = loaded();
        connect(store, &TicketStore::lastUpdatedChanged, this, [this, loaded] {
            m_listLoaded = loaded();
            check();
        });
        connect(controller, &ContentController::detailChanged, this, &Probe::watchDetail);
        watchDetail();
        // Synchronizing copies the items' state into the scene graph: a frame synchronized after the
        // milestone shows it.
        // The GUI thread waits while the scene is synchronized, so its items hold still to be counted.
        connect(
            window, &QQuickWindow::beforeSynchronizing, this,
            [this] {
                if (!m_armed.load() || m_synchronized.exchange(true))
                    return;
                m_items.store(m_window ? itemCount(m_window->contentItem()) : 0);
                m_objects.store(objectCount());
            },
            Qt::DirectConnection);
        connect(
            window, &QQuickWindow::frameSwapped, this, [this] { frameSwapped(); }, Qt::DirectConnection);
    }

private:
    void watchDetail()
    {
        TicketDetail *detail = m_controller->detail();
        if (!detail)
            return;
        connect(detail, &TicketDetail::isLoadingCommentsChanged, this, &Probe::check, Qt::UniqueConnection);
        connect(detail, &TicketDetail::isLoadingTransitionsChanged, this, &Probe::check, Qt::UniqueConnection);
        connect(detail->attachments(), &IssueAttachments::isLoadingChanged, this, &Probe::check, Qt::UniqueConnection);
        check();
    }

    void check()
    {
        if (m_armed.load() || !m_listLoaded)
            return;
        if (m_milestone == "detail") {
            const TicketDetail *detail = m_controller->detail();
            if (!detail || detail->isLoadingComments() || detail->isLoadingTransitions() ||
                detail->attachments()->isLoading() || detail->commentList().isEmpty())
                return;
        }
        m_armed.store(true);
        if (m_window)
            m_window->update();
    }

    void frameSwapped()
    {
        qint64 none = 0;
        m_firstFrameNs.compare_exchange_strong(none, monotonicNs());
        if (!m_synchronized.load() || m_reported.exchange(true))
            return;
        const qint64 at = monotonicNs();
        printSteps();
        std::printf("tessarin-bench-step frame %lld\n", static_cast<long long>(m_firstFrameNs.load()));
        std::printf("tessarin-bench-count %s %lld %lld\n", m_milestone.constData(),
                    static_cast<long long>(m_items.load()), static_cast<long long>(m_objects.load()));
        std::printf("tessarin-bench %s %lld %lld\n", m_milestone.constData(), static_cast<long long>(at),
                    static_cast<long long>(peakResidentKb()));
        std::fflush(stdout);
        if (!m_keepRunning)
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }

    QPointer<QQuickWindow> m_window;
    const QByteArray m_milestone;
    ContentController *m_controller;
    const bool m_keepRunning;
    bool m_listLoaded = false;
    std::atomic<bool> m_armed {false};
    std::atomic<bool> m_synchronized {false};
    std::atomic<bool> m_reported {false};
    std::atomic<qint64> m_firstFrameNs {0};
    std::atomic<qsizetype> m_items {0};
    std::atomic<qsizetype> m_objects {0};
};

} // namespace

namespace BenchHooks {

void mark(const char *step)
{
    static const bool asked = qEnvironmentVariableIsSet("TESSARIN_BENCH_MILESTONE");
    if (!asked)
        return;
    if (stepCount == 0)
        countObjects();
    if (stepCount < steps.size())
        steps[stepCount++] = {step, monotonicNs()};
}

void install(QQmlApplicationEngine *engine)
{
    const QByteArray milestone = qgetenv("TESSARIN_BENCH_MILESTONE");
    if (milestone.isEmpty() || !engine || engine->rootObjects().isEmpty())
        return;
    auto *window = qobject_cast<QQuickWindow *>(engine->rootObjects().constFirst());
    if (!window)
        return;
    auto *controller = window->findChild<ContentController *>();
    if ((milestone != "first-list" && milestone != "fresh-list" && milestone != "detail") || !controller ||
        !controller->store()) {
        std::fprintf(stderr, "tessarin-bench: cannot watch for \"%s\"\n", milestone.constData());
        return;
    }
    new Probe(window, milestone, controller);
}

} // namespace BenchHooks
