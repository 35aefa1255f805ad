#include "ExportReadBack.h"
#include "JournalSummary.h"
#include "Messages.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "Unit2.h"
#include "Unit4.h"
#include "ui_Unit4.h"
#include "WidgetTestMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QTableWidget>
#include <QTreeWidget>
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
    std::unique_ptr<TDataModule2> m_module;
    std::unique_ptr<TForm4> m_form;
};

void TestJournalExportTab::init()
{
    m_course = std::make_unique<TestCourse>();
    m_course->addJournalRow("Иванов", "ПИ-21", 0, "Закон Ома", "2026-03-01");
    m_course->addJournalRow("Иванов", "ПИ-21", 80, "Закон Ома", "2026-03-02");
    m_course->addJournalRow("Петров", "ЭК-3", 65, "Мощность", "2026-03-03");
    m_messages = std::make_unique<Messages::Recorder>();
    m_module = std::make_unique<TDataModule2>();
    DataModule2 = m_module.get();
    m_form = std::make_unique<TForm4>();
    Form4 = m_form.get();
    m_form->attachDataModule(*m_module);
    m_form->ui->CheckBox1->click();
    m_form->ui->Edit1->setText("Иванов");
}

void TestJournalExportTab::cleanup()
{
    m_form.reset();
    m_module.reset();
    Form4 = nullptr;
    DataModule2 = nullptr;
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
    m_form->ui->JournalExportButton->click();

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
    m_form->ui->JournalExportButton->click();
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(m_messages->fileFilters.size(), 1);
    const QStringList files = QDir(m_course->path()).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(files.filter(QRegularExpression("^(?!db1\\.)")).isEmpty(), qPrintable(files.join(", ")));
}

void TestJournalExportTab::unwritableFolderIsReported()
{
    const QString path = m_course->filePath("missing/out.xlsx");
    m_messages->fileAnswers << path;
    m_form->ui->JournalExportButton->click();
    QCOMPARE(m_messages->errors.size(), 1);
    QVERIFY2(m_messages->errors.first().startsWith(QString("Файл %1 не записан: ").arg(path)),
             qPrintable(m_messages->errors.first()));
    QVERIFY(!QFileInfo::exists(m_course->filePath("missing")));
}

QStringList TestJournalExportTab::summaryLines() const
{
    const QTableWidget *table = m_form->ui->SummaryLines;
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
    m_form->ui->PageControl1->setCurrentWidget(m_form->ui->SummaryTab);
    const QLocale locale = QLocale::system();
    const QString eighty = locale.toString(80.0, 'f', 1), hundred = locale.toString(100.0, 'f', 1);
    QCOMPARE(summaryLines(), (QStringList{"ПИ-21|Закон Ома|1|" + eighty + "|80|" + hundred + "|0",
                                          "ПИ-21|Итого по группе|1|" + eighty + "|80|" + hundred + "|0"}));
    QCOMPARE(m_form->ui->SummaryNote->text(), JournalSummary::zeroScoreNote());
    QCOMPARE(m_form->ui->SummaryLearners->topLevelItemCount(), 1);
    QCOMPARE(m_form->ui->SummaryLearners->topLevelItem(0)->childCount(), 1);

    // Another filter while the tab is shown: summed up again once the events run.
    m_form->ui->Edit1->setText("Петров");
    QTRY_COMPARE(summaryLines(), (QStringList{"ЭК-3|Мощность|1|" + locale.toString(65.0, 'f', 1) + "|65|"
                                                  + locale.toString(0.0, 'f', 1) + "|0",
                                              "ЭК-3|Итого по группе|1|" + locale.toString(65.0, 'f', 1) + "|65|"
                                                  + locale.toString(0.0, 'f', 1) + "|0"}));

    // A change while another tab is shown shows when the tab does.
    m_form->ui->PageControl1->setCurrentWidget(m_form->ui->TabSheet2);
    m_form->ui->CheckBox1->click();
    QCoreApplication::processEvents();
    m_form->ui->PageControl1->setCurrentWidget(m_form->ui->SummaryTab);
    QCOMPARE(summaryLines().size(), 4);
    QCOMPARE(m_form->ui->SummaryLearners->topLevelItemCount(), 2);
}

void TestJournalExportTab::summariesExport()
{
    m_form->ui->PageControl1->setCurrentWidget(m_form->ui->SummaryTab);
    m_messages->fileAnswers << m_course->filePath("summary.csv");
    m_form->ui->SummaryExportButton->click();
    QCOMPARE(m_messages->errors, QStringList());
    const QList<QStringList> records =
        ExportReadBack::parseCsv(QString::fromUtf8(m_course->readFile("summary.csv").mid(3)));
    QCOMPARE(records.value(1), (QStringList{"ПИ-21", "Закон Ома", "1", "80,0", "80", "100,0", "0"}));
    QCOMPARE(records.value(7), (QStringList{"Иванов", "ПИ-21", "02.03.2026", "Закон Ома", "80", "4"}));
}

KORVELTA_WIDGET_TEST_MAIN(TestJournalExportTab)
#include "tst_journalexporttab.moc"
