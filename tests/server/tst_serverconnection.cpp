#include "JournalRows.h"
#include "Messages.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "Unit2.h"

#include <QProcess>
#include <QtTest>

namespace {

// Stops and starts the test server with the command the test command exports;
// a server this guard stopped is started again on every way out of the test.
class ServerControl final
{
public:
    ServerControl() = default;
    ~ServerControl()
    {
        if (m_stopped)
            run({QStringLiteral("start")});
    }
    ServerControl(const ServerControl &) = delete;
    ServerControl &operator=(const ServerControl &) = delete;

    static bool available() { return !qEnvironmentVariableIsEmpty("KORVELTA_TEST_PG_CTL"); }

    bool restart() { return run({QStringLiteral("restart"), QStringLiteral("-m"), QStringLiteral("fast")}); }
    bool stop()
    {
        m_stopped = run({QStringLiteral("stop"), QStringLiteral("-m"), QStringLiteral("fast")});
        return m_stopped;
    }
    bool start()
    {
        if (run({QStringLiteral("start")}))
            m_stopped = false;
        return !m_stopped;
    }

private:
    static bool run(const QStringList &arguments)
    {
        QStringList command = QProcess::splitCommand(qEnvironmentVariable("KORVELTA_TEST_PG_CTL"));
        const QString program = command.takeFirst();
        QProcess process;
        process.start(program, command + arguments);
        const bool ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0;
        if (!ok)
            qWarning("pg_ctl %s: %s", qPrintable(arguments.join(' ')), process.readAllStandardError().constData());
        return ok;
    }

    bool m_stopped = false;
};

} // namespace

// The data module on a course whose database is on the server: a server that
// cannot be reached at start-up, and one that goes away between two commands.
class TestServerConnection : public QObject
{
    Q_OBJECT

private slots:
    void unreachableAtStartUpRunsClosed_data();
    void unreachableAtStartUpRunsClosed();
    void serverAwayBetweenCommands_data();
    void serverAwayBetweenCommands();
};

void TestServerConnection::unreachableAtStartUpRunsClosed_data()
{
    QTest::addColumn<QString>("connection");
    QTest::addColumn<QString>("expected");

    // %1 is a folder where no server listens.
    QTest::newRow("no server on the socket") << "host=%1 port=5999 user=class dbname=course"
                                             << "%1/.s.PGSQL.5999";
    QTest::newRow("unterminated quote") << "host='%1 dbname=course" << "unterminated quoted string";
    QTest::newRow("unknown keyword") << "hots=%1" << "invalid connection option \"hots\"";
    QTest::newRow("only a comment") << "# the teacher's machine\n" << "No connection string";
}

void TestServerConnection::unreachableAtStartUpRunsClosed()
{
    QFETCH(QString, connection);
    QFETCH(QString, expected);

    QTemporaryDir nowhere;
    TestCourse course(false);
    course.writeFile("db1.connection", connection.replace("%1", nowhere.path()).toUtf8());
    Messages::Recorder messages;
    TDataModule2 module;
    // The connection, the three tables and the module's own open: the same five as a missing file.
    QCOMPARE(messages.errors.size(), 5);
    QVERIFY2(messages.errors.at(0).contains(expected.replace("%1", nowhere.path())), qPrintable(messages.errors.at(0)));
    QVERIFY(!module.Turok->isActive() && !module.Tjurnal->isActive() && !module.Tpas->isActive());
    QVERIFY(!QFile::exists(course.filePath("db1.sqlite")));
}

void TestServerConnection::serverAwayBetweenCommands_data()
{
    QTest::addColumn<bool>("stayDown");
    QTest::newRow("restarted between two commands") << false;
    QTest::newRow("down for two commands, then started") << true;
}

void TestServerConnection::serverAwayBetweenCommands()
{
    QFETCH(bool, stayDown);
    if (TestCourse::serverConnectionString().isEmpty() || !ServerControl::available())
        QSKIP("no test server: KORVELTA_TEST_PG and KORVELTA_TEST_PG_CTL are not set (scripts/test.sh starts one)");

    TestCourse course(TestCourse::Backend::PostgreSql);
    course.exec("INSERT INTO urok (urok) VALUES ('Урок 1')");
    Messages::Recorder messages;
    TDataModule2 module;
    QCOMPARE(messages.errors, QStringList());
    auto visit = [&module](const QString &lesson) {
        Messages::guarded([&] {
            JournalRows::append(*module.Tjurnal, QDate(2026, 12, 1), "Иванов", "ПИ-21", lesson, 0);
        });
    };
    visit("before");
    QCOMPARE(messages.errors, QStringList());

    ServerControl server;
    QVERIFY(stayDown ? server.stop() : server.restart());

    // The command that needed the dropped connection fails with the server's text,
    // and its row is not taken for written: it stays in the edit buffer.
    visit("lost");
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY2(messages.errors.at(0).contains("connection", Qt::CaseInsensitive), qPrintable(messages.errors.at(0)));
    QCOMPARE(module.Tjurnal->state(), TableCursor::State::Insert);

    if (stayDown) {
        // Reconnecting while the server is away fails too, with the server's text.
        Messages::guarded([&] { module.Turok->refresh(); });
        QCOMPARE(messages.errors.size(), 2);
        QVERIFY2(messages.errors.at(1).contains(".s.PGSQL."), qPrintable(messages.errors.at(1)));
        QVERIFY(server.start());
    }

    // The next command reconnects; the pending row is posted first, as any pending edit.
    visit("after");
    QCOMPARE(messages.errors.size(), stayDown ? 2 : 1);
    QCOMPARE(module.Tjurnal->state(), TableCursor::State::Browse);
    Messages::guarded([&] { module.Turok->refresh(); });
    QCOMPARE(module.Turok->value("urok").toString(), QString("Урок 1"));
    QCOMPARE(messages.errors.size(), stayDown ? 2 : 1);

    course.reconnect();
    QCOMPARE(course.rows("SELECT urok FROM jurnal ORDER BY \"код\""), (QStringList{"before", "lost", "after"}));
}

QTEST_MAIN(TestServerConnection)
#include "tst_serverconnection.moc"
