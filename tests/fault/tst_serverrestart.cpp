#include "FaultSupport.h"
#include "TestCourse.h"

#include <QElapsedTimer>
#include <QSet>
#include <QtTest>

// The course's PostgreSQL server stopped and started again while the program
// writes journal rows: the commands that needed it report the server's
// message, the next one reconnects, and no visit reaches the journal twice.
class TestServerRestart : public QObject
{
    Q_OBJECT

private slots:
    void serverGoesAwayDuringVisits_data();
    void serverGoesAwayDuringVisits();
};

void TestServerRestart::serverGoesAwayDuringVisits_data()
{
    QTest::addColumn<int>("downMs");
    QTest::newRow("restarted at once") << 0;
    QTest::newRow("down for two seconds") << 2000;
}

void TestServerRestart::serverGoesAwayDuringVisits()
{
    QFETCH(int, downMs);
    const QString pgCtl = qEnvironmentVariable("KORVELTA_TEST_PG_CTL");
    if (TestCourse::serverConnectionString().isEmpty() || pgCtl.isEmpty())
        QSKIP("no test server: KORVELTA_TEST_PG and KORVELTA_TEST_PG_CTL are not set (scripts/test.sh starts one)");
    auto server = [&pgCtl](const QString &action) {
        QStringList command = QProcess::splitCommand(pgCtl);
        command << action;
        if (action != QLatin1String("start"))
            command << QStringLiteral("-m") << QStringLiteral("fast");
        return QProcess::execute(command.takeFirst(), command) == 0;
    };

    TestCourse course(TestCourse::Backend::PostgreSql);
    course.exec("INSERT INTO urok (urok, htm) VALUES ('Урок 1', 'uroki\\u1.htm'), ('Урок 2', 'uroki\\u2.htm')");
    course.writeFile("log.log", QByteArray("\xEF\xBB\xBF") + QStringLiteral("Урок 1\r\nУрок 2\r\n").toUtf8());
    course.writeFile("zas.mht", "MIME-Version: 1.0\r\nContent-Type: text/html\r\n\r\n<p>cover</p>");
    course.writeFile("uroki/u1.htm", "<p>one</p>");
    course.writeFile("uroki/u2.htm", "<p>two</p>");

    ProgramUnderFault program(course.path());
    QVERIFY2(program.started(), qPrintable(program.startup().join('\n')));
    QCOMPARE(ProgramUnderFault::errors(program.startup()), QStringList());
    program.command(QStringLiteral("learner Иванов ПИ-21"));

    QStringList lines;
    program.startCommand(QStringLiteral("burst-for 8 g"));
    QVERIFY(program.waitForLine(QStringLiteral("written 20 "), lines, 60000));
    if (downMs == 0) {
        QVERIFY(server(QStringLiteral("restart")));
    } else {
        QVERIFY(server(QStringLiteral("stop")));
        QTest::qWait(downMs);
        QVERIFY(server(QStringLiteral("start")));
    }
    QVERIFY(program.waitForLine(QStringLiteral("done"), lines, 120000));

    const QStringList errors = ProgramUnderFault::errors(lines);
    QVERIFY2(!errors.isEmpty(), "the server went away unnoticed");
    for (const QString &error : errors)
        QVERIFY2(!error.contains("Cannot perform"), qPrintable(error)); // the server's text, not a closed table
    const QStringList reported = writtenGroups(lines, QStringLiteral("g"));
    qInfo("%lld visits stored, %lld refused; first message: %s", qlonglong(reported.size()), qlonglong(errors.size()),
          qPrintable(errors.first()));

    // The visit after the burst is written, and the one still pending before it.
    program.command(QStringLiteral("learner Иванов после"));
    const QStringList after = program.command(QStringLiteral("choose-other"));
    QVERIFY2(ProgramUnderFault::errors(after).isEmpty(), qPrintable(after.join('\n')));
    QVERIFY(program.quit());

    course.reconnect();
    const QStringList stored = course.rows("SELECT gruppa FROM jurnal ORDER BY \"код\"");
    QCOMPARE(QSet<QString>(stored.begin(), stored.end()).size(), stored.size());
    for (const QString &group : reported)
        QVERIFY2(stored.contains(group), qPrintable(group + " reported written, not stored"));
    QCOMPARE(stored.last(), QString("после"));
}

QTEST_GUILESS_MAIN(TestServerRestart)
#include "tst_serverrestart.moc"
