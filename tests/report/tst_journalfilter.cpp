#include "JournalFilterText.h"
#include "TableCursor.h"
#include "TestCourse.h"

#include <QtTest>

#include <memory>

namespace {

// Each condition as "column=value" with the value's type, so that a number
// and a text that read alike are told apart.
QStringList describe(const RowFilter &filter)
{
    QStringList out;
    for (const FieldCondition &c : filter)
        out << QStringLiteral("%1=%2:%3").arg(c.column, c.value.toString(), QString::fromLatin1(c.value.typeName()));
    return out;
}

} // namespace

// What the name and group boxes compose, and what the journal shows with it.
class TestJournalFilter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void composition_data();
    void composition();
    void withoutMarks_data();
    void withoutMarks();
    void rowsInView_data();
    void rowsInView();
    void dateRange_data();
    void dateRange();
    void sameFilterAgainChangesNothing();
    void newFilterPostsPendingEditAndGoesToFirstRow();

private:
    QStringList lessonsInView() const;

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<TableCursor> m_journal;
};

void TestJournalFilter::init()
{
    m_course = std::make_unique<TestCourse>();
    const char *rows[][4] = {{"Иванов", "ПИ-21", "0", "A"},  {"Петров", "ПИ-21", "75", "B"},
                             {"Иванов", "ЭК-3", "0", "C"},   {"O'Brien", "ПИ-21", "0", "D"},
                             {"Иванов", "ПИ-21", "60", "E"}, {"O'Brien", "ЭК-3", "0", "F"}};
    for (const auto &row : rows) {
        m_course->addJournalRow(QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString(row[2]).toInt(),
                                QString::fromUtf8(row[3]));
    }
    m_journal = m_course->openJournal();
}

void TestJournalFilter::cleanup()
{
    m_journal.reset();
    m_course.reset();
}

QStringList TestJournalFilter::lessonsInView() const
{
    QStringList out;
    const int urok = m_journal->columnIndex("urok");
    for (int i = 0; i < m_journal->recordCount(); ++i)
        out << m_journal->valueAt(i, urok).toString();
    return out;
}

void TestJournalFilter::composition_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("conditions");

    const QString ivanov = QStringLiteral("Иванов");
    const QString group = QStringLiteral("ПИ-21");
    QTest::newRow("neither box: no condition") << QString() << QString() << QString() << QStringList();
    QTest::newRow("name box alone") << ivanov << QString() << "fio='Иванов'"
                                    << QStringList{"fio=Иванов:QString"};
    QTest::newRow("group box alone has no leading and")
        << QString() << group << "gruppa='ПИ-21'" << QStringList{"gruppa=ПИ-21:QString"};
    QTest::newRow("both boxes: name, and, group")
        << ivanov << group << "fio='Иванов' and gruppa='ПИ-21'"
        << QStringList{"fio=Иванов:QString", "gruppa=ПИ-21:QString"};
    QTest::newRow("same text in both boxes")
        << group << group << "fio='ПИ-21' and gruppa='ПИ-21'"
        << QStringList{"fio=ПИ-21:QString", "gruppa=ПИ-21:QString"};
    QTest::newRow("apostrophe stays as typed")
        << "O'Brien" << QString() << "fio='O'Brien'" << QStringList{"fio=O'Brien:QString"};
    QTest::newRow("spaces are part of the name")
        << " Иванов " << QString() << "fio=' Иванов '" << QStringList{"fio= Иванов :QString"};
}

void TestJournalFilter::composition()
{
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(QString, text);
    QFETCH(QStringList, conditions);

    const JournalFilterText filter = JournalFilterText::fromBoxes(name, group);
    QCOMPARE(filter.text(), text);
    QCOMPARE(describe(filter.conditions()), conditions);
    QCOMPARE(filter.isEmpty(), conditions.isEmpty());
    // The text written out from the conditions alone reads the same.
    QCOMPARE(JournalFilterText(filter.conditions()).text(), text);
}

void TestJournalFilter::withoutMarks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("text");

    QTest::newRow("check box off: marks condition alone") << "Иванов" << "ПИ-21" << false << "ocenka=0";
    QTest::newRow("check box on with a name") << "Иванов" << QString() << true << "fio='Иванов' and ocenka=0";
    QTest::newRow("check box on with both boxes")
        << "Иванов" << "ПИ-21" << true << "fio='Иванов' and gruppa='ПИ-21' and ocenka=0";
    QTest::newRow("check box on, boxes empty: no leading and") << QString() << QString() << true << "ocenka=0";
}

void TestJournalFilter::withoutMarks()
{
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(bool, checked);
    QFETCH(QString, text);

    const JournalFilterText filter = JournalFilterText::fromBoxes(name, group).withoutMarks(checked);
    QCOMPARE(filter.text(), text);
    // The mark is compared as a number, as the column holds it.
    QCOMPARE(describe(filter.conditions()).constLast(), QStringLiteral("ocenka=0:int"));
}

