#include "TableCursorTest.h"


void TestTableCursor::initTestCase_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::newRow("sqlite") << false;
    QTest::newRow("postgresql") << true;
}

void TestTableCursor::init()
{
    QFETCH_GLOBAL(bool, onServer);
    if (onServer && TestCourse::serverConnectionString().isEmpty())
        QSKIP("no test server: KORVELTA_TEST_PG is not set (scripts/test.sh starts one)");
    m_course = std::make_unique<TestCourse>(onServer ? TestCourse::Backend::PostgreSql : TestCourse::Backend::Sqlite);
    m_course->exec("INSERT INTO urok (urok, htm, jpg) VALUES ('A', 'a.htm', NULL)");
    m_course->exec("INSERT INTO urok (urok, htm, jpg) VALUES ('B', '', 'b.jpg')");
    m_course->exec("INSERT INTO urok (urok, htm, jpg) VALUES ('C', 'c.htm', NULL)");
    m_course->exec("INSERT INTO urok (urok, htm, jpg) VALUES ('B', 'second-b.htm', NULL)");
    const char *journal[][4] = {{"Иванов", "ПИ-21", "0", "X"},
                                {"Петров", "ПИ-21", "75", "X"},
                                {"Иванов", "ЭК-3", "0", "Y"},
                                {"O'Brien", "ПИ-21", "0", "Y"},
                                {"Иванов", "ПИ-21", "0", "Z"}};
    for (const auto &row : journal) {
        m_course->exec("INSERT INTO jurnal (fio, gruppa, ocenka, urok, data) VALUES (?, ?, ?, ?, '2026-12-01')",
                       {QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString(row[2]).toInt(),
                        QString::fromUtf8(row[3])});
    }
    // The folder decides the back end, as it does for the program.
    CourseDatabase::openFolder(m_connection, m_course->path());
    m_lessons = std::make_unique<TableCursor>("Turok", "urok", CourseDatabase::lessonColumns());
    m_lessons->setConnectionName(m_connection);
    m_journal = std::make_unique<TableCursor>("Tjurnal", "jurnal", CourseDatabase::journalColumns());
    m_journal->setConnectionName(m_connection);
    m_journal->setDateColumns({"data"});
}

void TestTableCursor::cleanup()
{
    m_lessons.reset();
    m_journal.reset();
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
    m_course.reset();
}

void TestTableCursor::openLessons()
{
    m_lessons->open();
}

void TestTableCursor::openJournal()
{
    m_journal->open();
}

QStringList TestTableCursor::lessonTitles() const
{
    return m_course->rows("SELECT urok FROM urok ORDER BY rowid");
}

void TestTableCursor::nullAndEmptyAreDifferent()
{
    openLessons();
    QCOMPARE(m_lessons->currentIndex(), 0);
    QVERIFY(m_lessons->value("jpg").isNull());
    m_lessons->next();
    QVERIFY(!m_lessons->value("htm").isNull());
    QCOMPARE(m_lessons->value("htm").toString(), QString());

    // An empty table reads as Null.
    m_course->exec("DELETE FROM pas");
    TableCursor pas("Tpas", "pas", {"pas"});
    pas.setConnectionName(m_connection);
    pas.open();
    QVERIFY(pas.value("pas").isNull());
}

void TestTableCursor::locate_data()
{
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("current");

    QTest::newRow("match") << "C" << true << 2;
    QTest::newRow("first of two equal titles") << "B" << true << 1;
    QTest::newRow("no match leaves the current row") << "Nope" << false << 3;
    QTest::newRow("exact, not by letter case") << "c" << false << 3;
    QTest::newRow("exact, not partial") << "" << false << 3;
}

void TestTableCursor::locate()
{
    QFETCH(QString, wanted);
    QFETCH(bool, found);
    QFETCH(int, current);

    openLessons();
    m_lessons->last();
    QCOMPARE(m_lessons->locate("urok", wanted), found);
    QCOMPARE(m_lessons->currentIndex(), current);
}

