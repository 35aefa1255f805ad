#include "AppError.h"
#include "CourseSession.h"
#include "TableCursor.h"
#include "TestCourse.h"

#include <QDate>
#include <QFile>
#include <QtTest>

#include <memory>

// The course's rules without a window: the journal rule, the commands a lesson
// row offers, a topic's lesson row, and the tree file kept with its backup.
class TestCourseSession : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void journalRows_data();
    void journalRows();
    void lessonCommandsFollowTheColumns_data();
    void lessonCommandsFollowTheColumns();
    void unknownTopicKeepsTheCurrentLesson();
    void topicRowsComeAndGo();
    void withoutTablesEveryRuleFails();
    void treeReadWholeIsWrittenWithoutBackup();
    void treeReadUpToABadLineIsKeptInABackupOnce();

private:
    QStringList journal() const { return m_course->rows("SELECT urok, data, ocenka, fio, gruppa FROM jurnal"); }

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<TableCursor> m_lessons;
    std::unique_ptr<TableCursor> m_journal;
    std::unique_ptr<CourseSession> m_session;
};

void TestCourseSession::init()
{
    m_course = std::make_unique<TestCourse>();
    m_course->exec("INSERT INTO urok VALUES ('Закон Ома', 'u\\om.htm', 'k\\om.jpg', '', 't\\otwet.txt', "
                   "'m\\a.mid', NULL, 'p\\lab')");
    m_course->exec("INSERT INTO urok VALUES ('Пустой урок', NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
    m_lessons = m_course->openLessons();
    m_journal = m_course->openJournal();
    m_session = std::make_unique<CourseSession>();
    m_session->attachTables(m_lessons.get(), m_journal.get());
}

void TestCourseSession::cleanup()
{
    m_session.reset();
    m_journal.reset();
    m_lessons.reset();
    m_course.reset();
}

void TestCourseSession::journalRows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("test");    // a finished test instead of a visit
    QTest::addColumn<QString>("topic"); // the node's text, for a visit
    QTest::addColumn<QStringList>("rows");

    const QString today = QDate::currentDate().toString(Qt::ISODate);
    QTest::newRow("visit of a named learner, under the node's text")
        << "Иванов" << "ПИ-21" << false << "Закон Ома (повтор)"
        << QStringList{"Закон Ома (повтор)|" + today + "|0|Иванов|ПИ-21"};
    QTest::newRow("test of a named learner, under the lesson's title")
        << "Иванов" << "" << true << "" << QStringList{"Закон Ома|" + today + "|85|Иванов|"};
    QTest::newRow("a group without a name records no visit") << "" << "ПИ-21" << false << "Закон Ома" << QStringList{};
    QTest::newRow("a group without a name records no test") << "" << "ПИ-21" << true << "" << QStringList{};
    QTest::newRow("long texts are cut to 250, 50 and 50 characters")
        << QString(60, u'ф') << QString(55, u'г') << false << QString(300, u'т')
        << QStringList{QString(250, u'т') + "|" + today + "|0|" + QString(50, u'ф') + "|" + QString(50, u'г')};
}

void TestCourseSession::journalRows()
{
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(bool, test);
    QFETCH(QString, topic);
    QFETCH(QStringList, rows);

    m_session->setLearner(name, group);
    if (test)
        m_session->recordTestResult(85);
    else
        m_session->recordVisit(topic);
    QCOMPARE(journal(), rows);
}

void TestCourseSession::lessonCommandsFollowTheColumns_data()
{
    QTest::addColumn<QString>("lesson");
    QTest::addColumn<QString>("available"); // picture video narration test page program, as 0/1

    // An empty column offers nothing, like a Null one; the melody governs no command.
    QTest::newRow("columns set, empty and Null") << "Закон Ома" << "1 0 0 1 1 1";
    QTest::newRow("no column set") << "Пустой урок" << "0 0 0 0 0 0";
}

void TestCourseSession::lessonCommandsFollowTheColumns()
{
    QFETCH(QString, lesson);
    QFETCH(QString, available);

    m_session->openTopic(lesson);
    QStringList seen;
    QList<LessonCommand> order;
    for (const LessonCommandState &state : m_session->lessonCommands()) {
        seen << (state.available ? "1" : "0");
        order << state.command;
    }
    QCOMPARE(seen.join(' '), available);
    QCOMPARE(order, (QList<LessonCommand>{LessonCommand::Picture, LessonCommand::Video, LessonCommand::Narration,
                                          LessonCommand::Test, LessonCommand::Page, LessonCommand::Program}));
}

