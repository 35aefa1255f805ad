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

// The lesson editor's file rows, grid and navigator on the current lesson row of a real course.
class TestLessonFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pickAndClearEachColumn_data();
    void pickAndClearEachColumn();
    void pickOutsideTheCourseFolderIsRefused_data();
    void pickOutsideTheCourseFolderIsRefused();
    void cancelledPickChangesNothing();
    void attachingATestChecksItsAnswerKey_data();
    void attachingATestChecksItsAnswerKey();
    void emptyLessonTableGetsARowPerFileButton();
    void gridAndNavigatorShareTheCurrentRow();

private:
    std::unique_ptr<EditorCourse> m_on;
};

void TestLessonFiles::init()
{
    m_on = std::make_unique<EditorCourse>();
}

void TestLessonFiles::cleanup()
{
    m_on.reset();
}

void TestLessonFiles::pickAndClearEachColumn_data()
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

void TestLessonFiles::pickAndClearEachColumn()
{
    QFETCH(int, row);
    QFETCH(QString, column);
    QFETCH(QString, filter);
    m_on->start();
    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(EditorCourse::findNode("Мощность"));
    QPushButton *const picks[] = {component<QPushButton>(Form4, "Button13"), component<QPushButton>(Form4, "Button14"), component<QPushButton>(Form4, "Button15"),
                                  component<QPushButton>(Form4, "Button16"), component<QPushButton>(Form4, "Button17"), component<QPushButton>(Form4, "Button18"),
                                  component<QPushButton>(Form4, "Button19")};
    QPushButton *const clears[] = {component<QPushButton>(Form4, "BitBtn1"), component<QPushButton>(Form4, "BitBtn2"), component<QPushButton>(Form4, "BitBtn3"),
                                   component<QPushButton>(Form4, "BitBtn4"), component<QPushButton>(Form4, "BitBtn5"), component<QPushButton>(Form4, "BitBtn6"),
                                   component<QPushButton>(Form4, "BitBtn7")};
    DBEdit *const boxes[] = {component<DBEdit>(Form4, "DBEdit1"), component<DBEdit>(Form4, "DBEdit2"), component<DBEdit>(Form4, "DBEdit3"),
                             component<DBEdit>(Form4, "DBEdit4"), component<DBEdit>(Form4, "DBEdit5"), component<DBEdit>(Form4, "DBEdit6"),
                             component<DBEdit>(Form4, "DBEdit7")};
    const QString sql = QStringLiteral("SELECT \"%1\" FROM urok WHERE urok = 'Мощность'").arg(column);

    m_on->messages().fileAnswers << m_on->course().filePath("uroki/тема 4/файл.dat");
    picks[row]->click();
    QCOMPARE(m_on->messages().fileFilters, QStringList{filter});
    QCOMPARE(m_on->messages().errors, QStringList());
    QCOMPARE(m_on->course().scalar(sql).toString(), QString("uroki\\тема 4\\файл.dat"));
    QCOMPARE(boxes[row]->text(), QString("uroki\\тема 4\\файл.dat"));
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);

    clears[row]->click();
    const QVariant cleared = m_on->course().scalar(sql);
    QVERIFY(!cleared.isNull());
    QCOMPARE(cleared.toString(), QString());
    QCOMPARE(boxes[row]->text(), QString());
    // Only this column of this row changed.
    QCOMPARE(m_on->course().scalar("SELECT COUNT(*) FROM urok WHERE COALESCE(htm, jpg, avi, test, mid, wav, exe) IS NOT NULL")
                 .toInt(),
             1);
}

void TestLessonFiles::pickOutsideTheCourseFolderIsRefused_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::newRow("another folder") << "/opt/lessons/u1.htm";
    QTest::newRow("a folder whose name starts like the course's") << "<course>-old/u1.htm";
    QTest::newRow("out of the course through ..") << "<course>/../u1.htm";
    QTest::newRow("the course folder itself") << "<course>";
}

void TestLessonFiles::pickOutsideTheCourseFolderIsRefused()
{
    QFETCH(QString, chosen);
    m_on->start();
    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(EditorCourse::findNode("Опыт"));
    m_on->course().exec("UPDATE urok SET htm = 'uroki\\old.htm' WHERE urok = 'Опыт'");
    DataModule2->Turok->refresh();
    const QStringList before = m_on->lessonRows();

    m_on->messages().fileAnswers << QString(chosen).replace("<course>", m_on->course().path());
    Form4->Button13Click();

    QCOMPARE(m_on->messages().errors, QStringList());
    QCOMPARE(m_on->messages().infos.size(), 1);
    QVERIFY(m_on->messages().infos.first().contains("вне папки курса"));
    QCOMPARE(m_on->lessonRows(), before);
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
    QCOMPARE(component<DBEdit>(Form4, "DBEdit1")->text(), QString("uroki\\old.htm"));
}

void TestLessonFiles::cancelledPickChangesNothing()
{
    m_on->start();
    const QStringList before = m_on->lessonRows();
    Form4->Button14Click();
    QCOMPARE(m_on->messages().fileFilters.size(), 1);
    QCOMPARE(m_on->lessonRows(), before);
    QCOMPARE(DataModule2->Turok->state(), TableCursor::State::Browse);
}

