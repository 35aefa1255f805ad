#include "Messages.h"
#include "Platform.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "Unit1.h"
#include "Unit13.h"
#include "Unit2.h"
#include "Unit5.h"
#include "Unit6.h"
#include "ui_Unit13.h"
#include "ui_Unit5.h"
#include "WidgetTestMain.h"

#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QWebEngineView>
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
    std::unique_ptr<TForm6> m_form6;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm13> m_form13;
    std::unique_ptr<TDataModule2> m_module;
    std::unique_ptr<TForm5> m_form5;
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

    // Created in the program's order.
    m_form6 = std::make_unique<TForm6>();
    Form6 = m_form6.get();
    m_form1 = std::make_unique<TForm1>();
    Form1 = m_form1.get();
    m_form13 = std::make_unique<TForm13>();
    Form13 = m_form13.get();
    m_module = std::make_unique<TDataModule2>();
    DataModule2 = m_module.get();
    m_form5 = std::make_unique<TForm5>();
    Form5 = m_form5.get();
    m_form1->attachDataModule(*m_module);

    m_seed = 1;
    m_form13->session.seedSource = [this] { return m_seed; };
    m_form6->Edit1->setText("Иванов Иван Иванович, ученик очень длинного класса номер сто");
    m_form6->Edit2->setText("ПИ-21");
    selectLesson(TestedLesson);
}

void TestTestWindow::cleanup()
{
    m_form5.reset();
    m_module.reset();
    m_form13.reset();
    m_form1.reset();
    m_form6.reset();
    Form5 = nullptr;
    DataModule2 = nullptr;
    Form13 = nullptr;
    Form1 = nullptr;
    Form6 = nullptr;
    m_messages.reset();
    m_course.reset();
}

void TestTestWindow::selectLesson(const QString &title)
{
    QVERIFY(DataModule2->Turok->locate("urok", title));
}

void TestTestWindow::openSlot(int slot)
{
    m_form13->numberButtons.at(slot - 1)->click();
}

void TestTestWindow::answerRight(int slot)
{
    openSlot(slot);
    m_form13->answerButtons.at(m_form13->session.TestSlot[slot].correct - 1)->click();
}

QStringList TestTestWindow::journal() const
{
    return m_course->rows("SELECT urok, data, ocenka, fio, gruppa FROM jurnal");
}

void TestTestWindow::opensOnlyForALessonWithATest()
{
    selectLesson(LessonWithoutTest);
    m_form1->nn5Click();
    QVERIFY(!m_form13->isVisible());

    selectLesson(TestedLesson);
    m_form1->nn5Click();
    QVERIFY(m_form13->isVisible());
    QCOMPARE(m_form13->windowTitle(), QString("Тестирование"));
    QVERIFY(!m_form13->ui->Panel2->isVisible());
    QCOMPARE(m_form13->numberButtons.size(), 40);
    QCOMPARE(m_form13->numberButtons.at(39)->text(), QString("40"));
    QCOMPARE(m_form13->numberButtons.at(39)->x(), 16 + 24 * 39);
    QCOMPARE(m_messages->errors, QStringList());
}

