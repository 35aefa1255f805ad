#include "FaultSupport.h"

#include <QSet>
#include <QtTest>

// Two copies of the program on one course folder (one db1.sqlite) write
// journal rows at the same time for a minute: every visit each copy reports
// stored is in the journal once, and nothing else is.
class TestTwoCopies : public QObject
{
    Q_OBJECT

private slots:
    void writeTogetherForAMinute();
};

void TestTwoCopies::writeTogetherForAMinute()
{
    FaultCourse course;
    ProgramUnderFault first(course.path());
    ProgramUnderFault second(course.path());
    QVERIFY(first.started() && second.started());
    first.command(QStringLiteral("learner Первый ПИ-21"));
    second.command(QStringLiteral("learner Второй ПИ-21"));

    first.startCommand(QStringLiteral("burst-for 60 a"));
    second.startCommand(QStringLiteral("burst-for 60 b"));
    QStringList firstLines;
    QStringList secondLines;
    QVERIFY(first.waitForLine(QStringLiteral("done"), firstLines, 180000));
    QVERIFY(second.waitForLine(QStringLiteral("done"), secondLines, 180000));
    QVERIFY(first.quit());
    QVERIFY(second.quit());

    QCOMPARE(ProgramUnderFault::errors(firstLines + secondLines), QStringList());
    const QStringList reportedA = writtenGroups(firstLines, QStringLiteral("a"));
    const QStringList reportedB = writtenGroups(secondLines, QStringLiteral("b"));
    QVERIFY(!reportedA.isEmpty() && !reportedB.isEmpty());
    qInfo("rows written in the minute: %lld and %lld", qlonglong(reportedA.size()), qlonglong(reportedB.size()));

    QCOMPARE(course.integrity(), QString("ok"));
    QStringList stored = course.journalGroups();
    QCOMPARE(QSet<QString>(stored.begin(), stored.end()).size(), stored.size());
    QStringList expected = reportedA + reportedB;
    stored.sort();
    expected.sort();
    QCOMPARE(stored, expected);
}

QTEST_GUILESS_MAIN(TestTwoCopies)
#include "tst_twocopies.moc"
