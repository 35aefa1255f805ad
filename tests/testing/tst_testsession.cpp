#include "AppError.h"
#include "LessonPaths.h"
#include "TestCourse.h"
#include "TestSession.h"

#include <QtTest>

#include <set>

namespace {

// A key of `count` lines whose answers run A, B, C, D, E, A, ...
QByteArray cyclingKey(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += char('A' + i % 5) + QByteArray("\r\n");
    return bytes;
}

int cyclingAnswer(int question)
{
    return (question - 1) % 5 + 1;
}

// Runs the steps of a start as the window does; the message of the step that stopped it, if any.
QString start(TestSession &session, const QVariant &testValue, const QString &appDir)
{
    try {
        session.seedGenerator();
        session.clearForStart();
        session.setTestDir(testValue);
        session.readKey(appDir);
        session.drawSlots();
    } catch (const AppError &error) {
        return error.message();
    }
    return QString();
}

} // namespace

class TestTestSession : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void testFolderAndPaths_data();
    void testFolderAndPaths();
    void nullTestValueKeepsTheFolder();
    void seededDrawIsRepeatableAndInRange();
    void shortKeyFillsAllSlotsWithRepeats();
    void keyLinesWithoutAnswerKeepEarlierEntries();
    void largeKeyShowsTheRightQuestions();
    void overlongKeyIsRefusedAndLeavesTheKey();
    void emptyKeyIsRefused();
    void missingKeyKeepsTheEarlierSteps();
    void grading();
    void finishGradesATestOfThisRun();
    void unansweredSlotsAreNeverRight_data();
    void unansweredSlotsAreNeverRight();
    void answerWithoutAnOpenedSlotChangesNothing();

private:
    std::unique_ptr<TestCourse> m_course;
    TestSession m_session;
    QString m_appDir;
};

void TestTestSession::init()
{
    m_course = std::make_unique<TestCourse>(false);
    m_appDir = LessonPaths::currentAppDir();
    m_session = TestSession();
    m_session.seedSource = [] { return 20061231u; };
}

void TestTestSession::cleanup()
{
    m_course.reset();
}

void TestTestSession::testFolderAndPaths_data()
{
    QTest::addColumn<QString>("testValue");
    QTest::addColumn<QString>("testDir");

    QTest::newRow("nested folder") << "testy\\urok1\\otwet.txt" << "\\testy\\urok1\\";
    QTest::newRow("any file of the folder") << "testy\\urok1\\1.htm" << "\\testy\\urok1\\";
    QTest::newRow("no folder part") << "otwet.txt" << "\\";
    QTest::newRow("empty value") << "" << "\\";
    QTest::newRow("forward slashes") << "testy/urok2/otwet.txt" << "\\testy/urok2/";
}

void TestTestSession::testFolderAndPaths()
{
    QFETCH(QString, testValue);
    QFETCH(QString, testDir);

    m_session.setTestDir(testValue);
    QCOMPARE(m_session.TestDir, testDir);
    // The key's name after the folder's separator doubles it, as text.
    QCOMPARE(m_session.keyPath("/course"), "/course" + testDir + "\\otwet.txt");
    m_session.TestSlot[7].question = 123;
    QCOMPARE(m_session.pagePath("/course", 7), "/course" + testDir + "123.htm");
}

void TestTestSession::nullTestValueKeepsTheFolder()
{
    m_session.setTestDir(QString("testy\\a\\otwet.txt"));
    try {
        m_session.setTestDir(QVariant());
        QFAIL("a Null test value was taken");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), QString("Could not convert variant of type (Null) into type (String)"));
    }
    QCOMPARE(m_session.TestDir, QString("\\testy\\a\\"));
}

void TestTestSession::seededDrawIsRepeatableAndInRange()
{
    m_course->writeFile("testy/otwet.txt", cyclingKey(56));
    QCOMPARE(start(m_session, "testy\\otwet.txt", m_appDir), QString());
    QVERIFY(m_session.running);
    QCOMPARE(m_session.questionCount, 56);

    TestSession again;
    again.seedSource = m_session.seedSource;
    QCOMPARE(start(again, "testy\\otwet.txt", m_appDir), QString());
    for (int i = 1; i <= TestSession::SlotCount; ++i) {
        const TestSlotState &slot = m_session.TestSlot[i];
        QVERIFY2(slot.question >= 1 && slot.question <= 56, qPrintable(QString::number(slot.question)));
        QCOMPARE(int(slot.correct), cyclingAnswer(slot.question));
        QCOMPARE(slot.chosen, quint8(0));
        QCOMPARE(again.TestSlot[i].question, slot.question);
    }
}