void TestTestWindow::testFromStartToJournal()
{
    m_form1->nn5Click();
    m_form13->ui->BitBtn41->click();
    QCOMPARE(m_messages->errors, QStringList());
    QVERIFY(m_form13->ui->Panel2->isVisible());
    QVERIFY(!m_form13->ui->BitBtn41->isEnabled());
    for (QPushButton *button : m_form13->numberButtons + m_form13->answerButtons)
        QCOMPARE(TForm13::captionColour(button), TForm13::Black);

    // Opening a slot shows its question and marks the number red.
    openSlot(3);
    const int question = m_form13->session.TestSlot[3].question;
    QTRY_COMPARE(m_form13->ui->WebBrowser1->view()->url().toLocalFile(),
                 m_course->filePath(QStringLiteral("testy/urok2/%1.htm").arg(question)));
    QCOMPARE(m_form13->session.CurrentSlot, 3);
    QCOMPARE(TForm13::captionColour(m_form13->numberButtons.at(2)), TForm13::Red);
    QCOMPARE(TForm13::captionColour(m_form13->numberButtons.at(3)), TForm13::Black);

    // The chosen answer is red; opening another slot shows that slot's choice.
    m_form13->ui->BitBtn45->click();
    QCOMPARE(int(m_form13->session.TestSlot[3].chosen), 3);
    QCOMPARE(TForm13::captionColour(m_form13->ui->BitBtn45), TForm13::Red);
    m_form13->ui->BitBtn47->click();
    QCOMPARE(int(m_form13->session.TestSlot[3].chosen), 5);
    QCOMPARE(TForm13::captionColour(m_form13->ui->BitBtn45), TForm13::Black);
    QCOMPARE(TForm13::captionColour(m_form13->ui->BitBtn47), TForm13::Red);
    openSlot(4);
    for (QPushButton *button : m_form13->answerButtons)
        QCOMPARE(TForm13::captionColour(button), TForm13::Black);
    openSlot(3);
    QCOMPARE(TForm13::captionColour(m_form13->ui->BitBtn47), TForm13::Red);

    for (int slot = 1; slot <= 28; ++slot)
        answerRight(slot);
    m_form13->ui->BitBtn42->click();
    QVERIFY(m_form13->ui->BitBtn41->isEnabled());
    QVERIFY(!m_form13->ui->Panel2->isVisible());
    QCOMPARE(m_form13->session.RightCount, 28);
    QCOMPARE(m_form13->session.WrongCount, 12);
    QVERIFY(m_form5->isVisible());
    QVERIFY(m_form13->isVisible());

    m_form5->FormActivate();
    QCOMPARE(m_form5->ui->Label4->text(), QString("28"));
    QCOMPARE(m_form5->ui->Label5->text(), QString("70"));
    QCOMPARE(m_form5->ui->Label6->text(), QString("4"));

    m_form5->ui->Button1->click();
    QVERIFY(!m_form5->isVisible());
    QVERIFY(!m_form13->isVisible());
    QCOMPARE(m_messages->errors, QStringList());
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    QCOMPARE(journal(), QStringList{TestedLesson + "|" + today + "|70|"
                                    + m_form6->Edit1->text().left(50) + "|ПИ-21"});
}

void TestTestWindow::closingDuringATestStartsItAfresh()
{
    m_form1->nn5Click();
    m_form13->BitBtn41Click();
    answerRight(1);
    m_seed = 99;
    QVERIFY(!m_form13->close());
    QVERIFY(m_form13->isVisible());
    QVERIFY(m_form13->session.running);
    QVERIFY(!m_form13->ui->BitBtn41->isEnabled());
    QCOMPARE(int(m_form13->session.TestSlot[1].chosen), 0);
    QCOMPARE(TForm13::captionColour(m_form13->numberButtons.at(0)), TForm13::Black);

    m_form13->BitBtn42Click();
    QVERIFY(m_form13->close());
    QVERIFY(!m_form13->isVisible());
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
    m_form1->nn5Click();
    if (before == "failed start") {
        m_form13->BitBtn41Click();
        m_form13->BitBtn42Click();
        m_form5->hide();
        QVERIFY(QFile::remove(m_course->filePath("testy/urok2/otwet.txt")));
        m_form13->BitBtn41Click();
        QCOMPARE(m_messages->errors, QStringList{"File not found."});
    } else if (before == "finished test") {
        m_form13->BitBtn41Click();
        openSlot(1);
        m_form13->answerButtons.at(m_form13->session.TestSlot[1].correct % 5)->click(); // a wrong one
        m_form13->BitBtn42Click();
        QCOMPARE(m_form13->session.RightCount, 0);
        m_form5->hide();
    }

    // The answer buttons stay usable: the learner corrects the slot still on show.
    const int current = m_form13->session.CurrentSlot;
    m_form13->answerButtons.at(current > 0 ? m_form13->session.TestSlot[current].correct - 1 : 0)->click();
    m_form13->BitBtn42Click();
    QCOMPARE(m_form5->isVisible(), graded);
    QCOMPARE(m_form13->session.RightCount, graded ? 1 : 0);
    QCOMPARE(m_form13->session.RightCount + m_form13->session.WrongCount, graded ? 40 : 0);
}

void TestTestWindow::startWithoutTestInTheCurrentLesson()
{
    m_form1->nn5Click();
    m_form13->BitBtn41Click();
    m_form13->BitBtn42Click();
    m_form5->hide();
    openSlot(2);
    QCOMPARE(TForm13::captionColour(m_form13->numberButtons.at(1)), TForm13::Red);

    // Another topic was chosen after the window opened.
    selectLesson(LessonWithoutTest);
    m_form13->BitBtn41Click();
    QCOMPARE(m_messages->errors,
             QStringList{"Could not convert variant of type (Null) into type (String)"});
    QCOMPARE(m_form13->session.TestDir, QString("\\testy\\urok2\\"));
    QVERIFY(m_form13->ui->BitBtn41->isEnabled());
    QVERIFY(!m_form13->ui->Panel2->isVisible());
    QCOMPARE(TForm13::captionColour(m_form13->numberButtons.at(1)), TForm13::Black);
}

