#include "FaultSupport.h"
#include "FaultTrees.h"

#include <QSet>
#include <QtTest>

// The program killed (SIGKILL) in the middle of its writes: the database
// passes its integrity check and holds every row the program reported
// written, log.log is one whole tree or the other, and the next start works.
class TestKilled : public QObject
{
    Q_OBJECT

private slots:
    void duringJournalWrites_data();
    void duringJournalWrites();
    void whileWritingTheTreeFile_data();
    void whileWritingTheTreeFile();
};

void TestKilled::duringJournalWrites_data()
{
    QTest::addColumn<int>("rowsBeforeKill");
    QTest::newRow("after the first row") << 1;
    QTest::newRow("after 50 rows") << 50;
    QTest::newRow("after 400 rows") << 400;
}

void TestKilled::duringJournalWrites()
{
    QFETCH(int, rowsBeforeKill);
    FaultCourse course;
    QStringList lines;
    {
        ProgramUnderFault program(course.path());
        QVERIFY2(program.started(), qPrintable(program.startup().join('\n')));
        program.command(QStringLiteral("learner Иванов ПИ-21"));
        program.startCommand(QStringLiteral("burst 0 g"));
        QVERIFY(program.waitForLine(QStringLiteral("written %1 ").arg(rowsBeforeKill - 1), lines, 120000));
        program.kill();
        lines += program.readLines();
    }
    QCOMPARE(ProgramUnderFault::errors(lines), QStringList());
    const QStringList reported = writtenGroups(lines, QStringLiteral("g"));
    QVERIFY(reported.size() >= rowsBeforeKill);

    QCOMPARE(course.integrity(), QString("ok"));
    const QStringList stored = course.journalGroups();
    QCOMPARE(QSet<QString>(stored.begin(), stored.end()).size(), stored.size());
    // Every reported row is there; at most the one in flight was stored unreported.
    QCOMPARE(stored.mid(0, reported.size()), reported);
    QVERIFY(stored.size() <= reported.size() + 1);

    // The next start opens the course without a message and goes on writing.
    ProgramUnderFault again(course.path());
    QVERIFY(again.started());
    QCOMPARE(ProgramUnderFault::errors(again.startup()), QStringList());
    again.command(QStringLiteral("learner Иванов после"));
    QCOMPARE(ProgramUnderFault::errors(again.command(QStringLiteral("choose Урок 2"))), QStringList());
    QVERIFY(again.quit());
    QCOMPARE(course.journalGroups(), stored + QStringList{"после"});
}

void TestKilled::whileWritingTheTreeFile_data()
{
    QTest::addColumn<int>("savesBeforeKill");
    QTest::newRow("during the first save") << 0;
    QTest::newRow("after 3 saves") << 3;
    QTest::newRow("after 12 saves") << 12;
}

void TestKilled::whileWritingTheTreeFile()
{
    QFETCH(int, savesBeforeKill);
    FaultCourse course;
    const QByteArray original = course.readFile(QStringLiteral("log.log"));
    const QByteArray a = TopicTreeFile::serialize(faultTree('A'));
    const QByteArray b = TopicTreeFile::serialize(faultTree('B'));
    QStringList lines;
    {
        ProgramUnderFault program(course.path());
        QVERIFY2(program.started(), qPrintable(program.startup().join('\n')));
        program.startCommand(QStringLiteral("save-trees"));
        for (int n = 0; n < savesBeforeKill; ++n)
            QVERIFY(program.waitForLine(QStringLiteral("saved "), lines, 60000));
        program.kill();
    }
    QCOMPARE(ProgramUnderFault::errors(lines), QStringList());
    const QByteArray left = course.readFile(QStringLiteral("log.log"));
    QVERIFY2(left == a || left == b || (savesBeforeKill == 0 && left == original),
             qPrintable(QStringLiteral("log.log of %1 bytes is no whole tree").arg(left.size())));
}

QTEST_GUILESS_MAIN(TestKilled)
#include "tst_killed.moc"
