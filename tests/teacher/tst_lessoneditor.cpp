#include "DBEdit.h"
#include "DBGrid.h"
#include "DBNavigator.h"
#include "Messages.h"
#include "Platform.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit4.h"
#include "ui_Unit1.h"
#include "ui_Unit4.h"
#include "WidgetTestMain.h"

#include <QApplication>
#include <QStringEncoder>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <QtTest>

#include <memory>

namespace {

QByteArray cp1251(const QString &text)
{
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

// The tree as "level:text" lines, in the order the topic file stores it.
QStringList treeLines()
{
    QStringList lines;
    for (const TopicNode &node : Form1->topicNodes())
        lines << QStringLiteral("%1:%2").arg(node.level).arg(node.text);
    return lines;
}

QTreeWidgetItem *findNode(const QString &text)
{
    const auto found = Form1->ui->TreeView1->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

const QStringList StartTree = {"0:Электричество", "1:Закон Ома", "2:Опыт", "1:Мощность", "0:Магнетизм"};

} // namespace

// The lesson editor's tab over the real main window's tree and a real course file.
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
    void pickAndClearEachColumn_data();
    void pickAndClearEachColumn();
    void pickOutsideTheCourseFolderIsRefused_data();
    void pickOutsideTheCourseFolderIsRefused();
    void cancelledPickChangesNothing();
    void attachingATestChecksItsAnswerKey_data();
    void attachingATestChecksItsAnswerKey();
    void enterPostsWhatWasTyped();
    void emptyLessonTableGetsARowPerFileButton();
    void gridAndNavigatorShareTheCurrentRow();
    void treeWrittenOnCloseHoldsTheNewTopics();

private:
    void start();
    QStringList lessonRows() const { return m_course->rows("SELECT * FROM urok ORDER BY rowid"); }

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TDataModule2> m_module;
    std::unique_ptr<TForm4> m_form4;
};

void TestLessonEditor::init()
{
    m_course = std::make_unique<TestCourse>();
    m_course->writeFile("log.log", cp1251("Электричество\r\n\tЗакон Ома\r\n\t\tОпыт\r\n\tМощность\r\nМагнетизм\r\n"));
    for (const char *title : {"Электричество", "Закон Ома", "Опыт", "Мощность", "Магнетизм"})
        m_course->exec("INSERT INTO urok (urok) VALUES (?)", {QString::fromUtf8(title)});
    m_messages = std::make_unique<Messages::Recorder>();
}

void TestLessonEditor::start()
{
    m_form1 = std::make_unique<TForm1>();
    Form1 = m_form1.get();
    m_form4 = std::make_unique<TForm4>();
    Form4 = m_form4.get();
    m_module = std::make_unique<TDataModule2>();
    DataModule2 = m_module.get();
    m_form1->attachDataModule(*m_module);
    m_form4->attachDataModule(*m_module);
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(treeLines(), StartTree);
}

void TestLessonEditor::cleanup()
{
    m_form4.reset();
    m_form1.reset();
    m_module.reset();
    Form4 = nullptr;
    Form1 = nullptr;
    DataModule2 = nullptr;
    m_messages.reset();
    m_course.reset();
}

void TestLessonEditor::opensOnTheJournalTabAboveOtherWindows()
{
    start();
    Form1->N1Click();
    QVERIFY(m_form4->isVisible());
    QCOMPARE(m_form4->windowTitle(), QString("Редактирование  уроков"));
    QVERIFY(m_form4->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(m_form4->ui->PageControl1->currentWidget(), m_form4->ui->TabSheet2);
    QCOMPARE(m_form4->ui->PageControl1->tabText(0), QString("Редактирование  Урока"));
    QCOMPARE(m_form4->ui->PageControl1->tabText(1), QString("Журнал"));
    QCOMPARE(m_form4->ui->DBText1->text(), QString("Электричество"));
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
    start();

    m_form4->layOutFor(desktop, dpi);
    QCOMPARE(QRect(m_form4->pos(), m_form4->size()), geometry);
    QCOMPARE(m_form4->ui->DBGrid5->columnWidth(0), titleColumn);
    QCOMPARE(m_form4->ui->DBGrid4->columnWidth(0), nameColumn);
    // Opened, it keeps that place: beside the main window's tree, not over it at the corner.
    Form1->N1Click();
    QCOMPARE(m_form4->size(), geometry.size());
}

void TestLessonEditor::addTopic_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("subTopic");
    QTest::addColumn<QStringList>("tree");

    QTest::newRow("root topic, nothing selected: last root")
        << "" << false << (StartTree + QStringList{"0:Новая тема"});
    QTest::newRow("root topic, a root selected: last root")
        << "Электричество" << false << (StartTree + QStringList{"0:Новая тема"});
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
        << "" << true << (StartTree + QStringList{"0:Новая тема"});
}

void TestLessonEditor::addTopic()
{
    QFETCH(QString, selected);
    QFETCH(bool, subTopic);
    QFETCH(QStringList, tree);
    start();
    QTreeWidgetItem *node = selected.isEmpty() ? nullptr : findNode(selected);
    Form1->ui->TreeView1->setCurrentItem(node);

    m_form4->ui->Edit3->setText("Новая тема");
    subTopic ? m_form4->Button11Click() : m_form4->Button10Click();

    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(treeLines(), tree);
    QCOMPARE(Form1->ui->TreeView1->currentItem(), node);
    QCOMPARE(lessonRows().last(), QString("Новая тема|<null>|<null>|<null>|<null>|<null>|<null>|<null>"));
    // The new row is the current lesson, so the file buttons fill it next.
    QCOMPARE(DataModule2->Turok->value("urok").toString(), QString("Новая тема"));
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
    QCOMPARE(m_form4->ui->Edit3->text(), QString("Новая тема"));
    QCOMPARE(findNode("Новая тема")->icon(0).isNull(), false);
}

void TestLessonEditor::addedTopicWhoseRowCannotBePostedAddsNoNode()
{
    start();
    m_course->exec("CREATE TRIGGER refuse BEFORE INSERT ON urok BEGIN SELECT RAISE(ABORT, 'urok is full'); END");
    m_form4->ui->Edit3->setText("Новая тема");
    m_form4->Button10Click();

    QCOMPARE(m_messages->errors, QStringList{"urok is full."});
    QCOMPARE(treeLines(), StartTree);
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Insert);
    m_form4->ui->DBNavigator1->click(DBNavigator::Cancel);
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
    QCOMPARE(lessonRows().size(), 5);
}

