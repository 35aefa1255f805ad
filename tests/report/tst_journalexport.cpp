#include "AppError.h"
#include "ExportReadBack.h"
#include "JournalExport.h"
#include "JournalFilterText.h"
#include "SheetFiles.h"
#include "TableCursor.h"
#include "TestCourse.h"

#include <QDir>
#include <QtTest>

#include <memory>

namespace {

const QString LongLesson = QStringLiteral("Очень длинная тема занятия, ") + QString(100, QChar(0x0436));

// Journal rows with the texts that trouble files: quotes, ';', line breaks,
// Cyrillic; the one in ЭК-3 is not in view.
struct FixtureRow
{
    const char *fio, *gruppa, *urok;
    int ocenka;
    const char *date;
};
const FixtureRow Rows[] = {
    {"Иванов \"Ваня\" Иван", "ПИ-21", "Закон Ома; часть 1", 85, "2026-03-02"},
    {"Петров; Пётр", "ПИ-21", "Цепи", 0, "2026-03-03"},
    {"Сидоров\r\nСидор", "ПИ-21", "Мощность \"P\"", 100, "2026-03-04"},
    {"Смирнова", "ЭК-3", "Цепи", 55, "2026-03-05"},
    {"O'Brien\nLine", "ПИ-21", "Ёмкость", 40, "2026-02-28"},
    {"Ёлкина", "ПИ-21", nullptr, 70, "2026-03-06"},
};

// The folder's entries besides the database and its journal files.
QStringList filesIn(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    names.removeIf([](const QString &name) { return name.startsWith("db1.sqlite"); });
    return names;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The journal rows in view written to CSV, Excel and PDF and read back as
// other programs read them; and what a failed export leaves behind.
class TestJournalExport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void csvReadsBackTheRowsInView();
    void xlsxReadsBackTheRowsInView();
    void pdfIsTheReportOfTheRowsInView();
    void csvField_data();
    void csvField();
    void unwritableTarget_data();
    void unwritableTarget();
    void failedExportKeepsTheEarlierFile_data();
    void failedExportKeepsTheEarlierFile();
    void unknownExtensionWritesNothing();

private:
    // The rows the database holds for the group in view, in journal order.
    QList<QStringList> storedRowsInView() const;

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<TableCursor> m_journal;
};

void TestJournalExport::init()
{
    m_course = std::make_unique<TestCourse>();
    for (const FixtureRow &row : Rows) {
        m_course->addJournalRow(QString::fromUtf8(row.fio), QString::fromUtf8(row.gruppa), row.ocenka,
                                row.urok ? QString::fromUtf8(row.urok) : LongLesson, QString::fromLatin1(row.date));
    }
    m_journal = m_course->openJournal();
    m_journal->setFiltered(true);
    JournalFilterText::fromBoxes(QString(), QStringLiteral("ПИ-21")).applyTo(*m_journal);
}

void TestJournalExport::cleanup()
{
    m_journal.reset();
    m_course.reset();
}

QList<QStringList> TestJournalExport::storedRowsInView() const
{
    QList<QStringList> rows;
    for (const QString &row :
         m_course->rows("SELECT fio, gruppa, urok, ocenka, data FROM jurnal WHERE gruppa = 'ПИ-21' ORDER BY код"))
        rows << row.split('|');
    return rows;
}

void TestJournalExport::csvReadsBackTheRowsInView()
{
    // A pending edit is posted first: the file holds what the database holds.
    m_journal->moveTo(1);
    m_journal->edit();
    m_journal->setValue("fio", "Петров; Пётр \"Петя\"");
    const QString path = m_course->filePath("journal.csv");
    m_course->writeFile("journal.csv", "an earlier export");

    QCOMPARE(JournalExport::write(*m_journal, path), 5);
    QVERIFY(!m_journal->isEditing());

    const QByteArray bytes = fileBytes(path);
    QVERIFY2(bytes.startsWith("\xEF\xBB\xBF"), "no UTF-8 byte-order mark");
    QVERIFY2(bytes.endsWith("\r\n"), "records end in CRLF");
    const QList<QStringList> records = ExportReadBack::parseCsv(QString::fromUtf8(bytes.mid(3)));
    QList<QStringList> expected{{"ФИО  учащихся", "Учебная группа", "Тема занятия", "Баллы", "Дата занятия"}};
    for (QStringList row : storedRowsInView()) {
        row[4] = QDate::fromString(row[4], Qt::ISODate).toString("dd.MM.yyyy");
        expected << row;
    }
    QCOMPARE(expected.at(2).at(0), QStringLiteral("Петров; Пётр \"Петя\""));
    QCOMPARE(expected.at(3).at(0), QStringLiteral("Сидоров\r\nСидор"));
    QCOMPARE(records, expected);
    QCOMPARE(filesIn(m_course->path()), QStringList{"journal.csv"});
}

void TestJournalExport::xlsxReadsBackTheRowsInView()
{
    const QString path = m_course->filePath("journal.xlsx");
    QCOMPARE(JournalExport::write(*m_journal, path), 5);

    const QList<ExportReadBack::Sheet> sheets = ExportReadBack::readXlsx(path);
    QCOMPARE(sheets.size(), 1);
    const ExportReadBack::Sheet &sheet = sheets.first();
    QCOMPARE(sheet.name, QStringLiteral("Журнал"));
    QVERIFY(sheet.headerBold);
    QList<QVariantList> expected{{"ФИО  учащихся", "Учебная группа", "Тема занятия", "Баллы", "Дата занятия"}};
    for (const QStringList &row : storedRowsInView()) {
        // Marks are numbers and dates are dates, not texts.
        expected << QVariantList{row[0], row[1], row[2], row[3].toDouble(), QDate::fromString(row[4], Qt::ISODate)};
    }
    QCOMPARE(sheet.rows, expected);

    // Each column fits its longest text, within reason.
    QCOMPARE(sheet.columnWidths.size(), 5);
    QVERIFY(sheet.columnWidths[0] >= QStringLiteral("Иванов \"Ваня\" Иван").size());
    QVERIFY(sheet.columnWidths[1] >= QStringLiteral("Учебная группа").size());
    // The long lesson title is held to 60 characters (and a little padding).
    QVERIFY(sheet.columnWidths[2] >= 40 && sheet.columnWidths[2] < 61);
    QVERIFY(sheet.columnWidths[3] >= QStringLiteral("Баллы").size() && sheet.columnWidths[3] < 20);
    QVERIFY(sheet.columnWidths[4] >= 10);
    QCOMPARE(filesIn(m_course->path()), QStringList{"journal.xlsx"});
}

void TestJournalExport::pdfIsTheReportOfTheRowsInView()
{
    const QString path = m_course->filePath("journal.pdf");
    QCOMPARE(JournalExport::write(*m_journal, path), 5);

    const QString text = ExportReadBack::pdfText(path);
    QVERIFY(text.contains("Результаты учебной деятельности учащихся"));
    QVERIFY(text.contains("Роспись преподавателя"));
    // The names in journal order, each at least on its first line.
    qsizetype at = 0;
    for (const QString name : {"Иванов \"Ваня\" Иван", "Петров; Пётр", "Сидоров", "O'Brien", "Ёлкина"}) {
        const qsizetype found = text.indexOf(name, at);
        QVERIFY2(found >= 0, qPrintable(name + " is missing or out of order"));
        at = found + 1;
    }
    for (const char *mark : {"85", "100", "40", "70"})
        QVERIFY2(text.contains(mark), qPrintable(mark));
    QVERIFY(text.contains("Закон Ома; часть 1"));
    QVERIFY(text.contains("Мощность \"P\""));
    QVERIFY(!text.contains("Смирнова"));
    // The report leaves the journal on its last row in view.
    QCOMPARE(m_journal->currentIndex(), 4);
    QCOMPARE(filesIn(m_course->path()), QStringList{"journal.pdf"});
}

void TestJournalExport::csvField_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("field");

