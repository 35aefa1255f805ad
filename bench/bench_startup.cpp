// What a learner waits for, measured on the real program in a process of its
// own, from that process's start: the start screen, the cover page, lesson
// pages, and the memory the program and WebEngine's processes take. Each is
// set against a bare WebEngine program (bench/bare) measured in the same run.
#include "BenchCases.h"
#include "ChildProgram.h"
#include "Samples.h"

#include "CourseDatabase.h"
#include "TopicTreeFile.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>


#ifndef KORVELTA_DEMO_COURSE
#error "KORVELTA_DEMO_COURSE must name the assembled demo course"
#endif
#ifndef KORVELTA_BARE_WEBENGINE
#error "KORVELTA_BARE_WEBENGINE must name the bare WebEngine program"
#endif

namespace {

const QString Learner = QStringLiteral("Иванов Пётр\tЭ-21");

// A fresh copy of the demo course for one run: the program writes its journal.
class CourseCopy final
{
    Q_DISABLE_COPY_MOVE(CourseCopy)

public:
    CourseCopy() { m_ok = copyFolder(QStringLiteral(KORVELTA_DEMO_COURSE), m_dir.path()); }
    bool isValid() const { return m_ok && m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

void reportCopyFailed(const BenchReport &report)
{
    report({QStringLiteral("the demo course could NOT be copied"), -1, QString(), QString()});
}

// The numbers of a reply, or -1 where the reply is not what was asked for.
double field(const QStringList &reply, const char *word, int index)
{
    return reply.value(0) == QLatin1String(word) && reply.size() > index ? reply.at(index).toDouble() : -1;
}

struct StartFigures
{
    double qtStarted = -1; // the application object being made: libraries loaded, main() reached
    double painted = -1;   // the start screen on the screen
    double cover = -1;     // the cover page finished in the main window's viewer
};

StartFigures startProgram(ChildProgram &program)
{
    StartFigures figures;
    if (!program.start())
        return figures;
    figures.qtStarted = field(program.ask(QStringLiteral("started")), "started", 1);
    figures.painted = field(program.ask(QStringLiteral("painted TForm6")), "painted", 1);
    const QStringList cover = program.ask(QStringLiteral("loaded TForm1"));
    figures.cover = cover.value(2) == QLatin1String("ok") ? field(cover, "loaded", 1) : -1;
    return figures;
}

StartFigures startBare(ChildProgram &bare)
{
    StartFigures figures;
    if (!bare.start())
        return figures;
    figures.qtStarted = field(bare.ask(QStringLiteral("started")), "started", 1);
    const QStringList loaded = bare.ask(QStringLiteral("loaded "));
    figures.cover = loaded.value(2) == QLatin1String("ok") ? field(loaded, "loaded", 1) : -1;
    return figures;
}

void startupFromProcessStart(const BenchReport &report)
{
    Samples qtStarted, painted, cover, bareQt, bare, ratios;
    for (int run = 0; run < benchRuns(); ++run) {
        // Taken in turns, so that a busy moment of the machine falls on both.
        CourseCopy course;
        if (!course.isValid())
            return reportCopyFailed(report);
        StartFigures ours, theirs;
        {
            ChildProgram program(benchProgram(), {}, course.path());
            ours = startProgram(program);
        }
        {
            ChildProgram program(QStringLiteral(KORVELTA_BARE_WEBENGINE), {course.filePath(QStringLiteral("zas.mht"))},
                                 course.path());
            theirs = startBare(program);
        }
        qtStarted.add(ours.qtStarted);
        painted.add(ours.painted);
        cover.add(ours.cover);
        bareQt.add(theirs.qtStarted);
        bare.add(theirs.cover);
        ratios.add(ratio(ours.cover, theirs.cover));
    }
    reportSamples(report, QStringLiteral("start screen painted, from process start"), painted, QStringLiteral("< 200 ms"));
    reportSamples(report, QStringLiteral("cover page loaded, from process start"), cover, QString());
    reportSamples(report, QStringLiteral("bare WebEngine: zas.mht loaded, from process start"), bare, QString());
    // Each run's ratio, ours to the bare program's right after it: the load of
    // the machine changes less between the two than from run to run.
    report({QStringLiteral("cover page loaded, ratio to bare WebEngine"), ratios.median(), QStringLiteral("x"),
            QStringLiteral("< 1.1 x")});
    report({QStringLiteral("  of the fastest runs"), ratio(cover.fastest(), bare.fastest()), QStringLiteral("x"),
            QString()});
    reportSamples(report, QStringLiteral("program: application object made, from process start"), qtStarted, QString());
    reportSamples(report, QStringLiteral("bare WebEngine: application object made, from process start"), bareQt,
                  QString());
}

// Lesson pages of the demo course, by kind: the pairs of kinds a click goes between.
struct Lesson
{
    const char *title;
    const char *page;
};
const Lesson HtmA{"Урок 1. Ток, напряжение и сопротивление", "uroki/urok1.htm"};
const Lesson HtmB{"Урок 3. Последовательное соединение", "uroki/urok3.htm"};
const Lesson MhtA{"Урок 2. Закон Ома для участка цепи", "uroki/urok2.mht"};
const Lesson MhtB{"Урок 4. Параллельное соединение", "uroki/urok4.mht"};

// One round: each step is timed after the one before it, so every pair of kinds comes once.
const struct Step
{
    const Lesson *lesson;
    const char *pair; // empty: the step only sets up the next
} Round[] = {
    {&HtmA, ""},
    {&HtmB, ".htm after .htm"},
    {&MhtA, ".mht after .htm"},
    {&MhtB, ".mht after .mht"},
    {&HtmA, ".htm after .mht"},
};

void lessonClicks(const BenchReport &report)
{
    CourseCopy course;
    if (!course.isValid())
        return reportCopyFailed(report);
    ChildProgram program(benchProgram(), {}, course.path());
    ChildProgram bareProgram(QStringLiteral(KORVELTA_BARE_WEBENGINE), {course.filePath(QStringLiteral("zas.mht"))},
                             course.path());
    startProgram(program);
    program.ask(QStringLiteral("enter ") + Learner);
    startBare(bareProgram);
    // The bare view as large as the program's, since drawing a page takes longer on a larger one.
    const QStringList size = program.ask(QStringLiteral("size TForm1"));
    if (size.value(0) == QLatin1String("size"))
        bareProgram.ask(QStringLiteral("resize %1 %2").arg(size.value(1), size.value(2)));

    // Each page in the program, then in the bare viewer right after, so that
    // a busy moment of the machine falls on both.
    QMap<QString, Samples> ours, bare, ratios;
    for (int run = 0; run < benchRuns(); ++run) {
        for (const Step &step : Round) {
            const QStringList clicked = program.ask(QStringLiteral("click ") + QString::fromUtf8(step.lesson->title));
            const QStringList opened =
                bareProgram.ask(QStringLiteral("open ") + course.filePath(QString::fromUtf8(step.lesson->page)));
            if (!step.pair[0])
                continue;
            const double click = clicked.value(3) == QLatin1String("ok") ? field(clicked, "loaded", 1) : -1;
            const double open = opened.value(3) == QLatin1String("ok") ? field(opened, "loaded", 1) : -1;
            const QString pair = QString::fromLatin1(step.pair);
            ours[pair].add(click);
            bare[pair].add(open);
            ratios[pair].add(ratio(click, open));
        }
    }
    for (const Step &step : Round) {
        if (!step.pair[0])
            continue;
        const QString pair = QString::fromLatin1(step.pair);
        reportSamples(report, QStringLiteral("lesson click, %1").arg(pair), ours[pair], QStringLiteral("< 150 ms"));
        reportSamples(report, QStringLiteral("  bare viewer, same pages"), bare[pair], QString());
        report({QStringLiteral("  ratio to bare viewer"), ratios[pair].median(), QStringLiteral("x"),
                QStringLiteral("< 1.5 x")});
    }
}

// The whole tree, then what each kind of process holds. PSS divides a shared
// page among all its users, also other programs that map the same libraries,
// so the figure moves a little with whatever else runs on the machine.
void reportMemory(const BenchReport &report, const QString &name, ChildProgram &program, const QString &target)
{
    const TreeMemory memory = processTreePss(program.pid());
    report({name, memory.totalMb, QStringLiteral("MB"), target});
    report({QStringLiteral("  processes"), double(memory.processes), QString(), QString()});
    report({QStringLiteral("  private to them (USS)"), memory.privateMb, QStringLiteral("MB"), QString()});
    report({QStringLiteral("  of which the program's own process"), memory.programMb, QStringLiteral("MB"), QString()});
    report({QStringLiteral("  of which WebEngine's launchers"), memory.zygotesMb, QStringLiteral("MB"), QString()});
    report({QStringLiteral("  of which WebEngine's page processes"), memory.renderersMb, QStringLiteral("MB"), QString()});
    if (memory.otherMb > 0)
        report({QStringLiteral("  of which other helpers"), memory.otherMb, QStringLiteral("MB"), QString()});
}

void memory(const BenchReport &report)
{
    CourseCopy course;
    if (!course.isValid())
        return reportCopyFailed(report);
    {
        ChildProgram program(benchProgram(), {}, course.path());
        startProgram(program);
        // The fade-in done and the cover page shown: the learner sees the start screen.
        program.ask(QStringLiteral("idle 3000"));
        reportMemory(report, QStringLiteral("memory PSS at the start screen"), program, QStringLiteral("< 200 MB"));
        program.ask(QStringLiteral("enter ") + Learner);
        const char *lessons[] = {"Урок 1. Ток, напряжение и сопротивление", "Урок 2. Закон Ома для участка цепи",
                                 "Урок 3. Последовательное соединение", "Урок 4. Параллельное соединение",
                                 "Урок 5. Законы Кирхгофа", "Урок 6. Работа и мощность тока",
                                 "Урок 7. Электроизмерительные приборы", "Урок 8. Электробезопасность",
                                 "Урок 1. Ток, напряжение и сопротивление", "Урок 4. Параллельное соединение"};
        for (const char *lesson : lessons)
            program.ask(QStringLiteral("click ") + QString::fromUtf8(lesson));
        const QStringList tested = program.ask(QStringLiteral("test Урок 2. Закон Ома для участка цепи"), 120000);
        program.ask(QStringLiteral("idle 2000"));
        reportMemory(report,
                     tested.value(0) == QLatin1String("tested") ? QStringLiteral("memory PSS after ten lessons and one test")
                                                                : QStringLiteral("memory PSS after ten lessons, TEST FAILED"),
                     program, QStringLiteral("< 200 MB"));
    }
    {
        ChildProgram program(QStringLiteral(KORVELTA_BARE_WEBENGINE), {course.filePath(QStringLiteral("zas.mht"))},
                             course.path());
        startBare(program);
        program.ask(QStringLiteral("idle 3000"));
        reportMemory(report, QStringLiteral("bare WebEngine showing zas.mht, memory PSS"), program, QString());
    }
}

// A course of 2,000 lessons in a tree of 10,000 topics: 100 parts of 9
// chapters of 10 topics; every ninth topic, and the fifth after it, is a
// lesson with a page of its own.
bool writeLargeCourse(const QString &folder, QString *lastLesson)
{
    for (const char *name : {"zas.mht", "help.mht"}) {
        if (!QFile::copy(QDir(QStringLiteral(KORVELTA_DEMO_COURSE)).filePath(QString::fromLatin1(name)),
                         QDir(folder).filePath(QString::fromLatin1(name))))
            return false;
    }
    QDir(folder).mkpath(QStringLiteral("uroki"));
    const QString dbPath = QDir(folder).filePath(QStringLiteral("db1.sqlite"));
    const QString connection = QStringLiteral("bench-large-course");
    QVector<TopicNode> nodes;
    {
        // The engine opens only a file that exists.
        QFile(dbPath).open(QIODevice::WriteOnly);
        CourseDatabase::openSqlite(connection, dbPath);
        CourseDatabase::createSchema(connection);
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO urok (urok, htm) VALUES (?, ?)"));
        int leaf = 0, lesson = 0;
        for (int part = 1; part <= 100; ++part) {
            nodes.append({0, QStringLiteral("Раздел %1").arg(part)});
            for (int chapter = 1; chapter <= 9; ++chapter) {
                nodes.append({1, QStringLiteral("Глава %1.%2").arg(part).arg(chapter)});
                for (int topic = 1; topic <= 10; ++topic, ++leaf) {
                    if (leaf % 9 != 0 && leaf % 9 != 4) {
                        nodes.append({2, QStringLiteral("Тема %1.%2.%3").arg(part).arg(chapter).arg(topic)});
                        continue;
                    }
                    ++lesson;
                    const QString title = QStringLiteral("Урок %1. Цепи постоянного тока, часть %2").arg(lesson).arg(topic);
                    const QString page = QStringLiteral("uroki/urok%1.htm").arg(lesson);
                    QFile file(QDir(folder).filePath(page));
                    if (!file.open(QIODevice::WriteOnly))
                        return false;
                    file.write(QStringLiteral("<html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                                              "<body><h1>%1</h1><p>Текст урока.</p></body></html>")
                                   .arg(title)
                                   .toUtf8());
                    insert.addBindValue(title);
                    insert.addBindValue(QString(page).replace(QLatin1Char('/'), QLatin1Char('\\')));
                    insert.exec();
                    nodes.append({2, title});
                    *lastLesson = title;
                }
            }
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    TopicTreeFile::write(QDir(folder).filePath(QStringLiteral("log.log")), nodes);
    return nodes.size() == 10000;
}

void largeCourse(const BenchReport &report)
{
    QTemporaryDir course;
    QString lastLesson;
    if (!writeLargeCourse(course.path(), &lastLesson)) {
        report({QStringLiteral("the large course could NOT be written"), -1, QStringLiteral("ms"), QString()});
        return;
    }
    Samples painted, cover, click, handler;
    for (int run = 0; run < benchRuns(); ++run) {
        ChildProgram program(benchProgram(), {}, course.path());
        const StartFigures figures = startProgram(program);
        painted.add(figures.painted);
        cover.add(figures.cover);
        program.ask(QStringLiteral("enter ") + Learner);
        // The last lesson of the table, deep in the tree.
        const QStringList reply = program.ask(QStringLiteral("click ") + lastLesson);
        click.add(reply.value(3) == QLatin1String("ok") ? field(reply, "loaded", 1) : -1);
        handler.add(field(reply, "loaded", 2));
    }
    reportSamples(report, QStringLiteral("2,000 lessons, 10,000 topics: start screen painted, from process start"),
                  painted, QStringLiteral("< 200 ms"));
    reportSamples(report, QStringLiteral("2,000 lessons, 10,000 topics: cover page loaded, from process start"), cover,
                  QString());
    reportSamples(report, QStringLiteral("2,000 lessons, 10,000 topics: topic click to page loaded"), click,
                  QStringLiteral("< 150 ms"));
    reportSamples(report, QStringLiteral("  of which the click's own handling"), handler, QString());
}

} // namespace

std::vector<BenchCase> startupBenchCases()
{
    return {{"startup", startupFromProcessStart},
            {"lesson-click", lessonClicks},
            {"memory", memory},
            {"scale", largeCourse}};
}