void TestLessonEditor::deleteTopicTakesItsSubtreeButNotTheirRows()
{
    start();
    Form1->ui->TreeView1->setCurrentItem(findNode("Закон Ома"));
    QCOMPARE(DataModule2->Turok->value("urok").toString(), QString("Закон Ома"));

    m_form4->Button1Click();

    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(m_messages->questions, QStringList());
    QCOMPARE(treeLines(), (QStringList{"0:Электричество", "1:Мощность", "0:Магнетизм"}));
    QCOMPARE(m_course->rows("SELECT urok FROM urok ORDER BY rowid"),
             (QStringList{"Электричество", "Опыт", "Мощность", "Магнетизм"}));
    // The tree moved its selection to a neighbour, and choosing it opened that lesson.
    QTreeWidgetItem *now = Form1->ui->TreeView1->currentItem();
    QVERIFY(now);
    QCOMPARE(DataModule2->Turok->value("urok").toString(), now->text(0));
}

void TestLessonEditor::deleteWithNothingSelectedDoesNothing()
{
    start();
    Form1->ui->TreeView1->setCurrentItem(nullptr);
    m_form4->Button1Click();
    QCOMPARE(treeLines(), StartTree);
    QCOMPARE(lessonRows().size(), 5);
}

void TestLessonEditor::pickAndClearEachColumn_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("filter");

    QTest::newRow("1 page") << 0 << "htm" << "HTML документы|*.htm;*.mht;*.html|Все файлы|*.*";
    QTest::newRow("2 picture") << 1 << "jpg" << "Рисунки|*.jpg;*.bmp;*.wmf;*.ico|Все файлы|*.*";
    QTest::newRow("3 video") << 2 << "avi" << "Видио|*.avi;*.mp4|Все файлы|*.*";
    QTest::newRow("4 test") << 3 << "test" << "Test|*.htm;*.txt|Все файлы|*.*";
    QTest::newRow("5 melody") << 4 << "mid" << "Музыка|*.mid;*.kar;*.wav;*.mp3|Все файлы|*.*";
    QTest::newRow("6 narration") << 5 << "wav" << "Музыка|*.mid;*.kar;*.wav;*.mp3|Все файлы|*.*";
    QTest::newRow("7 program") << 6 << "exe" << "Программы|*.exe|Все файлы|*.*";
}