void TestTestWindow::missingKey()
{
    m_form1->nn5Click();
    QVERIFY(QFile::remove(m_course->filePath("testy/urok2/otwet.txt")));
    m_form13->BitBtn41Click();
    QCOMPARE(m_messages->errors, QStringList{"File not found."});
    QVERIFY(m_form13->ui->BitBtn41->isEnabled());
    QVERIFY(!m_form13->ui->Panel2->isVisible());
    QVERIFY(!m_form13->session.running);
    QVERIFY(m_form13->close());
}

void TestTestWindow::missingKeyOnTheRestartKeepsTheTestGoing()
{
    m_form1->nn5Click();
    m_form13->BitBtn41Click();
    answerRight(5);
    const int question = m_form13->session.TestSlot[5].question;
    QVERIFY(QDir(m_course->filePath("testy/urok2")).removeRecursively());

    QVERIFY(!m_form13->close());
    QCOMPARE(m_messages->errors, QStringList{"Invalid filename."});
    QVERIFY(m_form13->isVisible());
    QVERIFY(m_form13->ui->Panel2->isVisible());
    QVERIFY(!m_form13->ui->BitBtn41->isEnabled());
    QCOMPARE(m_form13->session.TestSlot[5].question, question);
    QCOMPARE(int(m_form13->session.TestSlot[5].chosen), 0);
}

void TestTestWindow::newStartWhileTheResultIsShownRecordsNothing()
{
    m_form1->nn5Click();
    m_form13->BitBtn41Click();
    for (int slot = 1; slot <= 20; ++slot)
        answerRight(slot);
    m_form13->BitBtn42Click();
    m_form5->FormActivate();
    QCOMPARE(m_form5->ui->Label5->text(), QString("50"));
    QCOMPARE(m_form5->ui->Label6->text(), QString("2"));

    m_form13->BitBtn41Click();
    m_messages->errors.clear();
    m_form5->FormActivate();
    m_form5->FormActivate();
    // Said once, not at every activation; the percent and mark keep their text.
    QCOMPARE(m_messages->errors, QStringList{"Invalid floating point operation."});
    QCOMPARE(m_form5->ui->Label4->text(), QString("0"));
    QCOMPARE(m_form5->ui->Label5->text(), QString("50"));

    m_messages->errors.clear();
    m_form5->Button1Click();
    QCOMPARE(m_messages->errors, QStringList());
    QVERIFY(!m_form5->isVisible());
    // The running test was refused its close and started again.
    QVERIFY(m_form13->isVisible());
    QVERIFY(m_form13->session.running);
    QCOMPARE(journal(), QStringList());
}

void TestTestWindow::withoutANameNothingIsRecorded()
{
    m_form6->Edit1->clear();
    m_form1->nn5Click();
    m_form13->BitBtn41Click();
    m_form13->BitBtn42Click();
    m_form5->Button1Click();
    QVERIFY(!m_form5->isVisible());
    QVERIFY(!m_form13->isVisible());
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
    m_form1->nn5Click();
    m_form13->BitBtn41Click();
    for (int slot = 1; slot <= 20; ++slot)
        answerRight(slot);
    m_form13->BitBtn42Click();
    QVERIFY(QTest::qWaitForWindowExposed(m_form5.get()));

    if (how == "Esc")
        QTest::keyClick(m_form5.get(), Qt::Key_Escape);
    else
        QVERIFY(m_form5->close());
    QCOMPARE(m_form5->isVisible(), !closes);
    QVERIFY(m_form13->isVisible());
    QCOMPARE(journal(), QStringList());

    // "Закончить  тест" grades the finished test again and shows its result; "Ок" records it.
    m_form13->BitBtn42Click();
    QVERIFY(m_form5->isVisible());
    m_form5->FormActivate();
    QCOMPARE(m_form5->ui->Label5->text(), QString("50"));
    m_form5->ui->Button1->click();
    QVERIFY(!m_form5->isVisible());
    QVERIFY(!m_form13->isVisible());
    QCOMPARE(journal().size(), 1);
    QVERIFY(journal().first().contains("|50|"));
}

KORVELTA_WIDGET_TEST_MAIN(TestTestWindow)

#include "tst_testwindow.moc"
