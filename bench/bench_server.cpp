#include "BenchCases.h"

#include "AppError.h"
#include "CourseDatabase.h"
#include "TableCursor.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

// A classroom on one journal: thirty copies writing at once, on the server and
// on one local SQLite file, and the teacher's journal opened from the server.
// The server is the private one that scripts/bench.sh starts (KORVELTA_TEST_PG).
namespace {

constexpr int Writers = 30;
constexpr int RowsEach = 200;
constexpr int JournalRowCount = 100000;

QString serverString()
{
    return qEnvironmentVariable("KORVELTA_TEST_PG").trimmed();
}

// A connection for as long as it lives.
class Connection final
{
    Q_DISABLE_COPY_MOVE(Connection)

public:
    Connection(const QString &name, const QString &connectionString)
        : m_name(name)
    {
        CourseDatabase::openPostgreSql(m_name, connectionString);
    }
    ~Connection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    const QString &name() const { return m_name; }
    void exec(const QString &sql) const
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        if (!query.exec(sql))
            CourseDatabase::raiseEngineError(query.lastError());
    }

private:
    QString m_name;
};

// A course folder whose database is a fresh one on the bench server, dropped at the end.
class ServerCourse final
{
    Q_DISABLE_COPY_MOVE(ServerCourse)

public:
    explicit ServerCourse(const QString &name)
        : m_database(QStringLiteral("korvelta_bench_%1_%2").arg(QCoreApplication::applicationPid()).arg(name))
    {
        Connection(QStringLiteral("bench-admin"), serverString())
            .exec(QStringLiteral("CREATE DATABASE %1").arg(m_database));
        m_connectionString = serverString() + QStringLiteral(" dbname=") + m_database;
        QFile file(m_dir.filePath(QString::fromLatin1(CourseDatabase::ConnectionFileName)));
        file.open(QIODevice::WriteOnly);
        file.write(m_connectionString.toUtf8() + '\n');
        file.close();
        m_connection = std::make_unique<Connection>(QStringLiteral("bench-course"), m_connectionString);
        CourseDatabase::createSchema(m_connection->name());
    }
    ~ServerCourse()
    {
        m_connection.reset();
        try {
            Connection(QStringLiteral("bench-admin"), serverString())
                .exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
        } catch (const AppError &error) {
            std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        }
    }
    QString path() const { return m_dir.path(); }
    const Connection &connection() const { return *m_connection; }

private:
    QTemporaryDir m_dir;
    QString m_database;
    QString m_connectionString;
    std::unique_ptr<Connection> m_connection;
};

// A course folder with an empty db1.sqlite.
class FileCourse final
{
    Q_DISABLE_COPY_MOVE(FileCourse)

public:
    FileCourse()
    {
        const QString path = m_dir.filePath(QString::fromLatin1(CourseDatabase::FileName));
        QFile(path).open(QIODevice::WriteOnly);
        CourseDatabase::openSqlite(QStringLiteral("bench-file"), path);
        CourseDatabase::createSchema(QStringLiteral("bench-file"));
        QSqlDatabase::database(QStringLiteral("bench-file"), false).close();
        QSqlDatabase::removeDatabase(QStringLiteral("bench-file"));
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Seconds from "go" until the last of the writers has finished; 0 when one failed.
double writeAtOnce(const QString &folder)
{
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int w = 0; w < Writers; ++w) {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(KORVELTA_TEST_WRITER),
                       {folder, QStringLiteral("writer-%1").arg(w), QString::number(RowsEach)});
        writers.push_back(std::move(process));
    }
    bool ready = true;
    for (auto &writer : writers)
        ready = ready && writer->waitForReadyRead(60000) && writer->readAllStandardOutput() == "ready\n";
    QElapsedTimer timer;
    timer.start();
    for (auto &writer : writers)
        writer->write("go\n");
    bool ok = ready;
    for (auto &writer : writers) {
        if (!writer->waitForFinished(300000))
            writer->kill();
        ok = ok && writer->exitStatus() == QProcess::NormalExit && writer->exitCode() == 0;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    for (auto &writer : writers)
        writer->waitForFinished(5000);
    return ok ? seconds : 0;
}

void journalWriters(const BenchReport &report)
{
    const double rows = Writers * RowsEach;
    if (!serverString().isEmpty()) {
        ServerCourse course(QStringLiteral("writers"));
        const double seconds = writeAtOnce(course.path());
        report({QStringLiteral("30 writers x 200 rows, server"), seconds > 0 ? rows / seconds : 0,
                QStringLiteral("rows/s"), QString()});
    } else {
        std::fprintf(stderr, "server-writers: KORVELTA_TEST_PG is not set, the server figure is left out\n");
    }
    FileCourse file;
    const double seconds = writeAtOnce(file.path());
    report({QStringLiteral("30 writers x 200 rows, local SQLite WAL"), seconds > 0 ? rows / seconds : 0,
            QStringLiteral("rows/s"), QString()});
}

void journalOpenFromServer(const BenchReport &report)
{
    if (serverString().isEmpty()) {
        std::fprintf(stderr, "server-journal: KORVELTA_TEST_PG is not set\n");
        return;
    }
    ServerCourse course(QStringLiteral("journal"));
    // The same mix as the local journal benchmark: 1000 learners in 20 groups, 60 % visits.
    course.connection().exec(QStringLiteral(
        "INSERT INTO jurnal (urok, data, ocenka, fio, gruppa) "
        "SELECT 'Тема ' || (i % 60) || ': законы электрических цепей', "
        "to_char(DATE '2025-09-01' + (i % 300), 'YYYY-MM-DD'), "
        "CASE WHEN i % 5 < 3 THEN 0 ELSE (i * 37) % 101 END, "
        "'Ученик ' || (i % 1000), 'ПИ-' || (i % 20) "
        "FROM generate_series(0, %1) AS i").arg(JournalRowCount - 1));
    course.connection().exec(QStringLiteral("VACUUM ANALYZE jurnal"));

    CourseDatabase::openFolder(QStringLiteral("bench-teacher"), course.path());
    {
        TableCursor journal(QStringLiteral("Tjurnal"), QStringLiteral("jurnal"), CourseDatabase::journalColumns());
        journal.setConnectionName(QStringLiteral("bench-teacher"));
        journal.setDateColumns({QStringLiteral("data")});
        double open = 1e300;
        for (int run = 0; run < 3; ++run) {
            journal.close();
            open = std::min(open, fastestMs(1, [&] { journal.open(); }));
        }
        report({QStringLiteral("open from the server, %1 rows").arg(journal.recordCount()), open,
                QStringLiteral("ms"), QString()});
    }
    QSqlDatabase::database(QStringLiteral("bench-teacher"), false).close();
    QSqlDatabase::removeDatabase(QStringLiteral("bench-teacher"));
}

} // namespace

std::vector<BenchCase> serverBenchCases()
{
    return {{QStringLiteral("server-writers"), journalWriters}, {QStringLiteral("server-journal"), journalOpenFromServer}};
}
