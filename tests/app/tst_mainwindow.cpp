#include "Components.h"
#include "CourseSession.h"
#include "MenuBarStyle.h"
#include "Messages.h"
#include "PageText.h"
#include "PageViewer.h"
#include "Platform.h"
#include "TestCourse.h"
#include "TopicTreeFile.h"
#include "Unit1.h"
#include "Unit2.h"
#include "WidgetTestMain.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStringEncoder>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <QtTest>

#include <memory>

namespace {

QByteArray cp1251(const QString &text)
{
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

QByteArray coverArchive(const QString &marker)
{
    return QStringLiteral("MIME-Version: 1.0\r\n"
                          "Content-Type: multipart/related; boundary=\"b\"; type=\"text/html\"\r\n\r\n"
                          "--b\r\nContent-Type: text/html; charset=\"utf-8\"\r\n"
                          "Content-Location: file:///zas.htm\r\n\r\n"
                          "<html><body><h1>%1</h1></body></html>\r\n--b--\r\n")
        .arg(marker)
        .toUtf8();
}

} // namespace

// The real main window on a small course folder, with the page viewer running.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsOnCoverPageAndWritesTreeBack();
    void collapseAndExpandTheTopicList();
    void missingTreeFileSkipsTheRestOfCreation();
    void badLevelKeepsTheUnreadRestInABackup();
    void treeThatCannotBeWrittenKeepsTheWindowOpen();
    void menuIconStandsBeforeItsCaption_data();
    void menuIconStandsBeforeItsCaption();
    void separatorsCarryNoCaption();

private:
    void start();

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
    CourseSession m_session;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TDataModule2> m_module;
};

void TestMainWindow::init()
{
    m_course = std::make_unique<TestCourse>();
    m_course->exec("INSERT INTO urok (urok, htm) VALUES ('Урок 1', 'uroki\\u1.htm')");
    m_course->writeFile("zas.mht", coverArchive("Cover page of the course"));
    m_course->writeFile("help.mht", coverArchive("Help page of the course"));
    m_messages = std::make_unique<Messages::Recorder>();
}

void TestMainWindow::cleanup()
{
    m_form.reset();
    m_module.reset();
    Form1 = nullptr;
    DataModule2 = nullptr;
    m_messages.reset();
    m_course.reset();
}

void TestMainWindow::start()
{
    m_form = std::make_unique<TForm1>(m_session);
    Form1 = m_form.get();
    m_module = std::make_unique<TDataModule2>();
    DataModule2 = m_module.get();
    m_form->attachDataModule(*m_module);
    m_form->show();
}

void TestMainWindow::startsOnCoverPageAndWritesTreeBack()
{
    m_course->writeFile("log.log", cp1251("Электрический ток\r\n\tУрок 1\r\nЗаконы\r\n"));
    start();

    QCOMPARE(m_messages->errors, QStringList());
    QCOMPARE(m_form->windowTitle(), QString("Обучающая система"));
    QCOMPARE(component<QTreeWidget>(m_form, "TreeView1")->topLevelItemCount(), 2);
    QCOMPARE(component<QTreeWidget>(m_form, "TreeView1")->topLevelItem(0)->child(0)->text(0), QString("Урок 1"));
    QTRY_VERIFY_WITH_TIMEOUT(pageText(component<PageViewer>(m_form, "WebBrowser1")->view()).contains("Cover page of the course"),
                             20000);
    QVERIFY(component<QLabel>(m_form, "statusCredit")->text().startsWith("Автор: "));
    for (QAction *item : {component<QAction>(m_form, "nn2"), component<QAction>(m_form, "nn3"), component<QAction>(m_form, "nn4"), component<QAction>(m_form, "nn5")})
        QVERIFY(!item->isEnabled());
    QVERIFY(component<QAction>(m_form, "nn1")->isEnabled());
    QVERIFY(component<QAction>(m_form, "N8")->isEnabled());
    QVERIFY(!component<QAction>(m_form, "N1")->isVisible());
    // The title bar follows the first lesson row before any topic is chosen.
    QCOMPARE(component<QLabel>(m_form, "DBText1")->text(), QString("Урок 1"));

    m_form->Timer1Timer();
    QVERIFY(!component<QLabel>(m_form, "statusDate")->text().isEmpty());
    QVERIFY(!component<QLabel>(m_form, "statusTime")->text().isEmpty());

    m_form->N2Click();
    QTRY_VERIFY_WITH_TIMEOUT(pageText(component<PageViewer>(m_form, "WebBrowser1")->view()).contains("Help page of the course"), 20000);

    new QTreeWidgetItem(component<QTreeWidget>(m_form, "TreeView1")->topLevelItem(1), QStringList("Закон Ома"));
    QVERIFY(m_form->close());
    QCOMPARE(m_course->readFile("log.log"), cp1251("Электрический ток\r\n\tУрок 1\r\nЗаконы\r\n\tЗакон Ома\r\n"));
}

void TestMainWindow::collapseAndExpandTheTopicList()
{
    m_course->writeFile("log.log", "A\r\n");
    start();
    const int titleX = component<QLabel>(m_form, "DBText1")->x();
    m_form->BitBtn5Click();
    QCOMPARE(component<QWidget>(m_form, "Panel2")->width(), 15);
    QVERIFY(component<QPushButton>(m_form, "BitBtn4")->isVisible() && !component<QPushButton>(m_form, "BitBtn5")->isVisible());
    m_form->BitBtn4Click();
    QCOMPARE(component<QWidget>(m_form, "Panel2")->width(), 345);
    QVERIFY(!component<QPushButton>(m_form, "BitBtn4")->isVisible() && component<QPushButton>(m_form, "BitBtn5")->isVisible());
    QCOMPARE(component<QLabel>(m_form, "DBText1")->x(), titleX);
}

