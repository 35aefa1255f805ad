#include "ExportReadBack.h"
#include "TestCourse.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <memory>

// korvelta-db export, run as a script runs it in a course folder whose
// database is a file or on the test server: which rows each option keeps,
// and the exit code and message of every way it can go wrong.
class TestDbExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();
    void cleanup();

    void selectsRows_data();
    void selectsRows();
    void everyFormat_data();
    void everyFormat();
    void failures_data();
    void failures();
    void databaseCannotBeOpened();

private:
    // Runs the tool in the course folder: its exit code, and what it printed.
    int run(const QStringList &arguments, QString *output = nullptr) const;
    QStringList filesBesidesTheDatabase() const;

    std::unique_ptr<TestCourse> m_course;
};

void TestDbExport::initTestCase_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("sqlite") << false;
    QTest::newRow("postgresql") << true;
}

void TestDbExport::init()
{
    QFETCH_GLOBAL(bool, onServer);
    if (onServer && TestCourse::serverConnectionString().isEmpty())
        QSKIP("no test server: KORVELTA_TEST_PG is not set (scripts/test.sh starts one)");
    m_course = std::make_unique<TestCourse>(onServer ? TestCourse::Backend::PostgreSql : TestCourse::Backend::Sqlite);
    m_course->addJournalRow("Иванов", "ПИ-21", 80, "A", "2026-03-01");
    m_course->addJournalRow("O'Brien \"Боб\"; мл.", "ПИ-21", 0, "B", "2026-03-02");
    m_course->addJournalRow("Иванов", "ЭК-3", 90, "C", "2026-03-05");
    m_course->addJournalRow("Петров", "ПИ-21", 55, "D", "2026-03-10");
    m_course->addJournalRow("Иванов", "ПИ-21", 0, "E", "2026-03-31");
}

void TestDbExport::cleanup()
{
    m_course.reset();
}

int TestDbExport::run(const QStringList &arguments, QString *output) const
{
    QProcess tool;
    tool.setWorkingDirectory(m_course->path());
    tool.start(QStringLiteral(KORVELTA_DB_TOOL), QStringList{"export"} + arguments);
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit)
        return -1;
    if (output)
        *output = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    return tool.exitCode();
}

QStringList TestDbExport::filesBesidesTheDatabase() const
{
    QStringList names = QDir(m_course->path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeIf([](const QString &name) { return name.startsWith("db1."); });
    return names;
}

void TestDbExport::selectsRows_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("lessons");

    QTest::newRow("no option: every row") << QStringList() << QStringList{"A", "B", "C", "D", "E"};
    QTest::newRow("--fio") << QStringList{"--fio", "Иванов"} << QStringList{"A", "C", "E"};
    QTest::newRow("--gruppa") << QStringList{"--gruppa", "ЭК-3"} << QStringList{"C"};
    QTest::newRow("--fio and --gruppa") << QStringList{"--fio", "Иванов", "--gruppa", "ПИ-21"} << QStringList{"A", "E"};
    QTest::newRow("--fio holding quotes and ';' matches exactly")
        << QStringList{"--fio", "O'Brien \"Боб\"; мл."} << QStringList{"B"};
    QTest::newRow("--fio is not a pattern") << QStringList{"--fio", "Иван%"} << QStringList();
    QTest::newRow("--from and --to, both days included")
        << QStringList{"--from", "2026-03-02", "--to", "2026-03-10"} << QStringList{"B", "C", "D"};
    QTest::newRow("--from as DD.MM.YYYY") << QStringList{"--from", "05.03.2026"} << QStringList{"C", "D", "E"};
    QTest::newRow("--to with a name") << QStringList{"--to", "2026-03-05", "--fio", "Иванов"} << QStringList{"A", "C"};
    QTest::newRow("an empty --fio is no condition, as an empty box")
        << QStringList{"--fio", "", "--gruppa", "ЭК-3"} << QStringList{"C"};
}

