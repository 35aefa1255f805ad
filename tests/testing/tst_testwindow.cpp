#include "Components.h"
#include "Messages.h"
#include "PageViewer.h"
#include "Platform.h"
#include "TableCursor.h"
#include "ProgramWindows.h"
#include "TestCourse.h"
#include "TestWindowButtons.h"
#include "Unit1.h"
#include "Unit13.h"
#include "Unit2.h"
#include "Unit5.h"
#include "Unit6.h"
#include "WidgetTestMain.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWebEngineView>
#include <QWidget>
#include <QtTest>

#include <memory>

namespace {

const QString TestedLesson = QStringLiteral("Урок 2. Закон Ома");
const QString LessonWithoutTest = QStringLiteral("Урок 1. Ток");

} // namespace

// The test and result windows with the main window, the start screen and the
// data module on a small course whose test folder holds ten questions.
class TestTestWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnlyForALessonWithATest();
    void testFromStartToJournal();
    void closingDuringATestStartsItAfresh();
    void finishWhenNoTestRuns_data();
    void finishWhenNoTestRuns();
    void startWithoutTestInTheCurrentLesson();
    void missingKey();
    void missingKeyOnTheRestartKeepsTheTestGoing();
    void newStartWhileTheResultIsShownRecordsNothing();
    void withoutANameNothingIsRecorded();
    void resultClosedByMistakeComesBack_data();
    void resultClosedByMistakeComesBack();

private:
    void selectLesson(const QString &title);
    void openSlot(int slot);
    void answerRight(int slot);
    QStringList journal() const;

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
    quint32 m_seed = 0;
};

void TestTestWindow::init()
{
    m_course = std::make_unique<TestCourse>();
    m_course->exec("INSERT INTO urok (urok, htm) VALUES (?, 'uroki\\u1.htm')", {LessonWithoutTest});
    m_course->exec("INSERT INTO urok (urok, htm, test) VALUES (?, 'uroki\\u2.htm', 'testy\\urok2\\otwet.txt')",
                   {TestedLesson});
    QByteArray key;
    for (int question = 1; question <= 10; ++question) {
        key += char('A' + question % 5) + QByteArray("\r\n");
        m_course->writeFile(QStringLiteral("testy/urok2/%1.htm").arg(question),
                            QStringLiteral("<html><body>Вопрос %1</body></html>").arg(question).toUtf8());
    }
    m_course->writeFile("testy/urok2/otwet.txt", key);
    m_course->writeFile("log.log", "A\r\n");
    m_course->writeFile("zas.mht", "");
    m_messages = std::make_unique<Messages::Recorder>();

    m_windows = std::make_unique<ProgramWindows>();

    m_seed = 1;
    Form13->session().seedSource = [this] { return m_seed; };
    component<QLineEdit>(Form6, "Edit1")->setText("Иванов Иван Иванович, ученик очень длинного класса номер сто");
    component<QLineEdit>(Form6, "Edit2")->setText("ПИ-21");
    selectLesson(TestedLesson);
}

void TestTestWindow::cleanup()
{
    m_windows.reset();
    m_messages.reset();
    m_course.reset();
}

void TestTestWindow::selectLesson(const QString &title)
{
    QVERIFY(DataModule2->Turok->locate("urok", title));
}

void TestTestWindow::openSlot(int slot)
{
    numberButtons().at(slot - 1)->click();
}

void TestTestWindow::answerRight(int slot)
{
    openSlot(slot);
    answerButtons().at(Form13->session().TestSlot[slot].correct - 1)->click();
}

QStringList TestTestWindow::journal() const
{
    return m_course->rows("SELECT urok, data, ocenka, fio, gruppa FROM jurnal");
}