    QTest::newRow("plain Cyrillic text") << QVariant("Иванов Иван") << QByteArray("Иванов Иван");
    QTest::newRow("separator is quoted") << QVariant("a;b") << QByteArray("\"a;b\"");
    QTest::newRow("quotes are doubled") << QVariant("say \"hi\"") << QByteArray("\"say \"\"hi\"\"\"");
    QTest::newRow("line feed is quoted") << QVariant("a\nb") << QByteArray("\"a\nb\"");
    QTest::newRow("CRLF is quoted") << QVariant("a\r\nb") << QByteArray("\"a\r\nb\"");
    QTest::newRow("an apostrophe needs nothing") << QVariant("O'Brien") << QByteArray("O'Brien");
    QTest::newRow("a formula is made text") << QVariant("=HYPERLINK(\"x\")") << QByteArray("\"'=HYPERLINK(\"\"x\"\")\"");
    QTest::newRow("a leading plus is made text") << QVariant("+7 999") << QByteArray("'+7 999");
    QTest::newRow("a leading minus is made text") << QVariant("-1") << QByteArray("'-1");
    QTest::newRow("a leading at sign is made text") << QVariant("@SUM(A1)") << QByteArray("'@SUM(A1)");
    QTest::newRow("a minus inside is left alone") << QVariant("ПИ-21") << QByteArray("ПИ-21");
    QTest::newRow("whole number") << QVariant(85) << QByteArray("85");
    QTest::newRow("64-bit whole number") << QVariant(qlonglong(100)) << QByteArray("100");
    QTest::newRow("decimal with a comma") << QVariant(66.666) << QByteArray("66,7");
    QTest::newRow("date as DD.MM.YYYY") << QVariant(QDate(2026, 3, 2)) << QByteArray("02.03.2026");
    QTest::newRow("null is empty") << QVariant() << QByteArray();
}