void TestJournalFilter::rowsInView_data()
{
    QTest::addColumn<bool>("switchOn");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("lessons");

    const QStringList all{"A", "B", "C", "D", "E", "F"};
    QTest::newRow("switch off: typed text changes nothing in view") << false << "Иванов" << "ПИ-21" << all;
    QTest::newRow("switch on, name box alone") << true << "Иванов" << QString() << QStringList{"A", "C", "E"};
    QTest::newRow("switch on, group box alone") << true << QString() << "ЭК-3" << QStringList{"C", "F"};
    QTest::newRow("switch on, both boxes") << true << "Иванов" << "ПИ-21" << QStringList{"A", "E"};
    QTest::newRow("switch on, name with an apostrophe") << true << "O'Brien" << QString() << QStringList{"D", "F"};
    QTest::newRow("switch on, boxes empty") << true << QString() << QString() << all;
    QTest::newRow("switch on, nobody of that name") << true << "Сидоров" << QString() << QStringList();
}

void TestJournalFilter::rowsInView()
{
    QFETCH(bool, switchOn);
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(QStringList, lessons);

    m_journal->setFiltered(switchOn);
    JournalFilterText::fromBoxes(name, group).applyTo(*m_journal);
    QCOMPARE(lessonsInView(), lessons);
    QCOMPARE(m_journal->currentIndex(), lessons.isEmpty() ? -1 : 0);
}

void TestJournalFilter::dateRange_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lessons");

    const QDate none;
    QTest::newRow("from alone, its day included")
        << QString() << QDate(2026, 3, 5) << none << "data>='2026-03-05'" << QStringList{"C", "D", "E"};
    QTest::newRow("to alone, its day included")
        << QString() << none << QDate(2026, 3, 2) << "data<='2026-03-02'" << QStringList{"A", "B"};
    QTest::newRow("both ends") << QString() << QDate(2026, 3, 2) << QDate(2026, 3, 5)
                               << "data>='2026-03-02' and data<='2026-03-05'" << QStringList{"B", "C"};
    QTest::newRow("one day") << QString() << QDate(2026, 3, 10) << QDate(2026, 3, 10)
                             << "data>='2026-03-10' and data<='2026-03-10'" << QStringList{"D", "E"};
    QTest::newRow("from after to: nothing") << QString() << QDate(2026, 3, 10) << QDate(2026, 3, 1)
                                            << "data>='2026-03-10' and data<='2026-03-01'" << QStringList();
    QTest::newRow("with a name") << "Иванов" << QDate(2026, 3, 2) << none
                                 << "fio='Иванов' and data>='2026-03-02'" << QStringList{"C", "E"};
    QTest::newRow("no range keeps a row whose date cannot be read")
        << QString() << none << none << QString() << QStringList{"A", "B", "C", "D", "E", "F"};
    QTest::newRow("a date that cannot be read is outside any range")
        << QString() << QDate(2000, 1, 1) << none << "data>='2000-01-01'" << QStringList{"A", "B", "C", "D", "E"};
}

void TestJournalFilter::dateRange()
{
    QFETCH(QString, name);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, text);
    QFETCH(QStringList, lessons);

    const char *dates[][2] = {{"A", "2026-03-01"}, {"B", "2026-03-02"}, {"C", "2026-03-05"},
                              {"D", "2026-03-10"}, {"E", "2026-03-10"}, {"F", "весной"}};
    for (const auto &row : dates)
        m_course->exec("UPDATE jurnal SET data = ? WHERE urok = ?", {QString::fromUtf8(row[1]), row[0]});
    m_journal = m_course->openJournal();

    const JournalFilterText filter = JournalFilterText::fromBoxes(name, QString()).withDates(from, to);
    QCOMPARE(filter.text(), text);
    m_journal->setFiltered(true);
    filter.applyTo(*m_journal);
    QCOMPARE(lessonsInView(), lessons);
}

void TestJournalFilter::sameFilterAgainChangesNothing()
{
    m_journal->setFiltered(true);
    JournalFilterText::fromBoxes("Иванов", QString()).applyTo(*m_journal);
    m_journal->moveTo(2);
    m_journal->edit();
    m_journal->setValue("gruppa", "ПИ-22");

    JournalFilterText::fromBoxes("Иванов", QString()).applyTo(*m_journal);
    QCOMPARE(m_journal->currentIndex(), 2);
    QVERIFY(m_journal->isEditing());
    QCOMPARE(m_journal->value("gruppa").toString(), QStringLiteral("ПИ-22"));
}

void TestJournalFilter::newFilterPostsPendingEditAndGoesToFirstRow()
{
    m_journal->setFiltered(true);
    JournalFilterText::fromBoxes("Иванов", QString()).applyTo(*m_journal);
    m_journal->moveTo(2);
    m_journal->edit();
    m_journal->setValue("gruppa", "ПИ-22");

    JournalFilterText::fromBoxes("Иванов", "ПИ-22").applyTo(*m_journal);
    QVERIFY(!m_journal->isEditing());
    QCOMPARE(m_course->rows("SELECT gruppa FROM jurnal WHERE urok = 'E'"), QStringList{"ПИ-22"});
    QCOMPARE(lessonsInView(), QStringList{"E"});
    QCOMPARE(m_journal->currentIndex(), 0);
}

QTEST_GUILESS_MAIN(TestJournalFilter)
#include "tst_journalfilter.moc"