void TestTableCursor::locateFinishesPendingEdit_data()
{
    QTest::addColumn<bool>("changeValue");
    QTest::addColumn<QString>("storedHtm");

    QTest::newRow("changed value is posted") << true << "edited.htm";
    QTest::newRow("unchanged edit is cancelled") << false << "a.htm";
}

void TestTableCursor::locateFinishesPendingEdit()
{
    QFETCH(bool, changeValue);
    QFETCH(QString, storedHtm);

    openLessons();
    m_lessons->edit();
    if (changeValue)
        m_lessons->setValue("htm", "edited.htm");
    QVERIFY(m_lessons->locate("urok", "C"));
    QCOMPARE(m_lessons->state(), TableCursor::State::Browse);
    QCOMPARE(m_course->scalar("SELECT htm FROM urok WHERE rowid = 1").toString(), storedHtm);
}

void TestTableCursor::insertPostsAtEndAndBecomesCurrent()
{
    openLessons();
    m_lessons->moveTo(1);
    m_lessons->insert();
    QCOMPARE(m_lessons->state(), TableCursor::State::Insert);
    QCOMPARE(m_lessons->recordCount(), 5);
    QVERIFY(m_lessons->value("urok").isNull());
    m_lessons->setValue("urok", "New");
    m_lessons->post();
    QCOMPARE(m_lessons->state(), TableCursor::State::Browse);
    QCOMPARE(m_lessons->value("urok").toString(), QString("New"));
    QCOMPARE(m_lessons->currentIndex(), 4);
    QCOMPARE(lessonTitles(), (QStringList{"A", "B", "C", "B", "New"}));
    // Columns never set stay Null in the file.
    QCOMPARE(m_course->scalar("SELECT count(*) FROM urok WHERE urok = 'New' AND htm IS NULL").toInt(), 1);
}

void TestTableCursor::deleteMovesCurrent_data()
{
    QTest::addColumn<int>("deleteAt");
    QTest::addColumn<QString>("currentAfter");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("first row: the next becomes current") << 0 << "B" << QStringList{"B", "C", "B"};
    QTest::newRow("middle row: the next becomes current") << 2 << "B" << QStringList{"A", "B", "B"};
    QTest::newRow("last row: the previous becomes current") << 3 << "C" << QStringList{"A", "B", "C"};
}

void TestTableCursor::deleteMovesCurrent()
{
    QFETCH(int, deleteAt);
    QFETCH(QString, currentAfter);
    QFETCH(QStringList, left);

    openLessons();
    m_lessons->moveTo(deleteAt);
    m_lessons->remove();
    QCOMPARE(m_lessons->value("urok").toString(), currentAfter);
    QCOMPARE(lessonTitles(), left);
    QCOMPARE(m_lessons->recordCount(), 3);
}

void TestTableCursor::deleteWhileInsertingCancels()
{
    openLessons();
    m_lessons->insert();
    m_lessons->setValue("urok", "Never");
    m_lessons->remove();
    QCOMPARE(m_lessons->state(), TableCursor::State::Browse);
    QCOMPARE(lessonTitles(), (QStringList{"A", "B", "C", "B"}));
}

void TestTableCursor::editRules()
{
    openLessons();
    m_lessons->edit();
    m_lessons->setValue("htm", "pending.htm");
    m_lessons->edit(); // already editing: the pending value stays
    QCOMPARE(m_lessons->value("htm").toString(), QString("pending.htm"));
    QCOMPARE(m_course->scalar("SELECT htm FROM urok WHERE rowid = 1").toString(), QString("a.htm"));
    m_lessons->cancel();
    QCOMPARE(m_lessons->value("htm").toString(), QString("a.htm"));

    QVERIFY_THROWS_EXCEPTION(AppError, m_lessons->setValue("htm", "x"));

    // Edit on an empty table behaves as Insert.
    m_course->exec("DELETE FROM pas");
    TableCursor pas("Tpas", "pas", {"pas"});
    pas.setConnectionName(m_connection);
    pas.open();
    pas.edit();
    QCOMPARE(pas.state(), TableCursor::State::Insert);
    pas.setValue("pas", "secret");
    pas.post();
    QCOMPARE(m_course->rows("SELECT pas FROM pas"), QStringList{"secret"});
}

