#include "AppError.h"
#include "JournalFilterText.h"
#include "JournalPruning.h"
#include "TableCursor.h"
#include "TestCourse.h"

#include <QtTest>

#include <memory>

// "Удалить записи без оценок" and "Удалить все записи" on a real course file,
// set up the way the journal tab leaves the journal: the boxes' filter applied
// and the switch at the check box's state.
class TestJournalPruning : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deleteRowsWithoutMarks_data();
    void deleteRowsWithoutMarks();
    void checkBoxClickedTwiceAfterPruningRestoresTheFilter();
    void deleteAllAfterPruningEmptiesTheJournal();
    void failedPruningDeletesNothing();
    void deleteAllInView_data();
    void deleteAllInView();

private:
    void setUpTab(bool checked, const QString &name, const QString &group);
    QStringList storedLessons() const;

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<TableCursor> m_journal;
};

void TestJournalPruning::init()
{
    m_course = std::make_unique<TestCourse>();
    // F is a finished test scored 0 %: stored like a visit.
    const char *rows[][4] = {{"Иванов", "ПИ-21", "0", "A"},  {"Петров", "ПИ-21", "75", "B"},
                             {"Иванов", "ЭК-3", "0", "C"},   {"O'Brien", "ПИ-21", "0", "D"},
                             {"Иванов", "ПИ-21", "60", "E"}, {"Петров", "ПИ-21", "0", "F"},
                             {"O'Brien", "ПИ-21", "90", "G"}};
    for (const auto &row : rows) {
        m_course->addJournalRow(QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString(row[2]).toInt(),
                                QString::fromUtf8(row[3]));
    }
    m_journal = m_course->openJournal();
}

void TestJournalPruning::cleanup()
{
    m_journal.reset();
    m_course.reset();
}

void TestJournalPruning::setUpTab(bool checked, const QString &name, const QString &group)
{
    m_journal->setFiltered(checked);
    JournalFilterText::fromBoxes(name, group).applyTo(*m_journal);
}

QStringList TestJournalPruning::storedLessons() const
{
    return m_course->rows("SELECT urok FROM jurnal ORDER BY urok");
}

void TestJournalPruning::deleteRowsWithoutMarks_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("filterText");

    QTest::newRow("switch on with a name: that learner's visits only")
        << true << "Иванов" << QString() << QStringList{"B", "D", "E", "F", "G"} << "fio='Иванов' and ocenka=0";
    QTest::newRow("switch on with name and group")
        << true << "Иванов" << "ПИ-21" << QStringList{"B", "C", "D", "E", "F", "G"}
        << "fio='Иванов' and gruppa='ПИ-21' and ocenka=0";
    QTest::newRow("switch off: every visit row and the 0 % test")
        << false << "Иванов" << QString() << QStringList{"B", "E", "G"} << "ocenka=0";
    QTest::newRow("switch on, boxes empty: every visit row")
        << true << QString() << QString() << QStringList{"B", "E", "G"} << "ocenka=0";
    QTest::newRow("0 % test of one learner goes with the visits")
        << true << "Петров" << QString() << QStringList{"A", "B", "C", "D", "E", "G"} << "fio='Петров' and ocenka=0";
    QTest::newRow("name with an apostrophe")
        << true << "O'Brien" << QString() << QStringList{"A", "B", "C", "E", "F", "G"} << "fio='O'Brien' and ocenka=0";
}

void TestJournalPruning::deleteRowsWithoutMarks()
{
    QFETCH(bool, checked);
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(QStringList, left);
    QFETCH(QString, filterText);

    setUpTab(checked, name, group);
    JournalPruning::deleteRowsWithoutMarks(*m_journal, m_journal->filter(), checked);

    QCOMPARE(storedLessons(), left);
    // The switch is off again: the whole journal is in view, from its first row.
    QVERIFY(!m_journal->isFiltered());
    QCOMPARE(m_journal->recordCount(), left.size());
    QCOMPARE(m_journal->currentIndex(), 0);
    // The conditions stay as the deletion set them.
    QCOMPARE(JournalFilterText(m_journal->filter()).text(), filterText);
}

void TestJournalPruning::checkBoxClickedTwiceAfterPruningRestoresTheFilter()
{
    setUpTab(true, "Иванов", QString());
    JournalPruning::deleteRowsWithoutMarks(*m_journal, m_journal->filter(), true);

    // The check box still shows checked; two clicks run its handler off, then on.
    setUpTab(false, "Иванов", QString());
    setUpTab(true, "Иванов", QString());
    QCOMPARE(m_journal->recordCount(), 1);
    QCOMPARE(m_journal->value("urok").toString(), QStringLiteral("E"));
}

void TestJournalPruning::deleteAllAfterPruningEmptiesTheJournal()
{
    setUpTab(true, "Иванов", QString());
    JournalPruning::deleteRowsWithoutMarks(*m_journal, m_journal->filter(), true);
    JournalPruning::deleteAllInView(*m_journal);
    QCOMPARE(storedLessons(), QStringList());
}

void TestJournalPruning::failedPruningDeletesNothing()
{
    m_course->exec("CREATE TRIGGER keep_d BEFORE DELETE ON jurnal WHEN old.urok = 'D' "
                   "BEGIN SELECT RAISE(ABORT, 'row D is locked'); END");
    setUpTab(false, QString(), QString());
    try {
        JournalPruning::deleteRowsWithoutMarks(*m_journal, m_journal->filter(), false);
        QFAIL("the engine's refusal was not reported");
    } catch (const AppError &error) {
        QVERIFY2(error.message().contains("row D is locked"), qPrintable(error.message()));
    }
    QCOMPARE(storedLessons().size(), 7);
    // The journal stays filtered to the rows without a mark that are still there.
    QVERIFY(m_journal->isFiltered());
    QCOMPARE(m_journal->recordCount(), 4);
}

void TestJournalPruning::deleteAllInView_data()
{
    QTest::addColumn<bool>("switchOn");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("switch on: only the rows shown") << true << "Иванов" << QStringList{"B", "D", "F", "G"};
    QTest::newRow("switch off: the whole journal") << false << "Иванов" << QStringList();
    QTest::newRow("switch on, name with an apostrophe")
        << true << "O'Brien" << QStringList{"A", "B", "C", "E", "F"};
}

void TestJournalPruning::deleteAllInView()
{
    QFETCH(bool, switchOn);
    QFETCH(QString, name);
    QFETCH(QStringList, left);

    setUpTab(switchOn, name, QString());
    m_journal->moveTo(1);
    JournalPruning::deleteAllInView(*m_journal);

    QCOMPARE(storedLessons(), left);
    QVERIFY(m_journal->isEmpty());
    QCOMPARE(m_journal->isFiltered(), switchOn);
    // Turning the switch off shows what is left.
    m_journal->setFiltered(false);
    QCOMPARE(m_journal->recordCount(), left.size());
}

QTEST_GUILESS_MAIN(TestJournalPruning)
#include "tst_journalpruning.moc"