void TestTestWindow::opensOnlyForALessonWithATest()
{
    selectLesson(LessonWithoutTest);
    Form1->nn5Click();
    QVERIFY(!Form13->isVisible());

    selectLesson(TestedLesson);
    Form1->nn5Click();
    QVERIFY(Form13->isVisible());
    QCOMPARE(Form13->windowTitle(), QString("Тестирование"));
    QVERIFY(!component<QWidget>(Form13, "Panel2")->isVisible());
    QCOMPARE(numberButtons().size(), 40);
    QCOMPARE(numberButtons().at(39)->text(), QString("40"));
    QCOMPARE(numberButtons().at(39)->x(), 16 + 24 * 39);
    QCOMPARE(m_messages->errors, QStringList());
}

void TestTestWindow::testFromStartToJournal()
{
    Form1->nn5Click();
    component<QPushButton>(Form13, "BitBtn41")->click();
    QCOMPARE(m_messages->errors, QStringList());
    QVERIFY(component<QWidget>(Form13, "Panel2")->isVisible());
    QVERIFY(!component<QPushButton>(Form13, "BitBtn41")->isEnabled());
    for (QPushButton *button : numberButtons() + answerButtons())
        QCOMPARE(TForm13::captionColour(button), TForm13::Black);

    // Opening a slot shows its question and marks the number red.
    openSlot(3);
    const int question = Form13->session().TestSlot[3].question;
    QTRY_COMPARE(component<PageViewer>(Form13, "WebBrowser1")->view()->url().toLocalFile(),
                 m_course->filePath(QStringLiteral("testy/urok2/%1.htm").arg(question)));
    QCOMPARE(Form13->session().CurrentSlot, 3);
    QCOMPARE(TForm13::captionColour(numberButtons().at(2)), TForm13::Red);
    QCOMPARE(TForm13::captionColour(numberButtons().at(3)), TForm13::Black);

    // The chosen answer is red; opening another slot shows that slot's choice.
    component<QPushButton>(Form13, "BitBtn45")->click();
    QCOMPARE(int(Form13->session().TestSlot[3].chosen), 3);
    QCOMPARE(TForm13::captionColour(component<QPushButton>(Form13, "BitBtn45")), TForm13::Red);
    component<QPushButton>(Form13, "BitBtn47")->click();
    QCOMPARE(int(Form13->session().TestSlot[3].chosen), 5);
    QCOMPARE(TForm13::captionColour(component<QPushButton>(Form13, "BitBtn45")), TForm13::Black);
    QCOMPARE(TForm13::captionColour(component<QPushButton>(Form13, "BitBtn47")), TForm13::Red);
    openSlot(4);
    for (QPushButton *button : answerButtons())
        QCOMPARE(TForm13::captionColour(button), TForm13::Black);
    openSlot(3);
    QCOMPARE(TForm13::captionColour(component<QPushButton>(Form13, "BitBtn47")), TForm13::Red);

    for (int slot = 1; slot <= 28; ++slot)
        answerRight(slot);
    component<QPushButton>(Form13, "BitBtn42")->click();
    QVERIFY(component<QPushButton>(Form13, "BitBtn41")->isEnabled());
    QVERIFY(!component<QWidget>(Form13, "Panel2")->isVisible());
    QCOMPARE(Form13->session().RightCount, 28);
    QCOMPARE(Form13->session().WrongCount, 12);
    QVERIFY(Form5->isVisible());
    QVERIFY(Form13->isVisible());

    Form5->FormActivate();
    QCOMPARE(component<QLabel>(Form5, "Label4")->text(), QString("28"));
    QCOMPARE(component<QLabel>(Form5, "Label5")->text(), QString("70"));
    QCOMPARE(component<QLabel>(Form5, "Label6")->text(), QString("4"));

    component<QPushButton>(Form5, "Button1")->click();
    QVERIFY(!Form5->isVisible());
    QVERIFY(!Form13->isVisible());
    QCOMPARE(m_messages->errors, QStringList());
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    QCOMPARE(journal(), QStringList{TestedLesson + "|" + today + "|70|"
                                    + component<QLineEdit>(Form6, "Edit1")->text().left(50) + "|ПИ-21"});
}