void TestMainWindow::missingTreeFileSkipsTheRestOfCreation()
{
    start();
    QCOMPARE(m_messages->errors.size(), 1);
    QVERIFY2(m_messages->errors.at(0).startsWith(
                 QStringLiteral("Cannot open file \"%1\". ").arg(m_course->filePath("log.log"))),
             qPrintable(m_messages->errors.at(0)));
    QVERIFY(component<QLabel>(m_form, "statusCredit")->text().isEmpty());
    QVERIFY(component<QAction>(m_form, "nn2")->isEnabled() && component<QAction>(m_form, "nn5")->isEnabled());
    QCOMPARE(component<QTreeWidget>(m_form, "TreeView1")->topLevelItemCount(), 1);
    QVERIFY(m_form->close());
    QCOMPARE(m_course->readFile("log.log"), QByteArray("\r\n"));
}

void TestMainWindow::badLevelKeepsTheUnreadRestInABackup()
{
    const QByteArray original("A\r\n\tB\r\n\t\t\tDeep\r\nC\r\n");
    m_course->writeFile("log.log", original);
    start();
    QCOMPARE(m_messages->errors, QStringList{"Invalid level (3) for item \"Deep\""});
    QCOMPARE(m_form->topicNodes(), (QVector<TopicNode>{{0, "A"}, {1, "B"}}));
    QVERIFY(component<QLabel>(m_form, "statusCredit")->text().isEmpty());

    QVERIFY(m_form->close());
    QCOMPARE(m_course->readFile("log.log"), QByteArray("A\r\n\tB\r\n"));
    QCOMPARE(m_course->readFile("log.log.bak"), original);
    QCOMPARE(m_messages->infos.size(), 1);
    QVERIFY(m_messages->infos.at(0).contains("log.log.bak"));
}

void TestMainWindow::treeThatCannotBeWrittenKeepsTheWindowOpen()
{
    m_course->writeFile("log.log", "A\r\n");
    start();
    // The course folder goes away under the running program.
    const QString moved = m_course->path() + "-moved";
    QVERIFY(QDir().rename(m_course->path(), moved));
    const bool closed = m_form->close();
    QVERIFY(QDir().rename(moved, m_course->path()));
    QVERIFY(!closed);
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_messages->errors.size(), 1);
    QVERIFY(m_messages->errors.at(0).startsWith("Cannot create file \""));
}

void TestMainWindow::menuIconStandsBeforeItsCaption_data()
{
    QTest::addColumn<QString>("item");
    for (const char *item : {"nn1", "nn2", "nn3", "nn4", "nn6", "nn7", "nn5"})
        QTest::newRow(item) << QString(item);
}

void TestMainWindow::menuIconStandsBeforeItsCaption()
{
    QFETCH(QString, item);
    m_course->writeFile("log.log", "A\r\n");
    start();
    QMenuBar *bar = component<QMenuBar>(m_form, "MainMenu1");
    QAction *action = nullptr;
    for (QAction *candidate : bar->actions()) {
        if (candidate->objectName() == item || (candidate->menu() && candidate->menu()->objectName() == item))
            action = candidate;
    }
    QVERIFY(action);
    QVERIFY(!action->icon().isNull());
    action->setEnabled(true);

    // A transparent icon of the same size: whatever the item shows inside the
    // icon's place is then caption that a real icon would cover.
    QPixmap clear(MenuBarStyle::IconSize, MenuBarStyle::IconSize);
    clear.fill(Qt::transparent);
    action->setIcon(QIcon(clear));
    const QRect itemRect = bar->actionGeometry(action);
    const QImage shot = bar->grab(itemRect).toImage();
    const QRect icon = MenuBarStyle::iconRect(QRect(QPoint(), itemRect.size()));
    const QColor background = shot.pixelColor(icon.center());

    int captionLeft = shot.width();
    int inIcon = 0;
    for (int y = 0; y < shot.height() - 2; ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            const bool ink = qAbs(c.lightness() - background.lightness()) > 80;
            if (!ink)
                continue;
            captionLeft = std::min(captionLeft, x);
            inIcon += icon.contains(x, y);
        }
    }
    QVERIFY2(captionLeft < shot.width(), "no caption drawn");
    QCOMPARE(inIcon, 0);
    // A gap between the icon and the first letter.
    QVERIFY2(captionLeft > icon.right() + MenuBarStyle::Gap,
             qPrintable(QString("caption starts at %1, the icon ends at %2").arg(captionLeft).arg(icon.right())));
}

void TestMainWindow::separatorsCarryNoCaption()
{
    m_course->writeFile("log.log", "A\r\n");
    start();
    int separators = 0;
    for (QAction *top : component<QMenuBar>(m_form, "MainMenu1")->actions()) {
        if (!top->menu())
            continue;
        for (QAction *action : top->menu()->actions()) {
            if (!action->isSeparator())
                continue;
            ++separators;
            // The style draws a separator's text beside its line.
            QVERIFY2(action->text().isEmpty(), qPrintable(action->objectName() + ": " + action->text()));
        }
    }
    QCOMPARE(separators, 1);
    QVERIFY(component<QAction>(m_form, "N6")->isSeparator());
}

KORVELTA_WIDGET_TEST_MAIN(TestMainWindow)

#include "tst_mainwindow.moc"