void TestLessonEditor::pickAndClearEachColumn()
{
    QFETCH(int, row);
    QFETCH(QString, column);
    QFETCH(QString, filter);
    start();
    Form1->ui->TreeView1->setCurrentItem(findNode("Мощность"));
    QPushButton *const picks[] = {m_form4->ui->Button13, m_form4->ui->Button14, m_form4->ui->Button15,
                                  m_form4->ui->Button16, m_form4->ui->Button17, m_form4->ui->Button18,
                                  m_form4->ui->Button19};
    QPushButton *const clears[] = {m_form4->ui->BitBtn1, m_form4->ui->BitBtn2, m_form4->ui->BitBtn3,
                                   m_form4->ui->BitBtn4, m_form4->ui->BitBtn5, m_form4->ui->BitBtn6,
                                   m_form4->ui->BitBtn7};
    DBEdit *const boxes[] = {m_form4->ui->DBEdit1, m_form4->ui->DBEdit2, m_form4->ui->DBEdit3,
                             m_form4->ui->DBEdit4, m_form4->ui->DBEdit5, m_form4->ui->DBEdit6,
                             m_form4->ui->DBEdit7};
    const QString sql = QStringLiteral("SELECT \"%1\" FROM urok WHERE urok = 'Мощность'").arg(column);

    m_messages->fileAnswers << m_course->filePath("uroki/тема 4/файл.dat");
    picks[row]->click();
    QCOMPARE(m_messages->fileFilters, QStringList{filter});
    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(m_course->scalar(sql).toString(), QString("uroki\\тема 4\\файл.dat"));
    QCOMPARE(boxes[row]->text(), QString("uroki\\тема 4\\файл.dat"));
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);

    clears[row]->click();
    const QVariant cleared = m_course->scalar(sql);
    QVERIFY(!cleared.isNull());
    QCOMPARE(cleared.toString(), QString());
    QCOMPARE(boxes[row]->text(), QString());
    // Only this column of this row changed.
    QCOMPARE(m_course->scalar("SELECT COUNT(*) FROM urok WHERE COALESCE(htm, jpg, avi, test, mid, wav, exe) IS NOT NULL")
                 .toInt(),
             1);
}

void TestLessonEditor::pickOutsideTheCourseFolderIsRefused_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::newRow("another folder") << "/opt/lessons/u1.htm";
    QTest::newRow("a folder whose name starts like the course's") << "<course>-old/u1.htm";
    QTest::newRow("out of the course through ..") << "<course>/../u1.htm";
    QTest::newRow("the course folder itself") << "<course>";
}

