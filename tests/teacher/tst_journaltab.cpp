#include "Components.h"
#include "DBGrid.h"
#include "Messages.h"
#include "Platform.h"
#include "TableCursor.h"
#include "ProgramWindows.h"
#include "TestCourse.h"
#include "Unit2.h"
#include "Unit4.h"
#include "WidgetTestMain.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QPalette>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <memory>

// The journal tab's boxes, switch and deletions, through the window's own
// controls, on a real course file.
class TestJournalTab : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gridShowsTheJournalColumns_data();
    void gridShowsTheJournalColumns();
    void gridEditKeepsTheFieldWidth_data();
    void gridEditKeepsTheFieldWidth();
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
    std::unique_ptr<ProgramWindows> m_windows;
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
    // The editor among the program's windows; the main window's tree is empty.
    m_course->writeFile("log.log", "");
    m_messages = std::make_unique<Messages::Recorder>();
    m_windows = std::make_unique<ProgramWindows>();
}

void TestJournalTab::cleanup()
{
    m_windows.reset();
    m_messages.reset();
    m_course.reset();
}

QStringList TestJournalTab::namesInView() const
{
    QStringList names;
    const QAbstractItemModel *model = component<DBGrid>(Form4, "DBGrid4")->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString() + "/" + model->index(row, 1).data().toString();
    return names;
}

void TestJournalTab::gridShowsTheJournalColumns_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("designWidth");
    QTest::addColumn<bool>("editable");

    QTest::newRow("fio") << 0 << "ФИО  учащихся" << 218 << true;
    QTest::newRow("gruppa") << 1 << "Учебная группа" << 116 << true;
    QTest::newRow("urok") << 2 << "Тема занятия" << 267 << false;
    QTest::newRow("ocenka") << 3 << "Баллы" << 43 << false;
    QTest::newRow("data") << 4 << "Дата занятия" << 87 << false;
}

void TestJournalTab::gridShowsTheJournalColumns()
{
    QFETCH(int, column);
    QFETCH(QString, title);
    QFETCH(int, designWidth);
    QFETCH(bool, editable);

    const QAbstractItemModel *model = component<DBGrid>(Form4, "DBGrid4")->model();
    QCOMPARE(model->columnCount(), 5);
    QCOMPARE(model->rowCount(), 6);
    QCOMPARE(model->headerData(column, Qt::Horizontal).toString(), title);
    // Designed for 120 pixels per inch, scaled to the screen, but never so narrow that it cuts the title.
    const DBGrid *grid = component<DBGrid>(Form4, "DBGrid4");
    QCOMPARE(grid->columnWidth(column),
             std::max(qRound(designWidth * Form4->logicalDpiY() / 120.0), grid->narrowestColumnWidth(column)));
    const QModelIndex cell = model->index(0, column);
    QCOMPARE(bool(model->flags(cell) & Qt::ItemIsEditable), editable);
    // The columns that cannot be typed into are grey.
    const QVariant background = cell.data(Qt::BackgroundRole);
    if (editable) {
        QVERIFY(!background.isValid());
    } else {
        QVERIFY(background.isValid());
        QCOMPARE(background.value<QBrush>().color(), QGuiApplication::palette().color(QPalette::Button));
        QVERIFY(background.value<QBrush>().color() != QGuiApplication::palette().color(QPalette::Base));
    }
}

void TestJournalTab::gridEditKeepsTheFieldWidth_data()
{
    QTest::addColumn<bool>("newRow");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    const QString name300 = QString("Иванов ").repeated(43).left(300);
    QTest::newRow("a 300-character name keeps 50") << false << 0 << name300 << name300.left(50);
    QTest::newRow("a 60-character group keeps 50") << false << 1 << QString(60, 'G') << QString(50, 'G');
    QTest::newRow("exactly 50 characters stay whole") << false << 0 << QString(50, u'Ж') << QString(50, u'Ж');
    QTest::newRow("a short name is not touched") << false << 0 << "Петров П." << "Петров П.";
    QTest::newRow("a new row typed into the grid") << true << 0 << name300 << name300.left(50);
}

void TestJournalTab::gridEditKeepsTheFieldWidth()
{
    QFETCH(bool, newRow);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    DBGrid *grid = component<DBGrid>(Form4, "DBGrid4");
    TableCursor *journal = DataModule2->Tjurnal;
    if (newRow) {
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Insert);
        QCOMPARE(journal->state(), TableCursor::State::Insert);
    }
    const int row = newRow ? journal->recordCount() - 1 : 1;
    QVERIFY(grid->model()->setData(grid->model()->index(row, column), typed));
    journal->post();
    QCOMPARE(m_messages->errors, QStringList());

    const char *field = column == 0 ? "fio" : "gruppa";
    const QString sql = newRow ? QString("SELECT %1 FROM jurnal ORDER BY код DESC LIMIT 1").arg(field)
                               : QString("SELECT %1 FROM jurnal ORDER BY код LIMIT 1 OFFSET 1").arg(field);
    QCOMPARE(m_course->scalar(sql).toString(), stored);
    // The grid shows the text as stored.
    QCOMPARE(grid->model()->index(row, column).data().toString(), stored);
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
        component<QCheckBox>(Form4, "CheckBox1")->click();
    component<QLineEdit>(Form4, "Edit1")->setText(name);
    component<QLineEdit>(Form4, "Edit2")->setText(group);
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(namesInView(), inView);
    QCOMPARE(DataModule2->Tjurnal->currentIndex(), 0);
}

void TestJournalTab::deleteVisitsOfOneLearnerThenTheWholeJournalIsInView()
{
    component<QCheckBox>(Form4, "CheckBox1")->click();
    component<QLineEdit>(Form4, "Edit1")->setText("Иванов");
    component<QPushButton>(Form4, "Button20")->click();
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(stored(), (QStringList{"Иванов|80", "Петров|0", "O'Brien|0", "Петров|0"}));
    // The whole journal is in view again although the switch still shows checked.
    QVERIFY(component<QCheckBox>(Form4, "CheckBox1")->isChecked());
    QCOMPARE(namesInView().size(), 4);
    // "Удалить все записи" now empties the whole journal.
    component<QPushButton>(Form4, "Button21")->click();
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

    component<QLineEdit>(Form4, "Edit1")->setText("Петров");
    if (switchOn)
        component<QCheckBox>(Form4, "CheckBox1")->click();
    component<QPushButton>(Form4, "Button21")->click();
    QCOMPARE(stored(), left);
}

void TestJournalTab::gridKeysInsertAndDelete()
{
    DBGrid *grid = component<DBGrid>(Form4, "DBGrid4");
    TableCursor *journal = DataModule2->Tjurnal;
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
