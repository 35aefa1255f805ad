#include "DBGrid.h"
#include "Messages.h"
#include "Platform.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "Unit2.h"
#include "Unit4.h"
#include "ui_Unit4.h"
#include "WidgetTestMain.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

#include <memory>

// The journal tab's boxes, switch and deletions, through the window's own
// controls, on a real course file.
class TestJournalTab : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gridShowsTheJournalColumns();
    void filter_data();
    void filter();
    void deleteVisitsOfOneLearnerThenTheWholeJournalIsInView();
    void deleteAllWithAndWithoutTheFilter_data();
    void deleteAllWithAndWithoutTheFilter();
    void gridKeysInsertAndDelete();

private:
    QStringList namesInView() const;
    QStringList stored() const { return m_course->rows("SELECT fio, ocenka FROM jurnal ORDER BY код"); }

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
    std::unique_ptr<TForm4> m_form;
    std::unique_ptr<TDataModule2> m_module;
};

void TestJournalTab::init()
{
    m_course = std::make_unique<TestCourse>();
    const QList<QVariantList> rows = {
        {"Иванов", "ПИ-21", 0}, {"Иванов", "ПИ-21", 80}, {"Петров", "ПИ-21", 0},
        {"O'Brien", "ЭК-3", 0}, {"Иванов", "ЭК-3", 0},   {"Петров", "ЭК-3", 0},
    };
    for (const QVariantList &row : rows)
        m_course->exec("INSERT INTO jurnal (urok, data, fio, gruppa, ocenka) VALUES ('Урок', '2026-12-01', ?, ?, ?)", row);
    m_messages = std::make_unique<Messages::Recorder>();
    m_module = std::make_unique<TDataModule2>();
    DataModule2 = m_module.get();
    m_form = std::make_unique<TForm4>();
    Form4 = m_form.get();
    m_form->attachDataModule(*m_module);
}

void TestJournalTab::cleanup()
{
    m_form.reset();
    m_module.reset();
    Form4 = nullptr;
    DataModule2 = nullptr;
    m_messages.reset();
    m_course.reset();
}

QStringList TestJournalTab::namesInView() const
{
    QStringList names;
    const QAbstractItemModel *model = m_form->ui->DBGrid4->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString() + "/" + model->index(row, 1).data().toString();
    return names;
}

void TestJournalTab::gridShowsTheJournalColumns()
{
    const QAbstractItemModel *model = m_form->ui->DBGrid4->model();
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"ФИО  учащихся", "Учебная группа", "Тема занятия", "Баллы", "Дата занятия"}));
    QCOMPARE(m_form->ui->DBGrid4->columnWidth(0), 218);
    QVERIFY(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    QVERIFY(!(model->flags(model->index(0, 2)) & Qt::ItemIsEditable));
    QCOMPARE(model->rowCount(), 6);
}

void TestJournalTab::filter_data()
{
    QTest::addColumn<bool>("switchOn");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("inView");

    QTest::newRow("switch off: typing changes nothing in view")
        << false << "Иванов" << "" << QStringList{"Иванов/ПИ-21", "Иванов/ПИ-21", "Петров/ПИ-21", "O'Brien/ЭК-3", "Иванов/ЭК-3", "Петров/ЭК-3"};
    QTest::newRow("name alone") << true << "Иванов" << "" << QStringList{"Иванов/ПИ-21", "Иванов/ПИ-21", "Иванов/ЭК-3"};
    QTest::newRow("group alone") << true << "" << "ЭК-3" << QStringList{"O'Brien/ЭК-3", "Иванов/ЭК-3", "Петров/ЭК-3"};
    QTest::newRow("name and group") << true << "Петров" << "ЭК-3" << QStringList{"Петров/ЭК-3"};
    QTest::newRow("a name with an apostrophe") << true << "O'Brien" << "" << QStringList{"O'Brien/ЭК-3"};
}

void TestJournalTab::filter()
{
    QFETCH(bool, switchOn);
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(QStringList, inView);

    if (switchOn)
        m_form->ui->CheckBox1->click();
    m_form->ui->Edit1->setText(name);
    m_form->ui->Edit2->setText(group);
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(namesInView(), inView);
    QCOMPARE(m_module->Tjurnal->currentIndex(), 0);
}

void TestJournalTab::deleteVisitsOfOneLearnerThenTheWholeJournalIsInView()
{
    m_form->ui->CheckBox1->click();
    m_form->ui->Edit1->setText("Иванов");
    m_form->ui->Button20->click();
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(stored(), (QStringList{"Иванов|80", "Петров|0", "O'Brien|0", "Петров|0"}));
    // The whole journal is in view again although the switch still shows checked.
    QVERIFY(m_form->ui->CheckBox1->isChecked());
    QCOMPARE(namesInView().size(), 4);
    // "Удалить все записи" now empties the whole journal.
    m_form->ui->Button21->click();
    QCOMPARE(stored(), QStringList());
}

void TestJournalTab::deleteAllWithAndWithoutTheFilter_data()
{
    QTest::addColumn<bool>("switchOn");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("switch on: only the rows shown") << true
                                                    << QStringList{"Иванов|0", "Иванов|80", "O'Brien|0", "Иванов|0"};
    QTest::newRow("switch off: the whole journal") << false << QStringList();
}

void TestJournalTab::deleteAllWithAndWithoutTheFilter()
{
    QFETCH(bool, switchOn);
    QFETCH(QStringList, left);

    m_form->ui->Edit1->setText("Петров");
    if (switchOn)
        m_form->ui->CheckBox1->click();
    m_form->ui->Button21->click();
    QCOMPARE(stored(), left);
}

void TestJournalTab::gridKeysInsertAndDelete()
{
    DBGrid *grid = m_form->ui->DBGrid4;
    TableCursor *journal = m_module->Tjurnal;
    grid->setFocus();
    journal->last();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(journal->state(), TableCursor::State::Insert);
    // Nothing typed: leaving the new row drops it.
    journal->first();
    QCOMPARE(journal->recordCount(), 6);
    QCOMPARE(m_course->scalar("SELECT count(*) FROM jurnal").toInt(), 6);

    m_messages->answer = false;
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_messages->questions, QStringList{"Delete record?"});
    QCOMPARE(m_course->scalar("SELECT count(*) FROM jurnal").toInt(), 6);
    m_messages->answer = true;
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_course->scalar("SELECT count(*) FROM jurnal").toInt(), 5);
}

KORVELTA_WIDGET_TEST_MAIN(TestJournalTab)

#include "tst_journaltab.moc"
