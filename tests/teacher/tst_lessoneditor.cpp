#include "Components.h"
#include "EditorCourse.h"
#include "DBEdit.h"
#include "DBGrid.h"
#include "DBNavigator.h"
#include "Messages.h"
#include "Platform.h"
#include "TableCursor.h"
#include "ProgramWindows.h"
#include "TestCourse.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit4.h"
#include "WidgetTestMain.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QWidget>
#include <QtTest>

#include <memory>

// The lesson editor over the real main window's tree and a real course file: its window and the topic commands.
class TestLessonEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTheJournalTabAboveOtherWindows();
    void layoutFollowsTheDesktop_data();
    void layoutFollowsTheDesktop();
    void addTopic_data();
    void addTopic();
    void addedTopicWhoseRowCannotBePostedAddsNoNode();
    void deleteTopicTakesItsSubtreeButNotTheirRows();
    void deleteWithNothingSelectedDoesNothing();
    void enterPostsWhatWasTyped();
    void treeWrittenOnCloseHoldsTheNewTopics();

private:
    std::unique_ptr<EditorCourse> m_on;
};

void TestLessonEditor::init()
{
    m_on = std::make_unique<EditorCourse>();
}

void TestLessonEditor::cleanup()
{
    m_on.reset();
}

void TestLessonEditor::opensOnTheJournalTabAboveOtherWindows()
{
    m_on->start();
    Form1->N1Click();
    QVERIFY(Form4->isVisible());
    QCOMPARE(Form4->windowTitle(), QString("Редактирование  уроков"));
    QVERIFY(Form4->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(component<QTabWidget>(Form4, "PageControl1")->currentWidget(), component<QWidget>(Form4, "TabSheet2"));
    QCOMPARE(component<QTabWidget>(Form4, "PageControl1")->tabText(0), QString("Редактирование  Урока"));
    QCOMPARE(component<QTabWidget>(Form4, "PageControl1")->tabText(1), QString("Журнал"));
    QCOMPARE(component<QLabel>(Form4, "DBText1")->text(), QString("Электричество"));
}

void TestLessonEditor::layoutFollowsTheDesktop_data()
{
    QTest::addColumn<QRect>("desktop");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("titleColumn");
    QTest::addColumn<int>("nameColumn");

    // A desktop of 1366 × 768 with a 28-pixel panel at the bottom.
    QTest::newRow("1366 x 768 at 96 ppi") << QRect(0, 0, 1366, 740) << 96.0 << QRect(300, 74, 765, 592) << 314
                                          << 174;
    QTest::newRow("1920 x 1080 at 96 ppi") << QRect(0, 0, 1920, 1080) << 96.0 << QRect(577, 244, 765, 592) << 314
                                           << 174;
    QTest::newRow("1920 x 1080 at 120 ppi, as designed")
        << QRect(0, 0, 1920, 1080) << 120.0 << QRect(482, 170, 956, 740) << 393 << 218;
    QTest::newRow("second screen right of the first") << QRect(1920, 0, 1366, 768) << 96.0
                                                      << QRect(2220, 88, 765, 592) << 314 << 174;
    QTest::newRow("desktop smaller than the window: its corner stays on it")
        << QRect(0, 0, 800, 600) << 120.0 << QRect(0, 0, 956, 740) << 393 << 218;
}

void TestLessonEditor::layoutFollowsTheDesktop()
{
    QFETCH(QRect, desktop);
    QFETCH(double, dpi);
    QFETCH(QRect, geometry);
    QFETCH(int, titleColumn);
    QFETCH(int, nameColumn);
    // Late in the year: the widest day and month a date can show.
    m_on->course().addJournalRow("Иванов", "ЭЛ-21", 4, "Электричество", "2026-12-28");
    m_on->start();

    Form4->layOutFor(desktop, dpi);
    QCOMPARE(QRect(Form4->pos(), Form4->size()), geometry);
    QCOMPARE(component<DBGrid>(Form4, "DBGrid5")->columnWidth(0), titleColumn);
    QCOMPARE(component<DBGrid>(Form4, "DBGrid4")->columnWidth(0), nameColumn);
    // Scaled down, a column still shows its whole title, and the journal's dates whole.
    for (const char *name : {"DBGrid5", "DBGrid4"}) {
        DBGrid *grid = component<DBGrid>(Form4, name);
        for (int column = 0; column < grid->model()->columnCount(); ++column) {
            QVERIFY2(grid->columnWidth(column) >= grid->horizontalHeader()->sectionSizeHint(column),
                     qPrintable(grid->model()->headerData(column, Qt::Horizontal).toString()));
        }
    }
    DBGrid *journal = component<DBGrid>(Form4, "DBGrid4");
    const int dateColumn = 4;
    QCOMPARE(journal->model()->headerData(dateColumn, Qt::Horizontal).toString(), QString("Дата занятия"));
    const QString date = journal->model()->index(0, dateColumn).data().toString();
    QVERIFY(!date.isEmpty());
    QVERIFY2(journal->columnWidth(dateColumn) > journal->fontMetrics().horizontalAdvance(date), qPrintable(date));
    // Opened, it keeps that place: beside the main window's tree, not over it at the corner.
    Form1->N1Click();
    QCOMPARE(Form4->size(), geometry.size());
}

void TestLessonEditor::addTopic_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("subTopic");
    QTest::addColumn<QStringList>("tree");

    QTest::newRow("root topic, nothing selected: last root")
        << "" << false << (EditorCourse::StartTree + QStringList{"0:Новая тема"});
    QTest::newRow("root topic, a root selected: last root")
        << "Электричество" << false << (EditorCourse::StartTree + QStringList{"0:Новая тема"});
    QTest::newRow("root topic, a sub-topic selected: its last sibling")
        << "Опыт" << false
        << QStringList{"0:Электричество", "1:Закон Ома", "2:Опыт", "2:Новая тема", "1:Мощность", "0:Магнетизм"};
    QTest::newRow("sub-topic: last child of the selected")
        << "Электричество" << true
        << QStringList{"0:Электричество", "1:Закон Ома", "2:Опыт", "1:Мощность", "1:Новая тема", "0:Магнетизм"};
    QTest::newRow("sub-topic of a leaf")
        << "Мощность" << true
        << QStringList{"0:Электричество", "1:Закон Ома", "2:Опыт", "1:Мощность", "2:Новая тема", "0:Магнетизм"};
    QTest::newRow("sub-topic, nothing selected: last root")
        << "" << true << (EditorCourse::StartTree + QStringList{"0:Новая тема"});
}