void TestLessonEditor::pickOutsideTheCourseFolderIsRefused()
{
    QFETCH(QString, chosen);
    start();
    Form1->ui->TreeView1->setCurrentItem(findNode("Опыт"));
    m_course->exec("UPDATE urok SET htm = 'uroki\\old.htm' WHERE urok = 'Опыт'");
    DataModule2->Turok->refresh();
    const QStringList before = lessonRows();

    m_messages->fileAnswers << QString(chosen).replace("<course>", m_course->path());
    m_form4->Button13Click();

    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(m_messages->infos.size(), 1);
    QVERIFY(m_messages->infos.first().contains("вне папки курса"));
    QCOMPARE(lessonRows(), before);
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
    QCOMPARE(m_form4->ui->DBEdit1->text(), QString("uroki\\old.htm"));
}

void TestLessonEditor::cancelledPickChangesNothing()
{
    start();
    const QStringList before = lessonRows();
    m_form4->Button14Click();
    QCOMPARE(m_messages->fileFilters.size(), 1);
    QCOMPARE(lessonRows(), before);
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
}

void TestLessonEditor::attachingATestChecksItsAnswerKey_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("listed");

    QTest::newRow("every line sets an answer") << QByteArray("A\r\nB\r\nE\r\n") << "";
    QTest::newRow("Cyrillic look-alikes on lines 2 and 4")
        << QByteArray("A\r\n\xC2\r\nC\r\n\xC5\r\n") << "2, 4";
    QTest::newRow("more than ten lines without answer: the first ten")
        << QByteArray("\xC0\r\n").repeated(12) << "1, 2, 3, 4, 5, 6, 7, 8, 9, 10 … (всего 12)";
    QTest::newRow("no key in the folder: nothing to say") << QByteArray() << "";
}

void TestLessonEditor::attachingATestChecksItsAnswerKey()
{
    QFETCH(QByteArray, key);
    QFETCH(QString, listed);
    start();
    Form1->ui->TreeView1->setCurrentItem(findNode("Опыт"));
    m_course->writeFile("testy/t1/1.htm", "<p>1</p>");
    if (!key.isEmpty())
        m_course->writeFile("testy/t1/otwet.txt", key);

    m_messages->fileAnswers << m_course->filePath("testy/t1/1.htm");
    m_form4->Button16Click();

    // The test is attached whatever its key holds.
    QCOMPARE(m_course->scalar("SELECT test FROM urok WHERE urok = 'Опыт'").toString(), QString("testy\\t1\\1.htm"));
    QCOMPARE(m_messages->errors, QStringList());
    if (listed.isEmpty()) {
        QCOMPARE(m_messages->infos, QStringList());
        return;
    }
    QCOMPARE(m_messages->infos.size(), 1);
    const QString message = m_messages->infos.first();
    QVERIFY2(message.contains("строках: " + listed + "."), qPrintable(message));
    QVERIFY2(message.contains("otwet.txt"), qPrintable(message));
}

void TestLessonEditor::enterPostsWhatWasTyped()
{
    start();
    m_form4->Button12Click(); // nothing pending: nothing happens
    QCOMPARE(m_messages->errors, QStringList());

    Form1->ui->TreeView1->setCurrentItem(findNode("Магнетизм"));
    m_form4->show();
    QTest::keyClicks(m_form4->ui->DBEdit7, "prog\\m.exe");
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Edit);
    QVERIFY(m_course->scalar("SELECT exe FROM urok WHERE urok = 'Магнетизм'").isNull());

    m_form4->Button12Click();
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
    QCOMPARE(m_course->scalar("SELECT exe FROM urok WHERE urok = 'Магнетизм'").toString(), QString("prog\\m.exe"));
    QCOMPARE(m_messages->errors, QStringList());
}

