#include "BenchCases.h"

#include "TableCursor.h"
#include "Unit1.h"
#include "Unit2.h"
#include "ui_Unit1.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEngineView>

#include <memory>

#ifndef KORVELTA_DEMO_COURSE
#error "KORVELTA_DEMO_COURSE must name the assembled demo course"
#endif

namespace {

// From creating the main window and the data module on the demo course to the
// cover page finished loading in the page viewer.
void startupToCoverPage(const BenchReport &report)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(KORVELTA_DEMO_COURSE));

    QElapsedTimer timer;
    timer.start();
    auto form = std::make_unique<TForm1>();
    Form1 = form.get();
    QEventLoop loop;
    bool loaded = false;
    QObject::connect(form->ui->WebBrowser1->view(), &QWebEngineView::loadFinished, &loop, [&](bool ok) {
        loaded = ok;
        loop.quit();
    });
    auto module = std::make_unique<TDataModule2>();
    DataModule2 = module.get();
    form->attachDataModule(*module);
    form->showMaximized();
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    const double ms = timer.nsecsElapsed() / 1e6;

    report({loaded ? "start-up to cover page loaded" : "start-up: cover page did NOT load", ms, "ms", "< 1500 ms"});
    Form1 = nullptr;
    DataModule2 = nullptr;
    QDir::setCurrent(previous);
}

} // namespace

std::vector<BenchCase> startupBenchCases()
{
    return {{"startup", startupToCoverPage}};
}
