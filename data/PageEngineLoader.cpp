#include "PageEngineLoader.h"

#include "Messages.h"
#include "PageEngine.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLibrary>
#include <QPointer>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include <utility>

namespace PageEngineLoader {

namespace {

const QString ModuleName = QStringLiteral("korvelta-pages.so");

// Sees the first painting of any of the program's widgets, then lets the
// waiting viewers go on once that painting has been sent to the screen.
class FirstPaintWatcher final : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            QCoreApplication::instance()->removeEventFilter(this);
            // Queued: runs after the window's whole painting is done.
            QTimer::singleShot(0, this, &FirstPaintWatcher::release);
        }
        return false;
    }

    void release();
};

// One engine per process, as the web engine itself is one per process.
struct LoaderState
{
    bool attempted = false;
    PageEngine *engine = nullptr;
    QString chosenModule;
    bool painted = false;
    FirstPaintWatcher *watcher = nullptr;
    QVector<std::pair<QPointer<QObject>, std::function<void()>>> waiting;
};

LoaderState &state()
{
    static LoaderState s;
    return s;
}

void FirstPaintWatcher::release()
{
    LoaderState &s = state();
    s.painted = true;
    s.watcher = nullptr;
    Platform::flushWindowSystem();
    const auto waiting = std::exchange(s.waiting, {});
    for (const auto &[context, then] : waiting) {
        if (context)
            then();
    }
    deleteLater();
}

} // namespace

PageEngine *engine()
{
    LoaderState &s = state();
    if (!s.attempted) {
        s.attempted = true;
        QString error;
        s.engine = loadFrom(s.chosenModule.isEmpty() ? modulePath() : s.chosenModule, &error);
        if (!s.engine)
            Messages::showError(error);
    }
    return s.engine;
}

bool attempted()
{
    return state().attempted;
}

PageEngine *loadFrom(const QString &path, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("The page viewer's module is missing: %1").arg(QDir::toNativeSeparators(path));
        return nullptr;
    }
    // Never unloaded: its objects live as long as the process.
    QLibrary library(path);
    if (!library.load()) {
        *error = QStringLiteral("The page viewer's module cannot be loaded: %1").arg(library.errorString());
        return nullptr;
    }
    const auto entry = reinterpret_cast<PageEngineEntry>(library.resolve(KORVELTA_PAGE_ENGINE_ENTRY));
    if (!entry) {
        library.unload();
        *error = QStringLiteral("%1 is not the page viewer's module").arg(QDir::toNativeSeparators(path));
        return nullptr;
    }
    return entry();
}

QString modulePath()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(ModuleName);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = QDir::cleanPath(
        QDir(programDir.filePath(QStringLiteral(KORVELTA_MODULES_FROM_PROGRAM))).filePath(ModuleName));
#ifdef KORVELTA_PAGES_BUILT
    // Tests and benchmarks run from their own folders of the build tree.
    if (!QFileInfo::exists(installed) && QFileInfo::exists(QStringLiteral(KORVELTA_PAGES_BUILT)))
        return QStringLiteral(KORVELTA_PAGES_BUILT);
#endif
    return installed;
}

void useModule(const QString &path)
{
    state().chosenModule = path;
}

void afterFirstPaint(QObject *context, std::function<void()> then)
{
    LoaderState &s = state();
    if (s.painted) {
        QTimer::singleShot(0, context, std::move(then));
        return;
    }
    s.waiting.append({QPointer<QObject>(context), std::move(then)});
    if (!s.watcher) {
        s.watcher = new FirstPaintWatcher(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(s.watcher);
    }
}

} // namespace PageEngineLoader