void TestTestSession::shortKeyFillsAllSlotsWithRepeats()
{
    m_course->writeFile("otwet.txt", "A\r\nB\r\nC\r\n");
    QCOMPARE(start(m_session, "otwet.txt", m_appDir), QString());
    std::set<int> drawn;
    for (int i = 1; i <= TestSession::SlotCount; ++i)
        drawn.insert(m_session.TestSlot[i].question);
    QCOMPARE(drawn, (std::set<int>{1, 2, 3}));
}

void TestTestSession::keyLinesWithoutAnswerKeepEarlierEntries()
{
    m_course->writeFile("a/otwet.txt", "A\r\nB\r\nC\r\n");
    m_course->writeFile("b/otwet.txt", "E\r\n-\r\n\r\n");
    QCOMPARE(start(m_session, "a\\otwet.txt", m_appDir), QString());
    QCOMPARE(start(m_session, "b\\otwet.txt", m_appDir), QString());
    QCOMPARE(int(m_session.AnswerKey[1]), 5);
    QCOMPARE(int(m_session.AnswerKey[2]), 2);
    QCOMPARE(int(m_session.AnswerKey[3]), 3);
    QCOMPARE(m_session.questionCount, 3);
}

void TestTestSession::largeKeyShowsTheRightQuestions()
{
    m_course->writeFile("big/otwet.txt", cyclingKey(TestSession::KeyCapacity));
    bool beyondByte = false;
    for (quint32 seed = 1; seed <= 5; ++seed) {
        m_session.seedSource = [seed] { return seed; };
        QCOMPARE(start(m_session, "big\\otwet.txt", m_appDir), QString());
        for (int i = 1; i <= TestSession::SlotCount; ++i) {
            const TestSlotState &slot = m_session.TestSlot[i];
            QVERIFY(slot.question >= 1 && slot.question <= TestSession::KeyCapacity);
            QCOMPARE(int(slot.correct), cyclingAnswer(slot.question));
            QCOMPARE(m_session.pagePath("/c", i), QString("/c\\big\\%1.htm").arg(slot.question));
            beyondByte = beyondByte || slot.question > 255;
        }
    }
    QVERIFY(beyondByte);
}

void TestTestSession::overlongKeyIsRefusedAndLeavesTheKey()
{
    m_course->writeFile("a/otwet.txt", "C\r\n");
    m_course->writeFile("huge/otwet.txt", QByteArray("E\r\n").repeated(TestSession::KeyCapacity + 1));
    QCOMPARE(start(m_session, "a\\otwet.txt", m_appDir), QString());
    QVERIFY(m_session.finish());

    const QString message = start(m_session, "huge\\otwet.txt", m_appDir);
    QVERIFY2(message.contains("1001") && message.contains("1000"), qPrintable(message));
    QVERIFY(!m_session.running);
    QCOMPARE(int(m_session.AnswerKey[1]), 3);
    QCOMPARE(int(m_session.AnswerKey[2]), 0);
}

void TestTestSession::emptyKeyIsRefused()
{
    for (const QByteArray &bytes : {QByteArray(), QByteArray("\x1A" "A\r\n")}) {
        m_course->writeFile("otwet.txt", bytes);
        const QString message = start(m_session, "otwet.txt", m_appDir);
        QVERIFY2(message.contains("нет ни одной строки"), qPrintable(message));
        QVERIFY(!m_session.running);
    }
}

void TestTestSession::missingKeyKeepsTheEarlierSteps()
{
    m_course->writeFile("a/otwet.txt", "B\r\n");
    QCOMPARE(start(m_session, "a\\otwet.txt", m_appDir), QString());
    m_session.TestSlot[3].chosen = 2;
    m_session.RightCount = 7;

    QCOMPARE(start(m_session, "gone\\otwet.txt", m_appDir), QString("Invalid filename"));
    QCOMPARE(m_session.TestDir, QString("\\gone\\"));
    QCOMPARE(m_session.RightCount, 0);
    QCOMPARE(m_session.TestSlot[3].chosen, quint8(0));
    QCOMPARE(m_session.TestSlot[3].question, 1);
    // Only the folder of the value counts: the file it names need not be the key.
    QCOMPARE(start(m_session, "a\\nothing.txt", m_appDir), QString());
    m_course->writeFile("b/1.htm", "");
    QCOMPARE(start(m_session, "b\\1.htm", m_appDir), QString("File not found"));
}

