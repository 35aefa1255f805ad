#include "TestCourse.h"

#include <QDirIterator>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

// The demo course's files, db1.sqlite included, copied into `folder`.
void copyDemoCourse(const QString &folder)
{
    const QDir demo(QStringLiteral(KORVELTA_DEMO_COURSE));
    QDirIterator it(demo.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = QDir(folder).filePath(demo.relativeFilePath(from));
        QDir().mkpath(QFileInfo(to).absolutePath());
        QFile::remove(to);
        if (!QFile::copy(from, to))
            qFatal("cannot copy %s", qPrintable(from));
    }
}

struct ToolRun
{
    int exitCode = -1;
    QString output;
};

ToolRun runTool(const QString &folder, const QStringList &arguments)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(KORVELTA_DB_TOOL), arguments);
    ToolRun run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return run;
}

const QStringList TableQueries{
    "SELECT urok, htm, jpg, avi, test, mid, wav, exe FROM urok ORDER BY rowid",
    "SELECT \"код\", urok, data, ocenka, fio, gruppa FROM jurnal ORDER BY \"код\"",
    "SELECT pas FROM pas ORDER BY rowid"};

// The three tables of the server database as rows of text, in table order.
QStringList courseRows(const TestCourse &course)
{
    QStringList rows;
    for (const QString &sql : TableQueries)
        rows += course.rows(sql);
    return rows;
}

// The course folder's db1.sqlite through a connection of its own, for as long as it lives.
class CourseFile final
{
public:
    explicit CourseFile(const QString &path)
    {
        m_db = QSqlDatabase::addDatabase("QSQLITE", "upload-test-file");
        m_db.setDatabaseName(path);
        if (!m_db.open())
            qFatal("cannot open %s", qPrintable(path));
    }
    ~CourseFile()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase("upload-test-file");
    }
    CourseFile(const CourseFile &) = delete;
    CourseFile &operator=(const CourseFile &) = delete;

    void exec(const QString &sql)
    {
        QSqlQuery query(m_db);
        if (!query.exec(sql))
            qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    }
    QStringList rows()
    {
        QStringList out;
        for (const QString &sql : TableQueries) {
            QSqlQuery query(m_db);
            query.exec(sql);
            while (query.next()) {
                QStringList cells;
                for (int i = 0; i < query.record().count(); ++i)
                    cells << (query.value(i).isNull() ? QStringLiteral("<null>") : query.value(i).toString());
                out << cells.join('|');
            }
        }
        return out;
    }

private:
    QSqlDatabase m_db;
};

} // namespace

// korvelta-db upload on the demo course: what reaches the server, what it
// refuses, and that a failed copy leaves the server as it was.
class TestDbUpload : public QObject
{
    Q_OBJECT

private slots:
    void upload_data();
    void upload();
    void folderWithoutConnectionFile();
};

void TestDbUpload::upload_data()
{
    QTest::addColumn<QString>("arrange"); // SQL run on the server first, statements split by ';'
    QTest::addColumn<QString>("damageFile"); // SQL run on the copied db1.sqlite first
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("serverHoldsFile");
    QTest::addColumn<QString>("message");

    const QStringList upload{"upload"};
    const QStringList force{"upload", "--force"};
    QTest::newRow("empty tables: copied") << "" << "" << upload << 0 << true
                                          << "5 journal rows";
    QTest::newRow("no tables yet: created and copied") << "DROP TABLE urok, jurnal, pas" << "" << upload << 0 << true
                                                       << "9 lessons";
    QTest::newRow("lessons but an empty journal: replaced")
        << "INSERT INTO urok (urok) VALUES ('old')" << "" << upload << 0 << true << "Copied";
    QTest::newRow("journal has rows: refused") << "INSERT INTO jurnal (fio) VALUES ('kept')" << "" << upload << 3
                                               << false << "already holds 1 rows";
    QTest::newRow("journal has rows, --force: replaced") << "INSERT INTO jurnal (fio) VALUES ('gone')" << ""
                                                         << force << 0 << true << "Copied";
    QTest::newRow("a value the server refuses: nothing changed")
        << "INSERT INTO urok (urok) VALUES ('old')" << "UPDATE jurnal SET ocenka = 'много' WHERE \"код\" = 3"
        << upload << 4 << false << "jurnal, row 3";
    QTest::newRow("unknown argument: usage") << "" << "" << QStringList{"upload", "--forse"} << 1 << false
                                             << "usage: korvelta-db upload";
}

void TestDbUpload::upload()
{
    QFETCH(QString, arrange);
    QFETCH(QString, damageFile);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(bool, serverHoldsFile);
    QFETCH(QString, message);
    if (TestCourse::serverConnectionString().isEmpty())
        QSKIP("no test server: KORVELTA_TEST_PG is not set (scripts/test.sh starts one)");

    TestCourse server(TestCourse::Backend::PostgreSql);
    for (const QString &sql : arrange.split(';', Qt::SkipEmptyParts))
        server.exec(sql);
    const QStringList before = arrange.startsWith("DROP") ? QStringList() : courseRows(server);
    copyDemoCourse(server.path());
    CourseFile file(server.filePath("db1.sqlite"));
    if (!damageFile.isEmpty())
        file.exec(damageFile);

    const ToolRun run = runTool(server.path(), arguments);
    QVERIFY2(run.output.contains(message), qPrintable(run.output));
    QCOMPARE(run.exitCode, exitCode);
    if (serverHoldsFile) {
        QCOMPARE(courseRows(server), file.rows());
        // New journal rows continue after the copied numbers.
        server.exec("INSERT INTO jurnal (fio) VALUES ('next')");
        QCOMPARE(server.scalar("SELECT \"код\" FROM jurnal WHERE fio = 'next'").toInt(), 6);
    } else if (!arrange.startsWith("DROP")) {
        QCOMPARE(courseRows(server), before);
    }
}

void TestDbUpload::folderWithoutConnectionFile()
{
    TestCourse course(false);
    copyDemoCourse(course.path());
    const ToolRun run = runTool(course.path(), {"upload"});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.output.contains("db1.connection"), qPrintable(run.output));
}

QTEST_GUILESS_MAIN(TestDbUpload)
#include "tst_dbupload.moc"
