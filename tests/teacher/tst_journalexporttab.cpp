#include "Components.h"
#include "ExportReadBack.h"
#include "JournalSummary.h"
#include "Messages.h"
#include "TableCursor.h"
#include "ProgramWindows.h"
#include "TestCourse.h"
#include "Unit2.h"
#include "Unit4.h"
#include "WidgetTestMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QWidget>
#include <QtTest>

#include <memory>

// "Экспорт…" of the editor's journal tab and its "Итоги" tab, through the
// window's own controls: what the file holds, what the teacher is told when it
// cannot be written, and how the summaries follow the journal's filter.
class TestJournalExportTab : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void exportWritesTheRowsInView_data();
    void exportWritesTheRowsInView();
    void cancelledDialogWritesNothing();
    void unwritableFolderIsReported();
    void summariesFollowTheRowsInView();
    void summariesExport();

private:
    // The summary table's rows, cells joined by '|'.
    QStringList summaryLines() const;

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
};

void TestJournalExportTab::init()
{
    m_course = std::make_unique<TestCourse>();
    m_course->addJournalRow("Иванов", "ПИ-21", 0, "Закон Ома", "2026-03-01");
    m_course->addJournalRow("Иванов", "ПИ-21", 80, "Закон Ома", "2026-03-02");
    m_course->addJournalRow("Петров", "ЭК-3", 65, "Мощность", "2026-03-03");
    // The editor among the program's windows; the main window's tree is empty.
    m_course->writeFile("log.log", "");
    m_messages = std::make_unique<Messages::Recorder>();
    m_windows = std::make_unique<ProgramWindows>();
    component<QCheckBox>(Form4, "CheckBox1")->click();
    component<QLineEdit>(Form4, "Edit1")->setText("Иванов");
}

void TestJournalExportTab::cleanup()
{
    m_windows.reset();
    m_messages.reset();
    m_course.reset();
}

void TestJournalExportTab::exportWritesTheRowsInView_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("csv") << "out.csv";
    QTest::newRow("xlsx") << "out.xlsx";
    QTest::newRow("pdf") << "out.pdf";
}

void TestJournalExportTab::exportWritesTheRowsInView()
{
    QFETCH(QString, file);
    const QString path = m_course->filePath(file);
    m_messages->fileAnswers << path;
    component<QPushButton>(Form4, "JournalExportButton")->click();

    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(m_messages->fileFilters, QStringList{"Таблица CSV|*.csv|Книга Excel|*.xlsx|Документ PDF|*.pdf"});
    QStringList lessons;
    if (file.endsWith("csv")) {
        for (const QStringList &record : ExportReadBack::parseCsv(QString::fromUtf8(m_course->readFile(file).mid(3))).mid(1))
            lessons << record.value(0) + " " + record.value(3);
        QCOMPARE(lessons, (QStringList{"Иванов 0", "Иванов 80"}));
    } else if (file.endsWith("xlsx")) {
        for (const QVariantList &row : ExportReadBack::readXlsx(path).value(0).rows.mid(1))
            lessons << row.value(0).toString() + " " + row.value(3).toString();
        QCOMPARE(lessons, (QStringList{"Иванов 0", "Иванов 80"}));
    } else {
        const QString text = ExportReadBack::pdfText(path);
        QVERIFY(text.contains("Иванов"));
        QVERIFY(!text.contains("Петров"));
    }
}

void TestJournalExportTab::cancelledDialogWritesNothing()
{
    m_messages->fileAnswers << QString();
    component<QPushButton>(Form4, "JournalExportButton")->click();
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(m_messages->fileFilters.size(), 1);
    // Only the course's own files: its database and its topic tree.
    const QStringList files = QDir(m_course->path()).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(files.filter(QRegularExpression("^(?!db1\\.|log\\.log$)")).isEmpty(), qPrintable(files.join(", ")));
}