void TestTestSession::grading()
{
    m_course->writeFile("otwet.txt", cyclingKey(40));
    QCOMPARE(start(m_session, "otwet.txt", m_appDir), QString());
    // The first 25 slots answered right, the rest with a wrong letter or not at all.
    for (int i = 1; i <= TestSession::SlotCount; ++i) {
        m_session.open(i);
        const int right = m_session.TestSlot[i].correct;
        if (i <= 25)
            m_session.choose(right);
        else if (i <= 35)
            m_session.choose(right % 5 + 1);
    }
    QVERIFY(m_session.finish());
    QCOMPARE(m_session.RightCount, 25);
    QCOMPARE(m_session.WrongCount, 15);
    QVERIFY(!m_session.running);
}

void TestTestSession::finishGradesATestOfThisRun()
{
    // Before any start every slot holds 0 as its right and chosen answer.
    QVERIFY(!m_session.finish());
    QCOMPARE(m_session.RightCount + m_session.WrongCount, 0);

    m_course->writeFile("otwet.txt", cyclingKey(40));
    QCOMPARE(start(m_session, "otwet.txt", m_appDir), QString());
    m_session.open(1);
    m_session.choose(m_session.TestSlot[1].correct);
    QVERIFY(m_session.finish());
    QCOMPARE(m_session.RightCount, 1);
    QVERIFY(!m_session.running);

    // A finished test is graded again, with the answers changed since.
    m_session.open(2);
    m_session.choose(m_session.TestSlot[2].correct);
    QVERIFY(m_session.finish());
    QCOMPARE(m_session.RightCount, 2);
    QCOMPARE(m_session.WrongCount, 38);

    // A start that failed leaves slots of no test: nothing to grade.
    QCOMPARE(start(m_session, "gone\\otwet.txt", m_appDir), QString("Invalid filename"));
    m_session.open(3);
    m_session.choose(m_session.TestSlot[3].correct);
    QVERIFY(!m_session.finish());
    QCOMPARE(m_session.RightCount + m_session.WrongCount, 0);
}

void TestTestSession::unansweredSlotsAreNeverRight_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<bool>("answerTheOthers");

    QTest::newRow("Cyrillic look-alikes, nothing answered") << QByteArray("\xC0\r\n\xC2\r\n\xD1\r\n\xC5\r\n")
                                                            << false;
    QTest::newRow("empty lines, nothing answered") << QByteArray("\r\n\r\n\r\n") << false;
    QTest::newRow("two lines without answer, nothing answered") << (cyclingKey(10) + "\r\n-\r\n") << false;
    QTest::newRow("two lines without answer, the others answered right") << (cyclingKey(10) + "\r\n-\r\n")
                                                                         << true;
}

void TestTestSession::unansweredSlotsAreNeverRight()
{
    QFETCH(QByteArray, key);
    QFETCH(bool, answerTheOthers);
    m_course->writeFile("otwet.txt", key);
    QCOMPARE(start(m_session, "otwet.txt", m_appDir), QString());
    int answered = 0;
    for (int i = 1; answerTheOthers && i <= TestSession::SlotCount; ++i) {
        if (m_session.TestSlot[i].correct != 0) {
            m_session.open(i);
            m_session.choose(m_session.TestSlot[i].correct);
            ++answered;
        }
    }
    QVERIFY(m_session.finish());
    // A slot whose key line sets no answer is wrong, answered or not: an empty test scores 0.
    QCOMPARE(m_session.RightCount, answered);
    QCOMPARE(m_session.WrongCount, TestSession::SlotCount - answered);
    if (answerTheOthers)
        QVERIFY2(answered < TestSession::SlotCount, "no question without answer was drawn");
}

void TestTestSession::answerWithoutAnOpenedSlotChangesNothing()
{
    m_session.choose(3);
    for (const TestSlotState &slot : m_session.TestSlot)
        QCOMPARE(slot.chosen, quint8(0));
    m_session.open(40);
    m_session.choose(5);
    QCOMPARE(m_session.TestSlot[40].chosen, quint8(5));
}

QTEST_GUILESS_MAIN(TestTestSession)
#include "tst_testsession.moc"