void TestTableCursor::walkWithFirstNextEof()
{
    openLessons();
    QStringList seen;
    for (m_lessons->first(); !m_lessons->eof(); m_lessons->next())
        seen << m_lessons->value("urok").toString();
    QCOMPARE(seen, (QStringList{"A", "B", "C", "B"}));
    QCOMPARE(m_lessons->currentIndex(), 3);
}

void TestTableCursor::datesAreStoredWithoutTime()
{
    openJournal();
    m_journal->insert();
    m_journal->setValue("data", QDateTime(QDate(2026, 12, 10), QTime(14, 30)));
    m_journal->setValue("fio", "T");
    m_journal->post();
    QCOMPARE(m_course->scalar("SELECT data FROM jurnal WHERE fio = 'T'").toString(), QString("2026-12-10"));
    QCOMPARE(m_journal->value("data").toDate(), QDate(2026, 12, 10));
    QVERIFY(m_journal->value("код").toInt() > 5);
}

void TestTableCursor::refreshShowsRowsOfOtherCopies()
{
    openJournal();
    m_journal->moveTo(2);
    m_course->exec("INSERT INTO jurnal (fio, urok) VALUES ('Другой', 'W')");
    QCOMPARE(m_journal->recordCount(), 5);
    m_journal->refresh();
    QCOMPARE(m_journal->recordCount(), 6);
    QCOMPARE(m_journal->currentIndex(), 2);
    m_journal->last();
    QCOMPARE(m_journal->value("fio").toString(), QString("Другой"));
}

void TestTableCursor::engineErrorOnPostKeepsState()
{
    if (m_course->backend() == TestCourse::Backend::Sqlite) {
        m_course->exec("CREATE TRIGGER no_more BEFORE INSERT ON jurnal BEGIN SELECT RAISE(ABORT, 'journal is full'); END");
    } else {
        m_course->exec("CREATE FUNCTION no_more() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$BEGIN RAISE EXCEPTION 'journal is full'; END$$");
        m_course->exec("CREATE TRIGGER no_more BEFORE INSERT ON jurnal FOR EACH ROW EXECUTE FUNCTION no_more()");
    }
    openJournal();
    m_journal->insert();
    m_journal->setValue("fio", "X");
    try {
        m_journal->post();
        QFAIL("post must fail");
    } catch (const AppError &error) {
        QVERIFY2(error.message().contains("journal is full"), qPrintable(error.message()));
    }
    QCOMPARE(m_journal->state(), TableCursor::State::Insert);
    QCOMPARE(m_journal->value("fio").toString(), QString("X"));
    QCOMPARE(m_course->scalar("SELECT count(*) FROM jurnal").toInt(), 5);
}

void TestTableCursor::closedTableErrors()
{
    try {
        m_lessons->first();
        QFAIL("a closed table must refuse");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), QString("Turok: Cannot perform this operation on a closed dataset"));
    }
    try {
        m_lessons->value("htm");
        QFAIL("a closed table has no fields");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), QString("Turok: Field 'htm' not found"));
    }
}

void TestTableCursor::missingDatabaseIsNotCreated()
{
    if (m_course->backend() != TestCourse::Backend::Sqlite)
        QSKIP("only the SQLite back end has a file that opening could create");
    QTemporaryDir dir;
    const QString path = dir.filePath("db1.sqlite");
    QVERIFY_THROWS_EXCEPTION(AppError, CourseDatabase::openSqlite("missing-db", path));
    QSqlDatabase::removeDatabase("missing-db");
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestTableCursor)