void TestCourseSession::unknownTopicKeepsTheCurrentLesson()
{
    m_session->openTopic("Пустой урок");
    m_session->openTopic("Нет такой темы");
    QCOMPARE(m_session->currentLessonTitle(), QString("Пустой урок"));
    m_session->setLearner("Иванов", "ПИ-21");
    m_session->recordTestResult(40);
    QCOMPARE(journal(), QStringList{"Пустой урок|" + QDate::currentDate().toString(Qt::ISODate) + "|40|Иванов|ПИ-21"});
}

void TestCourseSession::topicRowsComeAndGo()
{
    m_session->addTopicRow("Новая тема");
    // The new row stays current, so that files attached next go to it.
    QCOMPARE(m_session->currentLessonTitle(), QString("Новая тема"));
    QCOMPARE(m_course->rows("SELECT urok, htm, jpg FROM urok WHERE urok = 'Новая тема'"),
             QStringList{"Новая тема|<null>|<null>"});

    m_session->removeTopicRow("Нет такой темы");
    QCOMPARE(m_course->scalar("SELECT count(*) FROM urok").toInt(), 3);
    m_session->removeTopicRow("Закон Ома");
    QCOMPARE(m_course->rows("SELECT urok FROM urok ORDER BY urok"), (QStringList{"Новая тема", "Пустой урок"}));
}

void TestCourseSession::withoutTablesEveryRuleFails()
{
    CourseSession session;
    session.setLearner("Иванов", "ПИ-21");
    const std::pair<const char *, std::function<void()>> rules[] = {
        {"Turok", [&] { session.openTopic("Закон Ома"); }},
        {"Turok", [&] { session.lessonCommands(); }},
        {"Turok", [&] { session.addTopicRow("Тема"); }},
        {"Turok", [&] { session.recordTestResult(50); }},
        {"Tjurnal", [&] { session.recordVisit("Закон Ома"); }},
    };
    for (const auto &[table, rule] : rules) {
        try {
            rule();
            QFAIL(qPrintable(QString("no error for a rule on %1").arg(table)));
        } catch (const AppError &error) {
            QCOMPARE(error.message(), QString("%1: Cannot perform this operation on a closed dataset").arg(table));
        }
    }
}

void TestCourseSession::treeReadWholeIsWrittenWithoutBackup()
{
    m_course->writeFile("log.log", "A\r\n\tB\r\n");
    const QString path = m_course->filePath("log.log");
    QCOMPARE(m_session->readTopicTree(path).nodes.size(), 2);
    QStringList notices;
    m_session->saveTopicTree({{0, "A"}, {0, "C"}}, [&](const QString &notice) { notices << notice; });
    QCOMPARE(m_course->readFile("log.log"), QByteArray("A\r\nC\r\n"));
    QVERIFY(!QFile::exists(path + ".bak"));
    QCOMPARE(notices, QStringList());
}

void TestCourseSession::treeReadUpToABadLineIsKeptInABackupOnce()
{
    const QByteArray original("A\r\n\t\t\tDeep\r\nB\r\n");
    m_course->writeFile("log.log", original);
    m_course->writeFile("log.log.bak", "an older backup");
    const QString path = m_course->filePath("log.log");
    const TopicTreeFile::ReadResult tree = m_session->readTopicTree(path);
    QVERIFY(tree.error);
    QStringList notices;
    const auto notify = [&](const QString &notice) { notices << notice; };

    m_session->saveTopicTree(tree.nodes, notify);
    QCOMPARE(m_course->readFile("log.log"), QByteArray("A\r\n"));
    QCOMPARE(m_course->readFile("log.log.bak"), original);
    QCOMPARE(notices.size(), 1);
    QVERIFY(notices.at(0).contains(path + ".bak"));

    // The backup holds the unread rest once; a later save replaces only the tree.
    m_session->saveTopicTree({{0, "A"}, {0, "B"}}, notify);
    QCOMPARE(m_course->readFile("log.log.bak"), original);
    QCOMPARE(notices.size(), 1);
}

QTEST_GUILESS_MAIN(TestCourseSession)

#include "tst_coursesession.moc"
