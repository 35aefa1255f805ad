#include "TestCourse.h"

#include <QProcess>
#include <QSet>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

constexpr int Writers = 30;
constexpr int RowsEach = 200;

// One writer process; killed and reaped on every path out of the test.
class Writer final
{
public:
    Writer(const QString &folder, const QString &name)
        : m_name(name)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QStringLiteral(KORVELTA_TEST_WRITER), {folder, name, QString::number(RowsEach)});
    }
    ~Writer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    QProcess &process() { return m_process; }
    const QString &name() const { return m_name; }
    QByteArray output;

private:
    QString m_name;
    QProcess m_process;
};

} // namespace

// Thirty copies of the program append journal rows at the same moment, on the
// server and on one SQLite file in WAL mode: every row arrives exactly once,
// and a copy says "written" only for rows that are in the journal.
class TestConcurrentWriters : public QObject
{
    Q_OBJECT

private slots:
    void everyRowOnceAndOnlyReportedRows_data();
    void everyRowOnceAndOnlyReportedRows();
};

void TestConcurrentWriters::everyRowOnceAndOnlyReportedRows_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("postgresql server") << true;
    QTest::newRow("sqlite wal file on local disk") << false;
}

void TestConcurrentWriters::everyRowOnceAndOnlyReportedRows()
{
    QFETCH(bool, onServer);
    if (onServer && TestCourse::serverConnectionString().isEmpty())
        QSKIP("no test server: KORVELTA_TEST_PG is not set (scripts/test.sh starts one)");
    TestCourse course(onServer ? TestCourse::Backend::PostgreSql : TestCourse::Backend::Sqlite);

    std::vector<std::unique_ptr<Writer>> writers;
    for (int w = 0; w < Writers; ++w)
        writers.push_back(std::make_unique<Writer>(course.path(), QStringLiteral("writer-%1").arg(w)));
    // All of them have their journal open before any writes.
    for (auto &writer : writers) {
        while (!writer->output.contains('\n')) {
            QVERIFY2(writer->process().waitForReadyRead(60000), qPrintable(writer->name() + " never got ready"));
            writer->output += writer->process().readAllStandardOutput();
        }
        QCOMPARE(writer->output, QByteArray("ready\n"));
        writer->output.clear();
    }
    for (auto &writer : writers)
        writer->process().write("go\n");

    // Key -> "writer|row" as each writer reported it.
    QHash<qint64, QString> reported;
    QStringList failures;
    for (auto &writer : writers) {
        QVERIFY2(writer->process().waitForFinished(120000), qPrintable(writer->name() + " did not finish"));
        writer->output += writer->process().readAllStandardOutput();
        for (const QByteArray &line : writer->output.split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.value(0) == "written") {
                const qint64 key = words.value(1).toLongLong();
                QVERIFY2(!reported.contains(key), qPrintable(QStringLiteral("key %1 reported twice").arg(key)));
                reported.insert(key, writer->name() + QStringLiteral("|row ") + QString::fromUtf8(words.value(2)));
            } else if (words.value(0) == "failed") {
                failures << writer->name() + QLatin1Char(' ') + QString::fromUtf8(line);
            }
        }
        QVERIFY2(writer->process().exitStatus() == QProcess::NormalExit, qPrintable(writer->name() + " crashed"));
    }

    // What the writers say they wrote is exactly what the journal holds.
    QHash<qint64, QString> stored;
    for (const QString &row : course.rows(QStringLiteral("SELECT \"код\", fio, urok FROM jurnal"))) {
        const int bar = row.indexOf(QLatin1Char('|'));
        stored.insert(row.left(bar).toLongLong(), row.mid(bar + 1));
    }
    for (auto it = reported.cbegin(); it != reported.cend(); ++it)
        QCOMPARE(stored.value(it.key()), it.value());
    QCOMPARE(stored.size(), reported.size());

    QVERIFY2(failures.isEmpty(), qPrintable(failures.mid(0, 5).join(QLatin1Char('\n'))));
    QCOMPARE(course.scalar(QStringLiteral("SELECT count(*) FROM jurnal")).toInt(), Writers * RowsEach);
    QCOMPARE(course.scalar(QStringLiteral("SELECT count(*) FROM (SELECT DISTINCT fio, urok FROM jurnal) AS d")).toInt(),
             Writers * RowsEach);
    for (auto &writer : writers)
        QCOMPARE(writer->process().exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestConcurrentWriters)
#include "tst_concurrentwriters.moc"
