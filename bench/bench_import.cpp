#include "BenchCases.h"

#include "LessonPaths.h"
#include "MdbImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QString fixturePath()
{
    return QStringLiteral(KORVELTA_FIXTURES "/mdb/db1.mdb");
}

// No tool on Debian writes Access files, so a 100,000-row db1.mdb cannot be
// made here. Measured instead: the real reader on the fixture, and the rest of
// the import (child process, JSON, SQLite through the temporary file) on
// 100,000 journal rows given by a stand-in reader.
void mdbImport(const BenchReport &report)
{
    QTemporaryDir dir;
    const QString mdb = dir.filePath(QStringLiteral("db1.mdb"));
    QFile::copy(fixturePath(), mdb);
    const QString sqlite = dir.filePath(QStringLiteral("db1.sqlite"));
    const double fixture = fastestMs(5, [&] {
        QFile::remove(sqlite);
        MdbImport().importFile(mdb, sqlite);
    });
    report({"import the fixture db1.mdb (3 lessons, 5 journal rows) with the real reader", fixture, "ms", ""});

    QByteArray json = "[{\"name\":\"urok\",\"declared\":3,\"columns\":[\"urok\",\"htm\",\"jpg\",\"avi\",\"test\",\"mid\","
                      "\"wav\",\"exe\"],\"rows\":[";
    for (int i = 0; i < 3; ++i)
        json += (i ? "," : "") + QStringLiteral("[\"Урок %1\",\"htm\\\\u%1.htm\",null,null,null,null,null,null]").arg(i).toUtf8();
    json += "]},{\"name\":\"jurnal\",\"declared\":100000,\"columns\":[\"код\",\"urok\",\"data\",\"ocenka\",\"fio\","
            "\"gruppa\"],\"rows\":[";
    for (int i = 1; i <= 100000; ++i)
        json += (i > 1 ? "," : "")
            + QStringLiteral("[\"%1\",\"Урок %2. Введение в предмет\",\"2005-03-14 00:00:00\",\"%3\",\"Иванов Иван Иванович\",\"ПИ-21\"]")
                  .arg(i).arg(i % 3).arg(i % 101).toUtf8();
    json += "]},{\"name\":\"pas\",\"declared\":1,\"columns\":[\"pas\"],\"rows\":[[\"пароль123\"]]}]";
    const QString output = dir.filePath(QStringLiteral("reader.json"));
    writeFile(output, json);
    const QString reader = dir.filePath(QStringLiteral("reader.sh"));
    writeFile(reader, "#!/bin/sh\nexec cat '" + QFile::encodeName(output) + "'\n");
    QFile::setPermissions(reader, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const double big = fastestMs(3, [&] {
        QFile::remove(sqlite);
        MdbImport(reader).importFile(mdb, sqlite);
    });
    report({"import 100,000 journal rows (stand-in reader, JSON and SQLite writing)", big, "ms", "< 5000 ms"});
}

// Milliseconds per call of `work`, from the fastest of five rounds of `calls`.
double perCallMs(int calls, const std::function<void()> &work)
{
    return fastestMs(5, [&] {
        for (int i = 0; i < calls; ++i)
            work();
    }) / calls;
}

void lessonPath(const BenchReport &report)
{
    QTemporaryDir dir;
    for (int i = 0; i < 2000; ++i)
        writeFile(dir.filePath(QStringLiteral("uroki/urok%1.htm").arg(i)), QByteArray());
    const QString exact = LessonPaths::join(dir.path(), QStringLiteral("uroki\\urok1999.htm"));
    const QString otherCase = LessonPaths::join(dir.path(), QStringLiteral("Uroki\\UROK1999.HTM"));
    const QString missing = LessonPaths::join(dir.path(), QStringLiteral("Uroki\\none.htm"));
    QString sink;
    // Just written: a folder changed in the last two seconds is listed again at each look.
    report({"resolve a lesson path in other letter case, folder of 2,000 files changed just now",
            perCallMs(20, [&] { sink = LessonPaths::toDisk(otherCase); }), "ms", ""});
    // A course folder as it stands in class: unchanged for a while.
    QThread::msleep(2100);
    report({"resolve an exact lesson path in a folder of 2,000 files",
            perCallMs(1000, [&] { sink = LessonPaths::toDisk(exact); }), "ms", "< 0.1 ms"});
    report({"resolve a lesson path in other letter case in a folder of 2,000 files",
            perCallMs(1000, [&] { sink = LessonPaths::toDisk(otherCase); }), "ms", "< 0.1 ms"});
    report({"resolve a missing lesson path in a folder of 2,000 files",
            perCallMs(1000, [&] { sink = LessonPaths::toDisk(missing); }), "ms", "< 0.1 ms"});
}

} // namespace

std::vector<BenchCase> importBenchCases()
{
    return {{"mdb-import", mdbImport}, {"lesson-path", lessonPath}};
}