void TestJournalExportTab::unwritableFolderIsReported()
{
    const QString path = m_course->filePath("missing/out.xlsx");
    m_messages->fileAnswers << path;
    component<QPushButton>(Form4, "JournalExportButton")->click();
    QCOMPARE(m_messages->errors.size(), 1);
    QVERIFY2(m_messages->errors.first().startsWith(QString("Файл %1 не записан: ").arg(path)),
             qPrintable(m_messages->errors.first()));
    QVERIFY(!QFileInfo::exists(m_course->filePath("missing")));
}

QStringList TestJournalExportTab::summaryLines() const
{
    const QTableWidget *table = component<QTableWidget>(Form4, "SummaryLines");
    QStringList lines;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        lines << cells.join('|');
    }
    return lines;
}

void TestJournalExportTab::summariesFollowTheRowsInView()
{
    component<QTabWidget>(Form4, "PageControl1")->setCurrentWidget(component<QWidget>(Form4, "SummaryTab"));
    const QLocale locale = QLocale::system();
    const QString eighty = locale.toString(80.0, 'f', 1), hundred = locale.toString(100.0, 'f', 1);
    QCOMPARE(summaryLines(), (QStringList{"ПИ-21|Закон Ома|1|" + eighty + "|80|" + hundred + "|0",
                                          "ПИ-21|Итого по группе|1|" + eighty + "|80|" + hundred + "|0"}));
    QCOMPARE(component<QLabel>(Form4, "SummaryNote")->text(), JournalSummary::zeroScoreNote());
    QCOMPARE(component<QTreeWidget>(Form4, "SummaryLearners")->topLevelItemCount(), 1);
    QCOMPARE(component<QTreeWidget>(Form4, "SummaryLearners")->topLevelItem(0)->childCount(), 1);

    // Another filter while the tab is shown: summed up again once the events run.
    component<QLineEdit>(Form4, "Edit1")->setText("Петров");
    QTRY_COMPARE(summaryLines(), (QStringList{"ЭК-3|Мощность|1|" + locale.toString(65.0, 'f', 1) + "|65|"
                                                  + locale.toString(0.0, 'f', 1) + "|0",
                                              "ЭК-3|Итого по группе|1|" + locale.toString(65.0, 'f', 1) + "|65|"
                                                  + locale.toString(0.0, 'f', 1) + "|0"}));

    // A change while another tab is shown shows when the tab does.
    component<QTabWidget>(Form4, "PageControl1")->setCurrentWidget(component<QWidget>(Form4, "TabSheet2"));
    component<QCheckBox>(Form4, "CheckBox1")->click();
    QCoreApplication::processEvents();
    component<QTabWidget>(Form4, "PageControl1")->setCurrentWidget(component<QWidget>(Form4, "SummaryTab"));
    QCOMPARE(summaryLines().size(), 4);
    QCOMPARE(component<QTreeWidget>(Form4, "SummaryLearners")->topLevelItemCount(), 2);
}

void TestJournalExportTab::summariesExport()
{
    component<QTabWidget>(Form4, "PageControl1")->setCurrentWidget(component<QWidget>(Form4, "SummaryTab"));
    m_messages->fileAnswers << m_course->filePath("summary.csv");
    component<QPushButton>(Form4, "SummaryExportButton")->click();
    QCOMPARE(m_messages->errors, QStringList());
    const QList<QStringList> records =
        ExportReadBack::parseCsv(QString::fromUtf8(m_course->readFile("summary.csv").mid(3)));
    QCOMPARE(records.value(1), (QStringList{"ПИ-21", "Закон Ома", "1", "80,0", "80", "100,0", "0"}));
    QCOMPARE(records.value(7), (QStringList{"Иванов", "ПИ-21", "02.03.2026", "Закон Ома", "80", "4"}));
}

KORVELTA_WIDGET_TEST_MAIN(TestJournalExportTab)
#include "tst_journalexporttab.moc"