void TestDbExport::selectsRows()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, lessons);

    QString output;
    QCOMPARE(run(QStringList{"out.csv"} + options, &output), 0);
    QVERIFY2(output.contains(QString("Exported %1 journal rows to out.csv.").arg(lessons.size())), qPrintable(output));
    const QList<QStringList> records =
        ExportReadBack::parseCsv(QString::fromUtf8(m_course->readFile("out.csv").mid(3)));
    QStringList seen;
    for (const QStringList &record : records.mid(1))
        seen << record.value(2);
    QCOMPARE(seen, lessons);
}

void TestDbExport::everyFormat_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("csv") << "out.csv";
    QTest::newRow("xlsx, in capitals") << "OUT.XLSX";
    QTest::newRow("pdf") << "out.pdf";
}

void TestDbExport::everyFormat()
{
    QFETCH(QString, file);
    QCOMPARE(run({file, "--gruppa", "ПИ-21", "--from", "2026-03-02"}), 0);
    const QString path = m_course->filePath(file);
    QStringList names;
    if (file.endsWith("csv")) {
        for (const QStringList &record : ExportReadBack::parseCsv(QString::fromUtf8(m_course->readFile(file).mid(3))).mid(1))
            names << record.value(0);
    } else if (file.endsWith("XLSX")) {
        for (const QVariantList &row : ExportReadBack::readXlsx(path).value(0).rows.mid(1))
            names << row.value(0).toString();
    } else {
        const QString text = ExportReadBack::pdfText(path);
        for (const QString name : {"O'Brien \"Боб\"; мл.", "Петров", "Иванов"}) {
            if (text.contains(name))
                names << name;
        }
    }
    QCOMPARE(names, (QStringList{"O'Brien \"Боб\"; мл.", "Петров", "Иванов"}));
}

void TestDbExport::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("no file") << QStringList{"--fio", "Иванов"} << 1 << "no file named";
    QTest::newRow("two files") << QStringList{"a.csv", "b.csv"} << 1 << "one file only";
    QTest::newRow("unknown extension") << QStringList{"out.txt"} << 1 << "must end in .csv, .xlsx or .pdf";
    QTest::newRow("unknown option") << QStringList{"out.csv", "--group", "ПИ-21"} << 1 << "unknown option --group";
    QTest::newRow("option without its value") << QStringList{"out.csv", "--fio"} << 1 << "--fio needs a value";
    QTest::newRow("not a date") << QStringList{"out.csv", "--from", "31.02.2026"} << 1 << "is not a date";
    QTest::newRow("folder missing") << QStringList{"missing/out.csv"} << 4 << "nothing was written";
    QTest::newRow("a file taken for a folder") << QStringList{"notes.txt/out.xlsx"} << 4 << "не записан";
}

void TestDbExport::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    m_course->writeFile("notes.txt", "notes");
    const QStringList before = filesBesidesTheDatabase();
    QString output;
    QCOMPARE(run(arguments, &output), exitCode);
    QVERIFY2(output.contains(message), qPrintable(output));
    if (exitCode == 1)
        QVERIFY(output.contains("usage: korvelta-db"));
    QCOMPARE(filesBesidesTheDatabase(), before);
}

void TestDbExport::databaseCannotBeOpened()
{
    QFETCH_GLOBAL(bool, onServer);
    if (onServer)
        m_course->writeFile("db1.connection", "host=/nonexistent-socket-folder dbname=none\n");
    else
        QFile::remove(m_course->filePath("db1.sqlite"));
    QString output;
    QCOMPARE(run({"out.csv"}, &output), 2);
    QVERIFY2(output.contains("cannot open"), qPrintable(output));
    QVERIFY(!QFile::exists(m_course->filePath("out.csv")));
}

QTEST_GUILESS_MAIN(TestDbExport)
#include "tst_dbexport.moc"
