#include "Messages.h"
#include "Platform.h"
#include "TestCourse.h"
#include "TopicTreeFile.h"
#include "Unit1.h"
#include "Unit2.h"
#include "ui_Unit1.h"
#include "WidgetTestMain.h"

#include <QStringEncoder>
#include <QWebEnginePage>
#include <QWebEngineView>
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

QString pageText(QWebEngineView *view)
{
    QString text;
    bool done = false;
    view->page()->toPlainText([&](const QString &t) {
        text = t;
        done = true;
    });
    QDeadlineTimer deadline(10000);
    while (!done && !deadline.hasExpired())
        QTest::qWait(20);
    return text;
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

private:
    void start();

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
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
    m_form = std::make_unique<TForm1>();
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
    QCOMPARE(m_form->ui->TreeView1->topLevelItemCount(), 2);
    QCOMPARE(m_form->ui->TreeView1->topLevelItem(0)->child(0)->text(0), QString("Урок 1"));
    QTRY_VERIFY_WITH_TIMEOUT(pageText(m_form->ui->WebBrowser1->view()).contains("Cover page of the course"),
                             20000);
    QVERIFY(m_form->statusCredit->text().startsWith("Автор: "));
    for (QAction *item : {m_form->ui->nn2, m_form->ui->nn3, m_form->ui->nn4, m_form->ui->nn5})
        QVERIFY(!item->isEnabled());
    QVERIFY(m_form->ui->nn1->isEnabled());
    QVERIFY(m_form->ui->N8->isEnabled());
    QVERIFY(!m_form->ui->N1->isVisible());
    // The title bar follows the first lesson row before any topic is chosen.
    QCOMPARE(m_form->ui->DBText1->text(), QString("Урок 1"));

    m_form->Timer1Timer();
    QVERIFY(!m_form->statusDate->text().isEmpty());
    QVERIFY(!m_form->statusTime->text().isEmpty());

    m_form->N2Click();
    QTRY_VERIFY_WITH_TIMEOUT(pageText(m_form->ui->WebBrowser1->view()).contains("Help page of the course"), 20000);

    new QTreeWidgetItem(m_form->ui->TreeView1->topLevelItem(1), QStringList("Закон Ома"));
    QVERIFY(m_form->close());
    QCOMPARE(m_course->readFile("log.log"), cp1251("Электрический ток\r\n\tУрок 1\r\nЗаконы\r\n\tЗакон Ома\r\n"));
}

void TestMainWindow::collapseAndExpandTheTopicList()
{
    m_course->writeFile("log.log", "A\r\n");
    start();
    const int titleX = m_form->ui->DBText1->x();
    m_form->BitBtn5Click();
    QCOMPARE(m_form->ui->Panel2->width(), 15);
    QVERIFY(m_form->ui->BitBtn4->isVisible() && !m_form->ui->BitBtn5->isVisible());
    m_form->BitBtn4Click();
    QCOMPARE(m_form->ui->Panel2->width(), 345);
    QVERIFY(!m_form->ui->BitBtn4->isVisible() && m_form->ui->BitBtn5->isVisible());
    QCOMPARE(m_form->ui->DBText1->x(), titleX);
}

void TestMainWindow::missingTreeFileSkipsTheRestOfCreation()
{
    start();
    QCOMPARE(m_messages->errors.size(), 1);
    QVERIFY2(m_messages->errors.at(0).startsWith(
                 QStringLiteral("Cannot open file \"%1\". ").arg(m_course->filePath("log.log"))),
             qPrintable(m_messages->errors.at(0)));
    QVERIFY(m_form->statusCredit->text().isEmpty());
    QVERIFY(m_form->ui->nn2->isEnabled() && m_form->ui->nn5->isEnabled());
    QCOMPARE(m_form->ui->TreeView1->topLevelItemCount(), 1);
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
    QVERIFY(m_form->statusCredit->text().isEmpty());

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

KORVELTA_WIDGET_TEST_MAIN(TestMainWindow)

#include "tst_mainwindow.moc"
