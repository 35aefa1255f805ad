#include "ExportReadBack.h"
#include "JournalFilterText.h"
#include "JournalSummary.h"
#include "TableCursor.h"
#include "TestCourse.h"

#include <QtTest>

#include <memory>

namespace {

// A journal of two groups: visits (0 points), tests, a learner who only
// visited, a name that is in both groups, tests out of date order.
struct FixtureRow
{
    const char *fio, *gruppa, *urok;
    int ocenka;
    const char *date;
};
const FixtureRow Rows[] = {
    {"Иванов", "ПИ-21", "Закон Ома", 0, "2026-03-01"},    {"Иванов", "ПИ-21", "Закон Ома", 80, "2026-03-01"},
    {"Петров", "ПИ-21", "Закон Ома", 0, "2026-03-01"},    {"Сидоров", "ПИ-21", "Закон Ома", 65, "2026-03-02"},
    {"Иванов", "ПИ-21", "Закон Ома", 95, "2026-03-03"},   {"Петров", "ПИ-21", "Мощность", 70, "2026-03-04"},
    {"Петров", "ПИ-21", "Мощность", 69, "2026-03-05"},    {"Смирнова", "ЭК-3", "Закон Ома", 0, "2026-03-02"},
    {"Смирнова", "ЭК-3", "Закон Ома", 0, "2026-03-02"},   {"Кузнецов", "ЭК-3", "Закон Ома", 100, "2026-03-06"},
    {"Иванов", "ЭК-3", "Мощность", 50, "2026-03-01"},     {"Иванов", "ПИ-21", "Мощность", 60, "2026-02-27"},
    {"Кузнецов", "ЭК-3", "Мощность", 75, "2026-03-06"},
};

// A line as "group|lesson|tests|mean|best|share of 4 and 5|visited without a test".
QString describe(const JournalSummary::Line &l)
{
    const bool tested = l.tests > 0;
    return QStringList{l.gruppa,
                       l.groupTotal ? "всего" : l.urok,
                       QString::number(l.tests),
                       tested ? QString::number(l.meanPercent, 'f', 1) : "",
                       tested ? QString::number(l.bestPercent) : "",
                       tested ? QString::number(l.goodSharePercent, 'f', 1) : "",
                       QString::number(l.visitedWithoutTest)}
        .join('|');
}

} // namespace

// The summaries of the journal rows in view, on a fixture journal, and the
// summaries written to each export format and read back.
class TestJournalSummary : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void groupsAndLessons_data();
    void groupsAndLessons();
    void learnersTestsInTimeOrder();
    void exportReadsBack_data();
    void exportReadsBack();

private:
    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<TableCursor> m_journal;
};

void TestJournalSummary::init()
{
    m_course = std::make_unique<TestCourse>();
    for (const FixtureRow &row : Rows) {
        m_course->addJournalRow(QString::fromUtf8(row.fio), QString::fromUtf8(row.gruppa), row.ocenka,
                                QString::fromUtf8(row.urok), QString::fromLatin1(row.date));
    }
    m_journal = m_course->openJournal();
}

void TestJournalSummary::cleanup()
{
    m_journal.reset();
    m_course.reset();
}

void TestJournalSummary::groupsAndLessons_data()
{
    QTest::addColumn<RowFilter>("filter");
    QTest::addColumn<QStringList>("lines");

    const QStringList pi21{"ПИ-21|Закон Ома|3|80.0|95|66.7|1", "ПИ-21|Мощность|3|66.3|70|33.3|0",
                           "ПИ-21|всего|6|73.2|95|50.0|0"};
    QTest::newRow("whole journal")
        << RowFilter() << pi21 + QStringList{"ЭК-3|Закон Ома|1|100.0|100|100.0|1", "ЭК-3|Мощность|2|62.5|75|50.0|0",
                                             "ЭК-3|всего|3|75.0|100|66.7|1"};
    QTest::newRow("one group in view") << JournalFilterText::fromBoxes("", "ПИ-21").conditions() << pi21;
    // He visited one lesson without a test, but took tests in the group.
    QTest::newRow("one learner in view")
        << JournalFilterText::fromBoxes("Петров", "").conditions()
        << QStringList{"ПИ-21|Закон Ома|0||||1", "ПИ-21|Мощность|2|69.5|70|50.0|0", "ПИ-21|всего|2|69.5|70|50.0|0"};
    QTest::newRow("only rows without points: visits, no tests")
        << RowFilter{{"ocenka", 0}}
        << QStringList{"ПИ-21|Закон Ома|0||||2", "ПИ-21|всего|0||||2", "ЭК-3|Закон Ома|0||||1", "ЭК-3|всего|0||||1"};
    QTest::newRow("nothing in view") << JournalFilterText::fromBoxes("Никто", "").conditions() << QStringList();
}