void TestJournalExport::csvField()
{
    QFETCH(QVariant, value);
    QFETCH(QByteArray, field);
    QCOMPARE(SheetFiles::csvField(value), field);
}

void TestJournalExport::unwritableTarget_data()
{
    QTest::addColumn<QString>("relative");
    for (const char *extension : {"csv", "xlsx", "pdf"}) {
        QTest::addRow("%s into a missing folder", extension) << QString("missing/journal.%1").arg(extension);
        QTest::addRow("%s into a file taken for a folder", extension) << QString("notes.txt/journal.%1").arg(extension);
        QTest::addRow("%s onto a folder", extension) << QString("folder.%1").arg(extension);
    }
}

void TestJournalExport::unwritableTarget()
{
    QFETCH(QString, relative);
    m_course->writeFile("notes.txt", "notes");
    if (relative.startsWith("folder."))
        QDir(m_course->path()).mkdir(relative);
    const QStringList before = filesIn(m_course->path());

    const QString path = m_course->filePath(relative);
    try {
        JournalExport::write(*m_journal, path);
        QFAIL("the export reported success");
    } catch (const AppError &error) {
        QVERIFY2(error.message().startsWith(QString("Файл %1 не записан: ").arg(path)), qPrintable(error.message()));
    }
    QCOMPARE(filesIn(m_course->path()), before);
}

void TestJournalExport::failedExportKeepsTheEarlierFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("csv") << "out.csv";
    QTest::newRow("xlsx") << "out.xlsx";
    QTest::newRow("pdf") << "out.pdf";
}

void TestJournalExport::failedExportKeepsTheEarlierFile()
{
    QFETCH(QString, name);
    m_course->writeFile(name, "an earlier export");
    const QStringList before = filesIn(m_course->path());

    // Reading the rows fails half-way, as a lost server connection would.
    ExportSheet sheet;
    sheet.name = "Лист";
    sheet.titles = QStringList{"A", "B"};
    sheet.rowCount = 100000;
    sheet.cell = [](int row, int column) -> QVariant {
        if (row == 50000)
            throw AppError("Tjurnal: the connection was lost");
        return column == 0 ? QVariant(QString("строка %1").arg(row)) : QVariant(row);
    };
    const QString path = m_course->filePath(name);
    QVERIFY_THROWS_EXCEPTION(AppError, [&] {
        if (name.endsWith("csv"))
            SheetFiles::writeCsv(path, {sheet});
        else if (name.endsWith("xlsx"))
            SheetFiles::writeXlsx(path, {sheet});
        else
            SheetFiles::writePdf(path, "Итоги", {sheet});
    }());
    QCOMPARE(m_course->readFile(name), QByteArray("an earlier export"));
    QCOMPARE(filesIn(m_course->path()), before);
}

void TestJournalExport::unknownExtensionWritesNothing()
{
    const QStringList before = filesIn(m_course->path());
    QVERIFY_THROWS_EXCEPTION(AppError, JournalExport::write(*m_journal, m_course->filePath("journal.txt")));
    QCOMPARE(filesIn(m_course->path()), before);
}

QTEST_MAIN(TestJournalExport)
#include "tst_journalexport.moc"
