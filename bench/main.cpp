// Prints the speed and memory figures the program is held to.
// Run: korvelta-bench [--tsv] [--runs N] [case ...] (all cases when none is
// named; --list names them); needs a display or QT_QPA_PLATFORM=offscreen.
// --tsv prints one line per figure, case<TAB>figure<TAB>value<TAB>unit, for
// comparing runs; --runs sets how often the cases that start the program
// repeat it (5 unless told); --program names another build of the program
// for them to start (an older one, to compare with).
#include "BenchCases.h"
#include "Platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

#ifndef KORVELTA_PROGRAM
#error "KORVELTA_PROGRAM must name the program"
#endif

namespace {
int runs = 5;
QString program = QStringLiteral(KORVELTA_PROGRAM);
} // namespace

int benchRuns()
{
    return runs;
}

QString benchProgram()
{
    return program;
}

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
    for (auto group : {treeBenchCases, startupBenchCases, importBenchCases, journalBenchCases, pictureBenchCases,
                       testingBenchCases, serverBenchCases}) {
        for (BenchCase &c : group())
            cases.push_back(std::move(c));
    }

    QStringList wanted = QCoreApplication::arguments().mid(1);
    if (wanted == QStringList{QStringLiteral("--list")}) {
        for (const BenchCase &c : cases)
            std::printf("%s\n", qPrintable(c.name));
        return 0;
    }
    const bool tsv = wanted.removeAll(QStringLiteral("--tsv")) > 0;
    const qsizetype runsAt = wanted.indexOf(QStringLiteral("--runs"));
    if (runsAt >= 0) {
        runs = std::max(1, wanted.value(runsAt + 1).toInt());
        wanted.remove(runsAt, std::min<qsizetype>(2, wanted.size() - runsAt));
    }
    const qsizetype programAt = wanted.indexOf(QStringLiteral("--program"));
    if (programAt >= 0) {
        program = QFileInfo(wanted.value(programAt + 1)).absoluteFilePath();
        wanted.remove(programAt, std::min<qsizetype>(2, wanted.size() - programAt));
    }
    for (const QString &name : std::as_const(wanted)) {
        if (std::none_of(cases.begin(), cases.end(), [&](const BenchCase &c) { return c.name == name; })) {
            std::fprintf(stderr, "korvelta-bench: no case \"%s\" (--list names them)\n", qPrintable(name));
            return 2;
        }
    }
    for (const BenchCase &c : cases) {
        if (!wanted.isEmpty() && !wanted.contains(c.name))
            continue;
        // An indented figure belongs to the one above it; in TSV its name
        // carries the names it belongs to, so that every name is unique.
        QStringList outline;
        c.run([&c, tsv, &outline](const BenchFigure &f) {
            if (tsv) {
                const QString name = f.name.trimmed();
                const qsizetype level = (f.name.size() - QStringView(f.name).trimmed().size()) / 2;
                outline = outline.mid(0, level);
                outline.append(name);
                std::printf("%s\t%s\t%s\t%s\n", qPrintable(c.name), qPrintable(outline.join(QLatin1String(" / "))),
                            qPrintable(QString::number(f.value, 'f', 3)), qPrintable(f.unit));
            } else {
                std::printf("%-28s %-44s %10.3f %-4s %s\n", qPrintable(c.name), qPrintable(f.name), f.value,
                            qPrintable(f.unit),
                            f.target.isEmpty() ? "" : qPrintable(QStringLiteral("(target %1)").arg(f.target)));
            }
            std::fflush(stdout);
        });
    }
    return 0;
}