void TestJournalSummary::groupsAndLessons()
{
    QFETCH(RowFilter, filter);
    QFETCH(QStringList, lines);

    m_journal->setFilter(filter);
    m_journal->setFiltered(true);
    const JournalSummary summary = JournalSummary::of(*m_journal);
    QStringList seen;
    for (const JournalSummary::Line &line : summary.lines())
        seen << describe(line);
    QCOMPARE(seen, lines);
}

void TestJournalSummary::learnersTestsInTimeOrder()
{
    const JournalSummary summary = JournalSummary::of(*m_journal);
    QStringList seen;
    for (const JournalSummary::Learner &learner : summary.learners()) {
        QStringList tests;
        for (const JournalSummary::Test &t : learner.tests)
            tests << QString("%1 %2 %3 (%4)").arg(t.date.toString("dd.MM"), t.urok).arg(t.percent).arg(t.mark);
        seen << learner.gruppa + "/" + learner.fio + ": " + tests.join("; ");
    }
    QCOMPARE(seen, (QStringList{
                       "ПИ-21/Иванов: 27.02 Мощность 60 (3); 01.03 Закон Ома 80 (4); 03.03 Закон Ома 95 (5)",
                       "ПИ-21/Петров: 04.03 Мощность 70 (4); 05.03 Мощность 69 (3)",
                       "ПИ-21/Сидоров: 02.03 Закон Ома 65 (3)",
                       "ЭК-3/Иванов: 01.03 Мощность 50 (2)",
                       // One day's tests stay in journal order.
                       "ЭК-3/Кузнецов: 06.03 Закон Ома 100 (5); 06.03 Мощность 75 (4)",
                       "ЭК-3/Смирнова: ",
                   }));
}

void TestJournalSummary::exportReadsBack_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("csv") << "summary.csv";
    QTest::newRow("xlsx") << "summary.xlsx";
    QTest::newRow("pdf") << "summary.pdf";
}

void TestJournalSummary::exportReadsBack()
{
    QFETCH(QString, file);
    m_journal->setFilter(JournalFilterText::fromBoxes("", "ЭК-3").conditions());
    m_journal->setFiltered(true);
    const QString path = m_course->filePath(file);
    JournalSummary::of(*m_journal).write(path);

    const QStringList lessonTitles{"Учебная группа", "Тема занятия", "Тестов", "Средний балл, %",
                                   "Лучший балл, %", "Оценки 4 и 5, %", "Посетили без теста"};
    const QStringList learnerTitles{"ФИО  учащихся", "Учебная группа", "Дата занятия", "Тема занятия", "Баллы", "Оценка"};
    const QString note = JournalSummary::zeroScoreNote();
    if (file.endsWith("csv")) {
        const QList<QStringList> records = ExportReadBack::parseCsv(QString::fromUtf8(m_course->readFile(file).mid(3)));
        const QList<QStringList> expected{
            lessonTitles,
            {"ЭК-3", "Закон Ома", "1", "100,0", "100", "100,0", "1"},
            {"ЭК-3", "Мощность", "2", "62,5", "75", "50,0", "0"},
            {"ЭК-3", "Итого по группе", "3", "75,0", "100", "66,7", "1"},
            {},
            {note},
            {},
            learnerTitles,
            {"Иванов", "ЭК-3", "01.03.2026", "Мощность", "50", "2"},
            {"Кузнецов", "ЭК-3", "06.03.2026", "Закон Ома", "100", "5"},
            {"Кузнецов", "ЭК-3", "06.03.2026", "Мощность", "75", "4"},
            {"Смирнова", "ЭК-3", "", "", "", ""},
            {},
            {note},
        };
        QCOMPARE(records, expected);
    } else if (file.endsWith("xlsx")) {
        const QList<ExportReadBack::Sheet> sheets = ExportReadBack::readXlsx(path);
        QCOMPARE(sheets.size(), 2);
        QCOMPARE(sheets[0].name, QStringLiteral("По группам и темам"));
        QCOMPARE(sheets[0].rows.value(0), QVariantList(lessonTitles.cbegin(), lessonTitles.cend()));
        QCOMPARE(sheets[0].rows.value(2), (QVariantList{"ЭК-3", "Мощность", 2.0, 62.5, 75.0, 50.0, 0.0}));
        QCOMPARE(sheets[0].rows.value(5), QVariantList{note});
        QCOMPARE(sheets[1].name, QStringLiteral("По учащимся"));
        QCOMPARE(sheets[1].rows.value(1), (QVariantList{"Иванов", "ЭК-3", QDate(2026, 3, 1), "Мощность", 50.0, 2.0}));
        QCOMPARE(sheets[1].rows.value(4), (QVariantList{"Смирнова", "ЭК-3"}));
    } else {
        const QString text = ExportReadBack::pdfText(path).simplified();
        for (const QString &expected : {QString("Итоги по журналу"), QString("Итого по группе"), QString("62,5"),
                                        QString("Кузнецов"), QString("06.03.2026"), note})
            QVERIFY2(text.contains(expected), qPrintable(expected));
        QVERIFY(!text.contains("ПИ-21"));
    }
}

QTEST_MAIN(TestJournalSummary)
#include "tst_journalsummary.moc"
