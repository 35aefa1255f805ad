#include "BenchCases.h"

#include "CourseSession.h"
#include "PageViewer.h"
#include "TableCursor.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit6.h"

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QTreeWidgetItem>
#include <QWebEngineView>

#include <memory>

#ifndef KORVELTA_DEMO_COURSE
#error "KORVELTA_DEMO_COURSE must name the assembled demo course"
#endif

namespace {

// Runs the event loop until `done` or a 30 s limit; false on the limit.
bool waitFor(QObject *sender, const std::function<void(QEventLoop &)> &arm)
{
    QEventLoop loop;
    bool finished = false;
    QObject guard;
    arm(loop);
    QTimer::singleShot(30000, &guard, [&] { loop.exit(1); });
    finished = loop.exec() == 0;
    Q_UNUSED(sender)
    return finished;
}

struct DemoCourse
{
    QString previous = QDir::currentPath();
    DemoCourse() { QDir::setCurrent(QStringLiteral(KORVELTA_DEMO_COURSE)); }
    ~DemoCourse()
    {
        Form1 = nullptr;
        Form6 = nullptr;
        DataModule2 = nullptr;
        QDir::setCurrent(previous);
    }
};

// From creating the main window and the data module on the demo course to the
// cover page finished loading in the page viewer.
void startupToCoverPage(const BenchReport &report)
{
    DemoCourse course;
    QElapsedTimer timer;
    timer.start();
    CourseSession session;
    auto form = std::make_unique<TForm1>(session);
    Form1 = form.get();
    std::unique_ptr<TDataModule2> module;
    bool loaded = false;
    const bool inTime = waitFor(form.get(), [&](QEventLoop &loop) {
        QObject::connect(form->findChild<PageViewer *>("WebBrowser1")->view(), &QWebEngineView::loadFinished, &loop, [&](bool ok) {
            loaded = ok;
            loop.quit();
        });
        module = std::make_unique<TDataModule2>();
        DataModule2 = module.get();
        form->attachDataModule(*module);
        form->showMaximized();
    });
    const double ms = timer.nsecsElapsed() / 1e6;
    report({inTime && loaded ? "start-up to cover page loaded" : "start-up: cover page did NOT load", ms, "ms",
            "< 1500 ms"});
}

class FirstPaint final : public QObject
{
public:
    explicit FirstPaint(QEventLoop &loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, &m_loop, [this] { m_loop.quit(); });
        return false;
    }

private:
    QEventLoop &m_loop;
};

// From creating the start screen to its first paint.
void startScreenFirstPaint(const BenchReport &report)
{
    DemoCourse course;
    QElapsedTimer timer;
    timer.start();
    CourseSession session;
    auto screen = std::make_unique<TForm6>(session);
    Form6 = screen.get();
    QEventLoop loop;
    FirstPaint filter(loop);
    screen->installEventFilter(&filter);
    screen->show();
    loop.exec();
    report({"start screen created to first painted", timer.nsecsElapsed() / 1e6, "ms", "< 300 ms"});
}

// A click on a lesson in the tree to its page finished loading.
void lessonClickToPage(const BenchReport &report)
{
    DemoCourse course;
    CourseSession session;
    auto form = std::make_unique<TForm1>(session);
    Form1 = form.get();
    auto module = std::make_unique<TDataModule2>();
    DataModule2 = module.get();
    form->attachDataModule(*module);
    form->showMaximized();
    auto *viewer = form->findChild<PageViewer *>("WebBrowser1");
    auto *tree = form->findChild<QTreeWidget *>("TreeView1");
    QWebEngineView *view = viewer->view();

    auto loadAfter = [&](const std::function<void()> &action) {
        QElapsedTimer timer;
        bool ok = false;
        waitFor(view, [&](QEventLoop &loop) {
            QObject::connect(view, &QWebEngineView::loadFinished, &loop, [&](bool done) {
                ok = done;
                loop.quit();
            });
            timer.start();
            action();
        });
        return ok ? timer.nsecsElapsed() / 1e6 : -1.0;
    };
    loadAfter([] {}); // the cover page, started by the window itself

    QTreeWidgetItem *firstSection = tree->topLevelItem(0);
    QTreeWidgetItem *htmLesson = firstSection->child(0);
    QTreeWidgetItem *mhtLesson = firstSection->child(1);
    double bestHtm = 1e9;
    double bestMht = 1e9;
    for (int i = 0; i < 5; ++i) {
        bestHtm = std::min(bestHtm, loadAfter([&] { tree->setCurrentItem(htmLesson); }));
        bestMht = std::min(bestMht, loadAfter([&] { tree->setCurrentItem(mhtLesson); }));
    }
    // The floor: the page viewer alone loading a one-line local page.
    const QString plain = QDir::temp().filePath(QStringLiteral("korvelta-bench-plain.htm"));
    {
        QFile file(plain);
        if (file.open(QIODevice::WriteOnly))
            file.write("<html><body>plain</body></html>");
    }
    double bestPlain = 1e9;
    for (int i = 0; i < 5; ++i)
        bestPlain = std::min(bestPlain, loadAfter([&] { viewer->Navigate(plain); }));
    QFile::remove(plain);
    report({"page viewer alone, one-line local page (best of 5)", bestPlain, "ms", ""});
    // Two .htm lessons in turn: no change between a plain page and a web archive.
    QTreeWidgetItem *otherHtm = tree->topLevelItem(1)->child(2);
    double bestSameKind = 1e9;
    for (int i = 0; i < 5; ++i) {
        bestSameKind = std::min(bestSameKind, loadAfter([&] { tree->setCurrentItem(htmLesson); }));
        bestSameKind = std::min(bestSameKind, loadAfter([&] { tree->setCurrentItem(otherHtm); }));
    }
    report({"lesson click, .htm after .htm (best of 10)", bestSameKind, "ms", "< 150 ms"});
    report({"lesson click, .htm after .mht (best of 5)", bestHtm, "ms", "< 150 ms"});
    report({"lesson click, .mht after .htm (best of 5)", bestMht, "ms", "< 150 ms"});
}

} // namespace

std::vector<BenchCase> startupBenchCases()
{
    return {{"startup", startupToCoverPage},
            {"start-screen", startScreenFirstPaint},
            {"lesson-click", lessonClickToPage}};
}
