#include "FaultSupport.h"
#include "TableCursor.h"

#include <QFile>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

// db1.sqlite taken away or replaced while the program runs: the command that
// meets it says so and writes nothing into a file that is no longer the
// course's; the next one works on the file that is there again.
class TestDatabaseFile : public QObject
{
    Q_OBJECT

private slots:
    void fileGoneUnderTheProgram_data();
    void fileGoneUnderTheProgram();
};

void TestDatabaseFile::fileGoneUnderTheProgram_data()
{
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QString>("message");
    QTest::newRow("removed, then put back") << false << "удалён во время работы программы";
    QTest::newRow("replaced by another course's file") << true << "заменён во время работы программы";
}

void TestDatabaseFile::fileGoneUnderTheProgram()
{
    QFETCH(bool, replaced);
    QFETCH(QString, message);
    FaultCourse course;
    FaultCourse other;
    const QString database = course.filePath(QStringLiteral("db1.sqlite"));
    const QString kept = course.filePath(QStringLiteral("kept.sqlite"));

    ProgramUnderFault program(course.path());
    QVERIFY2(program.started(), qPrintable(program.startup().join('\n')));
    program.command(QStringLiteral("learner Иванов до"));
    QCOMPARE(ProgramUnderFault::errors(program.command(QStringLiteral("choose Урок 1"))), QStringList());

    // Moved aside (the same file under another name) or replaced.
    if (replaced) {
        QVERIFY(::link(QFile::encodeName(database).constData(), QFile::encodeName(kept).constData()) == 0);
        QVERIFY(::rename(QFile::encodeName(other.filePath("db1.sqlite")).constData(),
                         QFile::encodeName(database).constData()) == 0);
    } else {
        QVERIFY(::rename(QFile::encodeName(database).constData(), QFile::encodeName(kept).constData()) == 0);
    }

    program.command(QStringLiteral("learner Иванов между"));
    const QStringList refused = program.command(QStringLiteral("choose Урок 2"));
    QCOMPARE(ProgramUnderFault::errors(refused).size(), 1);
    QVERIFY2(ProgramUnderFault::errors(refused).at(0).contains(message), qPrintable(refused.join('\n')));
    QCOMPARE(program.command(QStringLiteral("journal")).value(0).section(' ', 1, 1),
             QString::number(int(TableCursor::State::Insert)));

    if (!replaced) {
        // While the file is away every command says so; then it comes back.
        const QStringList away = program.command(QStringLiteral("choose Урок 1"));
        QCOMPARE(ProgramUnderFault::errors(away).size(), 1);
        QVERIFY2(ProgramUnderFault::errors(away).at(0).contains("unable to open database file"), qPrintable(away.join('\n')));
        QVERIFY(::rename(QFile::encodeName(kept).constData(), QFile::encodeName(database).constData()) == 0);
    }

    program.command(QStringLiteral("learner Иванов после"));
    // A topic other than the one chosen last, so that choosing it is a change.
    const QStringList after = program.command(replaced ? QStringLiteral("choose Урок 1") : QStringLiteral("choose Урок 2"));
    QVERIFY2(ProgramUnderFault::errors(after).isEmpty(), qPrintable(after.join('\n')));
    QVERIFY(program.quit());

    QCOMPARE(course.integrity(), QString("ok"));
    if (replaced) {
        // The new file takes the refused visit and the next; the old one keeps what it had.
        QCOMPARE(course.journalGroups().join(","), QString("между,после"));
        QVERIFY(QFile::remove(database));
        QVERIFY(QFile::rename(kept, database));
        QCOMPARE(course.integrity(), QString("ok"));
        QCOMPARE(course.journalGroups(), QStringList{"до"});
    } else {
        QCOMPARE(course.journalGroups(), (QStringList{"до", "между", "после"}));
    }
}

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "tst_databasefile.moc"