void TestLessonFiles::attachingATestChecksItsAnswerKey_data()
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

void TestLessonFiles::attachingATestChecksItsAnswerKey()
{
    QFETCH(QByteArray, key);
    QFETCH(QString, listed);
    m_on->start();
    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(EditorCourse::findNode("Опыт"));
    m_on->course().writeFile("testy/t1/1.htm", "<p>1</p>");
    if (!key.isEmpty())
        m_on->course().writeFile("testy/t1/otwet.txt", key);

    m_on->messages().fileAnswers << m_on->course().filePath("testy/t1/1.htm");
    Form4->Button16Click();

    // The test is attached whatever its key holds.
    QCOMPARE(m_on->course().scalar("SELECT test FROM urok WHERE urok = 'Опыт'").toString(), QString("testy\\t1\\1.htm"));
    QCOMPARE(m_on->messages().errors, QStringList());
    if (listed.isEmpty()) {
        QCOMPARE(m_on->messages().infos, QStringList());
        return;
    }
    QCOMPARE(m_on->messages().infos.size(), 1);
    const QString message = m_on->messages().infos.first();
    QVERIFY2(message.contains("строках: " + listed + "."), qPrintable(message));
    QVERIFY2(message.contains("otwet.txt"), qPrintable(message));
}

void TestLessonFiles::emptyLessonTableGetsARowPerFileButton()
{
    m_on->course().exec("DELETE FROM urok");
    m_on->start();
    QCOMPARE(component<DBGrid>(Form4, "DBGrid5")->model()->rowCount(), 0);
    QCOMPARE(component<QLabel>(Form4, "DBText1")->text(), QString());

    m_on->messages().fileAnswers << m_on->course().filePath("uroki/u1.htm");
    Form4->Button13Click();
    QCOMPARE(m_on->lessonRows(), QStringList{"<null>|uroki\\u1.htm|<null>|<null>|<null>|<null>|<null>|<null>"});

    m_on->course().exec("DELETE FROM urok");
    DataModule2->Turok->refresh();
    Form4->BitBtn3Click();
    QCOMPARE(m_on->lessonRows(), QStringList{"<null>|<null>|<null>||<null>|<null>|<null>|<null>"});
    QCOMPARE(m_on->messages().errors, QStringList());
}

void TestLessonFiles::gridAndNavigatorShareTheCurrentRow()
{
    m_on->start();
    DBGrid *grid = component<DBGrid>(Form4, "DBGrid5");
    TableCursor *lessons = DataModule2->Turok;
    QCOMPARE(grid->model()->rowCount(), 5);
    QCOMPARE(grid->model()->columnCount(), 8);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("Тема урока"));
    QCOMPARE(grid->model()->headerData(6, Qt::Horizontal).toString(), QString("test"));
    // The widths are designed for 120 pixels per inch and follow the screen.
    QCOMPARE(grid->columnWidth(0), qRound(393 * Form4->logicalDpiY() / 120.0));
    QCOMPARE(grid->columnWidth(4), qRound(54 * Form4->logicalDpiY() / 120.0));
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, 1)) & Qt::ItemIsEditable));

    grid->setCurrentIndex(grid->model()->index(3, 0));
    QCOMPARE(lessons->value("urok").toString(), QString("Мощность"));
    QCOMPARE(component<QLabel>(Form4, "DBText1")->text(), QString("Мощность"));

    DBNavigator *navigator = component<DBNavigator>(Form4, "DBNavigator1");
    navigator->click(DBNavigator::Next);
    QCOMPARE(grid->currentIndex().row(), 4);
    QVERIFY(!navigator->button(DBNavigator::Next)->isEnabled());
    navigator->click(DBNavigator::First);
    QCOMPARE(grid->currentIndex().row(), 0);
    QVERIFY(!navigator->button(DBNavigator::Prior)->isEnabled());

    // The main window's tree moves the same row.
    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(EditorCourse::findNode("Опыт"));
    QCOMPARE(grid->currentIndex().row(), 2);

    m_on->messages().answer = false;
    navigator->click(DBNavigator::Delete);
    QCOMPARE(m_on->messages().questions, QStringList{"Delete record?"});
    QCOMPARE(m_on->lessonRows().size(), 5);
    m_on->messages().answer = true;
    navigator->click(DBNavigator::Delete);
    QCOMPARE(m_on->course().rows("SELECT urok FROM urok ORDER BY rowid"),
             (QStringList{"Электричество", "Закон Ома", "Мощность", "Магнетизм"}));
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(grid->currentIndex().row(), 2);
    QCOMPARE(component<QLabel>(Form4, "DBText1")->text(), QString("Мощность"));

    navigator->click(DBNavigator::Insert);
    QCOMPARE(grid->model()->rowCount(), 5);
    QVERIFY(navigator->button(DBNavigator::Post)->isEnabled());
    navigator->click(DBNavigator::Cancel);
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(m_on->messages().errors, QStringList());
}

KORVELTA_WIDGET_TEST_MAIN(TestLessonFiles)

#include "tst_lessonfiles.moc"
