#include "ExportReadBack.h"
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
#include <QtTest>

#include <memory>

// "Экспорт…" of the editor's journal tab, through the window's own controls:
// what the file holds, and what the teacher is told when it cannot be written.
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

private:
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

KORVELTA_WIDGET_TEST_MAIN(TestJournalExportTab)
#include "tst_journalexporttab.moc"