void TestTestWindow::closingDuringATestStartsItAfresh()
{
    Form1->nn5Click();
    Form13->BitBtn41Click();
    answerRight(1);
    m_seed = 99;
    QVERIFY(!Form13->close());
    QVERIFY(Form13->isVisible());
    QVERIFY(Form13->session().running);
    QVERIFY(!component<QPushButton>(Form13, "BitBtn41")->isEnabled());
    QCOMPARE(int(Form13->session().TestSlot[1].chosen), 0);
    QCOMPARE(TForm13::captionColour(numberButtons().at(0)), TForm13::Black);

    Form13->BitBtn42Click();
    QVERIFY(Form13->close());
    QVERIFY(!Form13->isVisible());
}

void TestTestWindow::finishWhenNoTestRuns_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("graded");

    QTest::newRow("before the first start: nothing to grade") << "" << false;
    QTest::newRow("after a start that failed: nothing to grade") << "failed start" << false;
    QTest::newRow("after a finished test: graded again") << "finished test" << true;
}

void TestTestWindow::finishWhenNoTestRuns()
{
    QFETCH(QString, before);
    QFETCH(bool, graded);
    Form1->nn5Click();
    if (before == "failed start") {
        Form13->BitBtn41Click();
        Form13->BitBtn42Click();
        Form5->hide();
        QVERIFY(QFile::remove(m_course->filePath("testy/urok2/otwet.txt")));
        Form13->BitBtn41Click();
        QCOMPARE(m_messages->errors, QStringList{"File not found."});
    } else if (before == "finished test") {
        Form13->BitBtn41Click();
        openSlot(1);
        answerButtons().at(Form13->session().TestSlot[1].correct % 5)->click(); // a wrong one
        Form13->BitBtn42Click();
        QCOMPARE(Form13->session().RightCount, 0);
        Form5->hide();
    }

    // The answer buttons stay usable: the learner corrects the slot still on show.
    const int current = Form13->session().CurrentSlot;
    answerButtons().at(current > 0 ? Form13->session().TestSlot[current].correct - 1 : 0)->click();
    Form13->BitBtn42Click();
    QCOMPARE(Form5->isVisible(), graded);
    QCOMPARE(Form13->session().RightCount, graded ? 1 : 0);
    QCOMPARE(Form13->session().RightCount + Form13->session().WrongCount, graded ? 40 : 0);
}

void TestTestWindow::startWithoutTestInTheCurrentLesson()
{
    Form1->nn5Click();
    Form13->BitBtn41Click();
    Form13->BitBtn42Click();
    Form5->hide();
    openSlot(2);
    QCOMPARE(TForm13::captionColour(numberButtons().at(1)), TForm13::Red);

    // Another topic was chosen after the window opened.
    selectLesson(LessonWithoutTest);
    Form13->BitBtn41Click();
    QCOMPARE(m_messages->errors,
             QStringList{"Could not convert variant of type (Null) into type (String)"});
    QCOMPARE(Form13->session().TestDir, QString("\\testy\\urok2\\"));
    QVERIFY(component<QPushButton>(Form13, "BitBtn41")->isEnabled());
    QVERIFY(!component<QWidget>(Form13, "Panel2")->isVisible());
    QCOMPARE(TForm13::captionColour(numberButtons().at(1)), TForm13::Black);
}

void TestTestWindow::missingKey()
{
    Form1->nn5Click();
    QVERIFY(QFile::remove(m_course->filePath("testy/urok2/otwet.txt")));
    Form13->BitBtn41Click();
    QCOMPARE(m_messages->errors, QStringList{"File not found."});
    QVERIFY(component<QPushButton>(Form13, "BitBtn41")->isEnabled());
    QVERIFY(!component<QWidget>(Form13, "Panel2")->isVisible());
    QVERIFY(!Form13->session().running);
    QVERIFY(Form13->close());
}

