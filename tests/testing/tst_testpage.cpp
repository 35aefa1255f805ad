#include "Components.h"
#include "Messages.h"
#include "PageText.h"
#include "PageViewer.h"
#include "Platform.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "TestWindowButtons.h"
#include "Unit13.h"
#include "Unit2.h"
#include "WidgetTestMain.h"

#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <QtTest>

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

    QTest::mouseClick(component<QPushButton>(&form, "BitBtn41"), Qt::LeftButton);
    QTRY_VERIFY(component<QWidget>(&form, "Panel2")->isVisible());
    QPushButton *seventh = numberButtons().at(6);
    QTest::mouseClick(seventh, Qt::LeftButton);
    const int question = form.session().TestSlot[7].question;
    QTRY_VERIFY_WITH_TIMEOUT(pageText(component<PageViewer>(&form, "WebBrowser1")->view()).contains(QStringLiteral("Вопрос номер %1").arg(question)),
                             20000);
    QCOMPARE(TForm13::captionColour(seventh), TForm13::Red);
    QCOMPARE(messages.errors, QStringList());

    DataModule2 = nullptr;
    Form13 = nullptr;
}

KORVELTA_WIDGET_TEST_MAIN(TestTestPage)

#include "tst_testpage.moc"
