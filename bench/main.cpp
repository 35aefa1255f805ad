// Prints the speed figures the program is held to. Run: korvelta-bench [case ...]
// (all cases when none is named); needs a display or QT_QPA_PLATFORM=offscreen.
#include "BenchCases.h"
#include "Platform.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

double fastestMs(int repeats, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

int main(int argc, char *argv[])
{
    Platform::prepareEnvironment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Корвелта"));
    Platform::initResources();

    std::vector<BenchCase> cases;
    for (auto group : {treeBenchCases, startupBenchCases, importBenchCases, journalBenchCases, pictureBenchCases, testingBenchCases, serverBenchCases}) {
        for (BenchCase &c : group())
            cases.push_back(std::move(c));
    }

    const QStringList wanted = QCoreApplication::arguments().mid(1);
    if (wanted == QStringList{QStringLiteral("--list")}) {
        for (const BenchCase &c : cases)
            std::printf("%s\n", qPrintable(c.name));
        return 0;
    }
    for (const BenchCase &c : cases) {
        if (!wanted.isEmpty() && !wanted.contains(c.name))
            continue;
        c.run([&c](const BenchFigure &f) {
            std::printf("%-28s %-44s %10.3f %-4s %s\n", qPrintable(c.name), qPrintable(f.name), f.value,
                        qPrintable(f.unit), f.target.isEmpty() ? "" : qPrintable(QStringLiteral("(target %1)").arg(f.target)));
            std::fflush(stdout);
        });
    }
    return 0;
}
