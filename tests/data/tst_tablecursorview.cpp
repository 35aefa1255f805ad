// The filter, and deleting every row it lets through, on both back ends.
#include "TableCursorTest.h"

void TestTableCursor::filter_data()
{
    QTest::addColumn<RowFilter>("filter");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QStringList>("lessons");

    const QString ivanov = QStringLiteral("Иванов");
    QTest::newRow("switch off shows everything")
        << RowFilter{{"fio", ivanov}} << false << QStringList{"X", "X", "Y", "Y", "Z"};
    QTest::newRow("one condition") << RowFilter{{"fio", ivanov}} << true << QStringList{"X", "Y", "Z"};
    QTest::newRow("conditions are joined by and")
        << RowFilter{{"fio", ivanov}, {"gruppa", QStringLiteral("ПИ-21")}} << true << QStringList{"X", "Z"};
    QTest::newRow("integer column") << RowFilter{{"ocenka", 0}} << true << QStringList{"X", "Y", "Y", "Z"};
    QTest::newRow("an apostrophe is just a character") << RowFilter{{"fio", "O'Brien"}} << true
                                                       << QStringList{"Y"};
    QTest::newRow("empty filter means no condition") << RowFilter{} << true
                                                     << QStringList{"X", "X", "Y", "Y", "Z"};
}

void TestTableCursor::filter()
{
    QFETCH(RowFilter, filter);
    QFETCH(bool, on);
    QFETCH(QStringList, lessons);

    openJournal();
    m_journal->last();
    m_journal->setFilter(filter);
    m_journal->setFiltered(on);
    QStringList seen;
    for (int i = 0; i < m_journal->recordCount(); ++i)
        seen << m_journal->valueAt(i, m_journal->columnIndex("urok")).toString();
    QCOMPARE(seen, lessons);
    if (on)
        QCOMPARE(m_journal->currentIndex(), lessons.isEmpty() ? -1 : 0);
}

void TestTableCursor::filterChangePostsPendingEdit()
{
    openJournal();
    m_journal->moveTo(1);
    m_journal->edit();
    m_journal->setValue("fio", "Петров П.");
    m_journal->setFilter({{"gruppa", "ЭК-3"}});
    // Filter text alone, switch off: nothing in force changed.
    QCOMPARE(m_journal->state(), TableCursor::State::Edit);
    m_journal->setFiltered(true);
    QCOMPARE(m_journal->state(), TableCursor::State::Browse);
    QCOMPARE(m_course->scalar("SELECT fio FROM jurnal WHERE код = 2").toString(), QString("Петров П."));
    QCOMPARE(m_journal->recordCount(), 1);
}

void TestTableCursor::removeAllInViewDeletesOnlyRowsInView()
{
    openJournal();
    m_journal->setFilter({{"fio", "Иванов"}, {"ocenka", 0}});
    m_journal->setFiltered(true);
    m_journal->removeAllInView();
    QCOMPARE(m_journal->recordCount(), 0);
    m_journal->setFiltered(false);
    QCOMPARE(m_journal->recordCount(), 2);
    QCOMPARE(m_course->rows("SELECT fio FROM jurnal ORDER BY код"), (QStringList{"Петров", "O'Brien"}));
}

void TestTableCursor::removeAllInViewAcrossStatements_data()
{
    QTest::addColumn<int>("inView");
    QTest::addColumn<bool>("lastRefused");

    const int batch = KeyedDelete::KeysPerStatement;
    QTest::newRow("one row") << 1 << false;
    QTest::newRow("one full statement") << batch << false;
    QTest::newRow("one key past a statement") << batch + 1 << false;
    QTest::newRow("two statements and one key") << 2 * batch + 1 << false;
    QTest::newRow("last statement refused: nothing deleted") << batch + 1 << true;
}

// The rows in view are deleted in statements of many keys each; the rows
// between them, and every row when one statement fails, must stay.
void TestTableCursor::removeAllInViewAcrossStatements()
{
    QFETCH(int, inView);
    QFETCH(bool, lastRefused);

    // Rows to delete alternate with rows to keep, so no key range covers both.
    m_course->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                  "INSERT INTO jurnal (fio, urok, ocenka) "
                                  "SELECT CASE WHEN i % 2 = 0 THEN 'Пакет' ELSE 'Другой' END, 'W', 0 FROM n")
                       .arg(2 * inView));
    if (lastRefused) {
        m_course->exec("UPDATE jurnal SET urok = 'locked' WHERE код = (SELECT max(код) FROM jurnal WHERE fio = 'Пакет')");
        if (m_course->backend() == TestCourse::Backend::Sqlite) {
            m_course->exec("CREATE TRIGGER keep_locked BEFORE DELETE ON jurnal WHEN old.urok = 'locked' "
                           "BEGIN SELECT RAISE(ABORT, 'row is locked'); END");
        } else {
            m_course->exec("CREATE FUNCTION keep_locked() RETURNS trigger LANGUAGE plpgsql AS "
                           "$$BEGIN IF OLD.urok = 'locked' THEN RAISE EXCEPTION 'row is locked'; END IF; "
                           "RETURN OLD; END$$");
            m_course->exec("CREATE TRIGGER keep_locked BEFORE DELETE ON jurnal FOR EACH ROW EXECUTE FUNCTION keep_locked()");
        }
    }
    openJournal();
    m_journal->setFilter({{"fio", "Пакет"}});
    m_journal->setFiltered(true);
    QCOMPARE(m_journal->recordCount(), inView);

    const int stored = 5 + 2 * inView;
    if (lastRefused) {
        QVERIFY_THROWS_EXCEPTION(AppError, m_journal->removeAllInView());
        QCOMPARE(m_course->scalar("SELECT count(*) FROM jurnal").toInt(), stored);
        QCOMPARE(m_journal->recordCount(), inView);
        return;
    }
    m_journal->removeAllInView();
    QCOMPARE(m_journal->recordCount(), 0);
    QCOMPARE(m_course->scalar("SELECT count(*) FROM jurnal WHERE fio = 'Пакет'").toInt(), 0);
    QCOMPARE(m_course->scalar("SELECT count(*) FROM jurnal").toInt(), stored - inView);
    m_journal->setFiltered(false);
    QCOMPARE(m_journal->recordCount(), stored - inView);
    m_journal->last();
    QCOMPARE(m_journal->value("fio").toString(), QString("Другой"));
}