void TestTestWindow::missingKeyOnTheRestartKeepsTheTestGoing()
{
    Form1->nn5Click();
    Form13->BitBtn41Click();
    answerRight(5);
    const int question = Form13->session().TestSlot[5].question;
    QVERIFY(QDir(m_course->filePath("testy/urok2")).removeRecursively());

    QVERIFY(!Form13->close());
    QCOMPARE(m_messages->errors, QStringList{"Invalid filename."});
    QVERIFY(Form13->isVisible());
    QVERIFY(component<QWidget>(Form13, "Panel2")->isVisible());
    QVERIFY(!component<QPushButton>(Form13, "BitBtn41")->isEnabled());
    QCOMPARE(Form13->session().TestSlot[5].question, question);
    QCOMPARE(int(Form13->session().TestSlot[5].chosen), 0);
}

void TestTestWindow::newStartWhileTheResultIsShownRecordsNothing()
{
    Form1->nn5Click();
    Form13->BitBtn41Click();
    for (int slot = 1; slot <= 20; ++slot)
        answerRight(slot);
    Form13->BitBtn42Click();
    Form5->FormActivate();
    QCOMPARE(component<QLabel>(Form5, "Label5")->text(), QString("50"));
    QCOMPARE(component<QLabel>(Form5, "Label6")->text(), QString("2"));

    Form13->BitBtn41Click();
    m_messages->errors.clear();
    Form5->FormActivate();
    Form5->FormActivate();
    // Said once, not at every activation; the percent and mark keep their text.
    QCOMPARE(m_messages->errors, QStringList{"Invalid floating point operation."});
    QCOMPARE(component<QLabel>(Form5, "Label4")->text(), QString("0"));
    QCOMPARE(component<QLabel>(Form5, "Label5")->text(), QString("50"));

    m_messages->errors.clear();
    Form5->Button1Click();
    QCOMPARE(m_messages->errors, QStringList());
    QVERIFY(!Form5->isVisible());
    // The running test was refused its close and started again.
    QVERIFY(Form13->isVisible());
    QVERIFY(Form13->session().running);
    QCOMPARE(journal(), QStringList());
}

void TestTestWindow::withoutANameNothingIsRecorded()
{
    component<QLineEdit>(Form6, "Edit1")->clear();
    Form1->nn5Click();
    Form13->BitBtn41Click();
    Form13->BitBtn42Click();
    Form5->Button1Click();
    QVERIFY(!Form5->isVisible());
    QVERIFY(!Form13->isVisible());
    QCOMPARE(journal(), QStringList());
}

void TestTestWindow::resultClosedByMistakeComesBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closes");

    QTest::newRow("Esc leaves the window open") << "Esc" << false;
    QTest::newRow("the frame's close button closes it") << "frame" << true;
}

void TestTestWindow::resultClosedByMistakeComesBack()
{
    QFETCH(QString, how);
    QFETCH(bool, closes);
    Form1->nn5Click();
    Form13->BitBtn41Click();
    for (int slot = 1; slot <= 20; ++slot)
        answerRight(slot);
    Form13->BitBtn42Click();
    QVERIFY(QTest::qWaitForWindowExposed(Form5));

    if (how == "Esc")
        QTest::keyClick(Form5, Qt::Key_Escape);
    else
        QVERIFY(Form5->close());
    QCOMPARE(Form5->isVisible(), !closes);
    QVERIFY(Form13->isVisible());
    QCOMPARE(journal(), QStringList());

    // "Закончить  тест" grades the finished test again and shows its result; "Ок" records it.
    Form13->BitBtn42Click();
    QVERIFY(Form5->isVisible());
    Form5->FormActivate();
    QCOMPARE(component<QLabel>(Form5, "Label5")->text(), QString("50"));
    component<QPushButton>(Form5, "Button1")->click();
    QVERIFY(!Form5->isVisible());
    QVERIFY(!Form13->isVisible());
    QCOMPARE(journal().size(), 1);
    QVERIFY(journal().first().contains("|50|"));
}

KORVELTA_WIDGET_TEST_MAIN(TestTestWindow)

#include "tst_testwindow.moc"
