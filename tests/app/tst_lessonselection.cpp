#include "Components.h"
#include "Messages.h"
#include "PageViewer.h"
#include "Platform.h"
#include "TableCursor.h"
#include "ProgramWindows.h"
#include "TestCourse.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit6.h"
#include "WidgetTestMain.h"

#include <QAction>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

namespace {

// Nodes of the fixture tree, in order.
const QStringList TreeTexts = {"Урок 1", "Урок 2", "Урок 3", "Урок 4", "Нет такого урока", "Урок 1"};

QString enabledCommands(const TForm1 *window)
{
    QStringList on;
    for (const char *name : {"nn1", "nn2", "nn3", "nn4", "nn5", "N8"}) {
        if (component<QAction>(window, QString::fromLatin1(name))->isEnabled())
            on << QString::fromLatin1(name);
    }
    return on.join(' ');
}

} // namespace

// Choosing a topic: which lesson row becomes current, which page shows, which
// commands are enabled and which visit reaches the journal.
class TestLessonSelection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void select_data();
    void select();
    void openedNodeShowsItsSelectedImage();

private:
    void selectNode(int index);

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
};

void TestLessonSelection::init()
{
    m_course = std::make_unique<TestCourse>();
    m_course->exec("INSERT INTO urok VALUES ('Урок 1', 'uroki\\u1.htm', 'k\\p.jpg', NULL, "
                   "'testy\\t1\\otwet.txt', NULL, '', NULL)");
    m_course->exec("INSERT INTO urok VALUES ('Урок 2', 'uroki\\missing.htm', NULL, 'v\\film.avi', NULL, NULL, "
                   "'z\\a.wav', 'p\\prog')");
    m_course->exec("INSERT INTO urok VALUES ('Урок 3', NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
    m_course->exec("INSERT INTO urok VALUES ('Урок 4', '', NULL, NULL, NULL, NULL, NULL, NULL)");
    m_course->writeFile("uroki/u1.htm", "<html><body>Lesson one</body></html>");
    m_course->writeFile("zas.mht", "MIME-Version: 1.0\r\nContent-Type: text/html\r\n\r\n<p>cover</p>");
    QByteArray tree;
    for (const QString &text : TreeTexts)
        tree += text.toUtf8() + "\r\n";
    m_course->writeFile("log.log", "\xEF\xBB\xBF" + tree);

    m_messages = std::make_unique<Messages::Recorder>();
    m_windows = std::make_unique<ProgramWindows>();
    QCOMPARE(m_messages->errors, QStringList());
}

void TestLessonSelection::cleanup()
{
    m_windows.reset();
    m_messages.reset();
    m_course.reset();
}

void TestLessonSelection::selectNode(int index)
{
    component<QTreeWidget>(Form1, "TreeView1")->setCurrentItem(component<QTreeWidget>(Form1, "TreeView1")->topLevelItem(index));
}

void TestLessonSelection::select_data()
{
    QTest::addColumn<int>("before");   // node chosen first, -1 for none
    QTest::addColumn<int>("node");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("lesson");   // the current lesson row afterwards
    QTest::addColumn<QString>("page");     // file shown
    QTest::addColumn<QString>("commands"); // enabled commands
    QTest::addColumn<QStringList>("journal");

    const QString today = QDate::currentDate().toString(Qt::ISODate);
    auto row = [&](const QString &lesson, const QString &fio, const QString &group) {
        return QStringList{QStringLiteral("%1|%2|0|%3|%4").arg(lesson, today, fio, group)};
    };

    QTest::newRow("a match shows the page and records the visit")
        << -1 << 0 << "Иванов" << "ПИ-21" << "Урок 1" << "u1.htm" << "nn1 nn2 nn5"
        << row("Урок 1", "Иванов", "ПИ-21");
    QTest::newRow("no match keeps the previous lesson, visit under the node's text")
        << 2 << 4 << "Иванов" << "ПИ-21" << "Урок 3" << "zas.mht" << "" << QStringList();
    QTest::newRow("no match after a lesson with a page shows that page")
        << 0 << 4 << "Петров" << "" << "Урок 1" << "u1.htm" << "nn1 nn2 nn5"
        << (row("Урок 1", "Петров", "") + row("Нет такого урока", "Петров", ""));
    QTest::newRow("a page naming a missing file shows the cover, no visit")
        << -1 << 1 << "Иванов" << "ПИ-21" << "Урок 2" << "zas.mht" << "nn1 nn3 nn4 N8" << QStringList();
    QTest::newRow("a Null page shows the cover") << -1 << 2 << "Иванов" << "ПИ-21" << "Урок 3" << "zas.mht"
                                                 << "" << QStringList();
    QTest::newRow("an empty page counts as not set") << -1 << 3 << "Иванов" << "ПИ-21" << "Урок 4" << "zas.mht"
                                                     << "" << QStringList();
    QTest::newRow("an empty name box writes no journal row, even with a group")
        << -1 << 0 << "" << "ПИ-21" << "Урок 1" << "u1.htm" << "nn1 nn2 nn5" << QStringList();
    QTest::newRow("two nodes with the same text open the same row")
        << 2 << 5 << "Иванов" << "ПИ-21" << "Урок 1" << "u1.htm" << "nn1 nn2 nn5"
        << row("Урок 1", "Иванов", "ПИ-21");
    QTest::newRow("name and group are cut to 50 characters")
        << -1 << 0 << QString(60, QChar(0x42F)) << QString(55, 'G') << "Урок 1" << "u1.htm" << "nn1 nn2 nn5"
        << row("Урок 1", QString(50, QChar(0x42F)), QString(50, 'G'));
}

void TestLessonSelection::select()
{
    QFETCH(int, before);
    QFETCH(int, node);
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(QString, lesson);
    QFETCH(QString, page);
    QFETCH(QString, commands);
    QFETCH(QStringList, journal);

    component<QLineEdit>(Form6, "Edit1")->setText(name);
    component<QLineEdit>(Form6, "Edit2")->setText(group);
    if (before >= 0)
        selectNode(before);
    selectNode(node);

    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(DataModule2->Turok->value("urok").toString(), lesson);
    QCOMPARE(component<QLabel>(Form1, "DBText1")->text(), lesson);
    QCOMPARE(enabledCommands(Form1), commands);
    QTRY_COMPARE(component<PageViewer>(Form1, "WebBrowser1")->view()->url().fileName(), page);
    QCOMPARE(m_course->rows("SELECT urok, data, ocenka, fio, gruppa FROM jurnal ORDER BY код"), journal);
}

void TestLessonSelection::openedNodeShowsItsSelectedImage()
{
    const QImage opened = QIcon(":/icons/topic-opened.svg").pixmap(16, 16).toImage();
    auto selectedImage = [](QTreeWidgetItem *node) {
        return node->icon(0).pixmap(16, 16, QIcon::Selected).toImage();
    };
    QTreeWidgetItem *node = component<QTreeWidget>(Form1, "TreeView1")->topLevelItem(1);
    QTreeWidgetItem *other = component<QTreeWidget>(Form1, "TreeView1")->topLevelItem(2);
    QVERIFY(selectedImage(node) != opened);
    selectNode(1);
    QCOMPARE(selectedImage(node), opened);
    QCOMPARE(node->icon(0).pixmap(16, 16, QIcon::Normal).toImage(),
             QIcon(":/icons/topic.svg").pixmap(16, 16).toImage());
    QVERIFY(selectedImage(other) != opened);
}

KORVELTA_WIDGET_TEST_MAIN(TestLessonSelection)

#include "tst_lessonselection.moc"