void TestLessonEditor::addTopic()
{
    QFETCH(QString, selected);
    QFETCH(bool, subTopic);
    QFETCH(QStringList, tree);
    m_on->start();
    QTreeWidgetItem *node = selected.isEmpty() ? nullptr : EditorCourse::findNode(selected);
    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(node);

    component<QLineEdit>(Form4, "Edit3")->setText("Новая тема");
    subTopic ? Form4->Button11Click() : Form4->Button10Click();

    QCOMPARE(m_on->messages().errors, QStringList());
    QCOMPARE(EditorCourse::treeLines(), tree);
    QCOMPARE(component<QTreeWidget>(Form1, "TreeView1")->currentItem(), node);
    QCOMPARE(m_on->lessonRows().last(), QString("Новая тема|<null>|<null>|<null>|<null>|<null>|<null>|<null>"));
    // The new row is the current lesson, so the file buttons fill it next.
    QCOMPARE(DataModule2->Turok->value("urok").toString(), QString("Новая тема"));
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
    QCOMPARE(component<QLineEdit>(Form4, "Edit3")->text(), QString("Новая тема"));
    QCOMPARE(EditorCourse::findNode("Новая тема")->icon(0).isNull(), false);
}

void TestLessonEditor::addedTopicWhoseRowCannotBePostedAddsNoNode()
{
    m_on->start();
    m_on->course().exec("CREATE TRIGGER refuse BEFORE INSERT ON urok BEGIN SELECT RAISE(ABORT, 'urok is full'); END");
    component<QLineEdit>(Form4, "Edit3")->setText("Новая тема");
    Form4->Button10Click();

    QCOMPARE(m_on->messages().errors, QStringList{"urok is full."});
    QCOMPARE(EditorCourse::treeLines(), EditorCourse::StartTree);
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Insert);
    component<DBNavigator>(Form4, "DBNavigator1")->click(DBNavigator::Cancel);
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
    QCOMPARE(m_on->lessonRows().size(), 5);
}

void TestLessonEditor::deleteTopicTakesItsSubtreeButNotTheirRows()
{
    m_on->start();
    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(EditorCourse::findNode("Закон Ома"));
    QCOMPARE(DataModule2->Turok->value("urok").toString(), QString("Закон Ома"));

    Form4->Button1Click();

    QCOMPARE(m_on->messages().errors, QStringList());
    QCOMPARE(m_on->messages().questions, QStringList());
    QCOMPARE(EditorCourse::treeLines(), (QStringList{"0:Электричество", "1:Мощность", "0:Магнетизм"}));
    QCOMPARE(m_on->course().rows("SELECT urok FROM urok ORDER BY rowid"),
             (QStringList{"Электричество", "Опыт", "Мощность", "Магнетизм"}));
    // The tree moved its selection to a neighbour, and choosing it opened that lesson.
    QTreeWidgetItem *now = component<QTreeWidget>(Form1, "TreeView1")->currentItem();
    QVERIFY(now);
    QCOMPARE(DataModule2->Turok->value("urok").toString(), now->text(0));
}

void TestLessonEditor::deleteWithNothingSelectedDoesNothing()
{
    m_on->start();
    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(nullptr);
    Form4->Button1Click();
    QCOMPARE(EditorCourse::treeLines(), EditorCourse::StartTree);
    QCOMPARE(m_on->lessonRows().size(), 5);
}

void TestLessonEditor::enterPostsWhatWasTyped()
{
    m_on->start();
    Form4->Button12Click(); // nothing pending: nothing happens
    QCOMPARE(m_on->messages().errors, QStringList());

    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(EditorCourse::findNode("Магнетизм"));
    Form4->show();
    QTest::keyClicks(component<DBEdit>(Form4, "DBEdit7"), "prog\\m.exe");
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Edit);
    QVERIFY(m_on->course().scalar("SELECT exe FROM urok WHERE urok = 'Магнетизм'").isNull());

    Form4->Button12Click();
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
    QCOMPARE(m_on->course().scalar("SELECT exe FROM urok WHERE urok = 'Магнетизм'").toString(), QString("prog\\m.exe"));
    QCOMPARE(m_on->messages().errors, QStringList());
}

void TestLessonEditor::treeWrittenOnCloseHoldsTheNewTopics()
{
    m_on->start();
    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(EditorCourse::findNode("Магнетизм"));
    component<QLineEdit>(Form4, "Edit3")->setText("Индукция");
    Form4->Button11Click();
    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(EditorCourse::findNode("Опыт"));
    Form4->Button1Click();
    QVERIFY(Form1->close());
    QCOMPARE(m_on->course().readFile("log.log"),
             EditorCourse::cp1251("Электричество\r\n\tЗакон Ома\r\n\tМощность\r\nМагнетизм\r\n\tИндукция\r\n"));
}

KORVELTA_WIDGET_TEST_MAIN(TestLessonEditor)

#include "tst_lessoneditor.moc"
