#include "Messages.h"
#include "Platform.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "Unit13.h"
#include "Unit2.h"
#include "ui_Unit13.h"
#include "WidgetTestMain.h"

#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

namespace {

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

// The real test window on a display: a number button shows its question page.
class TestTestPage : public QObject
{
    Q_OBJECT

private slots:
    void numberButtonShowsTheQuestionPage();
};

void TestTestPage::numberButtonShowsTheQuestionPage()
{
    TestCourse course;
    course.exec("INSERT INTO urok (urok, test) VALUES ('Урок', 'testy\\t\\otwet.txt')");
    course.writeFile("testy/t/otwet.txt", "A\r\nB\r\nC\r\n");
    for (int question = 1; question <= 3; ++question) {
        course.writeFile(QStringLiteral("testy/t/%1.htm").arg(question),
                         QStringLiteral("<html><head><meta charset=\"utf-8\"></head>"
                                        "<body><p>Вопрос номер %1</p></body></html>")
                             .arg(question)
                             .toUtf8());
    }
    Messages::Recorder messages;
    TForm13 form;
    Form13 = &form;
    TDataModule2 module;
    DataModule2 = &module;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QTest::mouseClick(form.ui->BitBtn41, Qt::LeftButton);
    QTRY_VERIFY(form.ui->Panel2->isVisible());
    QPushButton *seventh = form.numberButtons.at(6);
    QTest::mouseClick(seventh, Qt::LeftButton);
    const int question = form.session.TestSlot[7].question;
    QTRY_VERIFY_WITH_TIMEOUT(pageText(form.ui->WebBrowser1->view()).contains(QStringLiteral("Вопрос номер %1").arg(question)),
                             20000);
    QCOMPARE(TForm13::captionColour(seventh), TForm13::Red);
    QCOMPARE(messages.errors, QStringList());

    DataModule2 = nullptr;
    Form13 = nullptr;
}

KORVELTA_WIDGET_TEST_MAIN(TestTestPage)

#include "tst_testpage.moc"