void TestLessonEditor::emptyLessonTableGetsARowPerFileButton()
{
    m_course->exec("DELETE FROM urok");
    start();
    QCOMPARE(m_form4->ui->DBGrid5->model()->rowCount(), 0);
    QCOMPARE(m_form4->ui->DBText1->text(), QString());

    m_messages->fileAnswers << m_course->filePath("uroki/u1.htm");
    m_form4->Button13Click();
    QCOMPARE(lessonRows(), QStringList{"<null>|uroki\\u1.htm|<null>|<null>|<null>|<null>|<null>|<null>"});

    m_course->exec("DELETE FROM urok");
    DataModule2->Turok->refresh();
    m_form4->BitBtn3Click();
    QCOMPARE(lessonRows(), QStringList{"<null>|<null>|<null>||<null>|<null>|<null>|<null>"});
    QCOMPARE(m_messages->errors, QStringList());
}

void TestLessonEditor::gridAndNavigatorShareTheCurrentRow()
{
    start();
    DBGrid *grid = m_form4->ui->DBGrid5;
    TableCursor *lessons = DataModule2->Turok;
    QCOMPARE(grid->model()->rowCount(), 5);
    QCOMPARE(grid->model()->columnCount(), 8);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("Тема урока"));
    QCOMPARE(grid->model()->headerData(6, Qt::Horizontal).toString(), QString("test"));
    // The widths are designed for 120 pixels per inch and follow the screen.
    QCOMPARE(grid->columnWidth(0), qRound(393 * m_form4->logicalDpiY() / 120.0));
    QCOMPARE(grid->columnWidth(4), qRound(54 * m_form4->logicalDpiY() / 120.0));
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, 1)) & Qt::ItemIsEditable));

    grid->setCurrentIndex(grid->model()->index(3, 0));
    QCOMPARE(lessons->value("urok").toString(), QString("Мощность"));
    QCOMPARE(m_form4->ui->DBText1->text(), QString("Мощность"));

    DBNavigator *navigator = m_form4->ui->DBNavigator1;
    navigator->click(DBNavigator::Next);
    QCOMPARE(grid->currentIndex().row(), 4);
    QVERIFY(!navigator->button(DBNavigator::Next)->isEnabled());
    navigator->click(DBNavigator::First);
    QCOMPARE(grid->currentIndex().row(), 0);
    QVERIFY(!navigator->button(DBNavigator::Prior)->isEnabled());

    // The main window's tree moves the same row.
    Form1->ui->TreeView1->setCurrentItem(findNode("Опыт"));
    QCOMPARE(grid->currentIndex().row(), 2);

    m_messages->answer = false;
    navigator->click(DBNavigator::Delete);
    QCOMPARE(m_messages->questions, QStringList{"Delete record?"});
    QCOMPARE(lessonRows().size(), 5);
    m_messages->answer = true;
    navigator->click(DBNavigator::Delete);
    QCOMPARE(m_course->rows("SELECT urok FROM urok ORDER BY rowid"),
             (QStringList{"Электричество", "Закон Ома", "Мощность", "Магнетизм"}));
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(grid->currentIndex().row(), 2);
    QCOMPARE(m_form4->ui->DBText1->text(), QString("Мощность"));

    navigator->click(DBNavigator::Insert);
    QCOMPARE(grid->model()->rowCount(), 5);
    QVERIFY(navigator->button(DBNavigator::Post)->isEnabled());
    navigator->click(DBNavigator::Cancel);
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(m_messages->errors, QStringList());
}

void TestLessonEditor::treeWrittenOnCloseHoldsTheNewTopics()
{
    start();
    Form1->ui->TreeView1->setCurrentItem(findNode("Магнетизм"));
    m_form4->ui->Edit3->setText("Индукция");
    m_form4->Button11Click();
    Form1->ui->TreeView1->setCurrentItem(findNode("Опыт"));
    m_form4->Button1Click();
    QVERIFY(Form1->close());
    QCOMPARE(m_course->readFile("log.log"),
             cp1251("Электричество\r\n\tЗакон Ома\r\n\tМощность\r\nМагнетизм\r\n\tИндукция\r\n"));
}

KORVELTA_WIDGET_TEST_MAIN(TestLessonEditor)

#include "tst_lessoneditor.moc"
