#include "Components.h"
#include "CourseSession.h"
#include "Platform.h"
#include "StartScreenFade.h"
#include "TestCourse.h"
#include "Unit1.h"
#include "Unit6.h"
#include "WidgetTestMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <memory>

// The start screen: its fade arithmetic, its shape, dragging, and the hand-over.
class TestStartScreen : public QObject
{
    Q_OBJECT

private slots:
    void fadeIn();
    void handOver_data();
    void handOver();
    void shapeCutsAwayPureRed();
    void dragKeepsTheGrabbedPointUnderTheMouse();
    void proceedFadesOutAndShowsTheMainWindow();
    void tabOrderAndLabelsBesideTheirBoxes();
    void eachFadeStepReachesTheDisplay_data();
    void eachFadeStepReachesTheDisplay();
};

void TestStartScreen::fadeIn()
{
    StartScreenFade fade;
    QList<int> seen;
    while (fade.fadeInTick())
        seen << fade.opacity();
    seen << fade.opacity();
    QCOMPARE(seen.size(), 25);
    QCOMPARE(seen.first(), 10);
    QCOMPARE(seen.last(), 250);
}

void TestStartScreen::handOver_data()
{
    QTest::addColumn<int>("startOpacity");
    QTest::addColumn<int>("handOverTick");
    QTest::addColumn<int>("opacityAtHandOver");

    QTest::newRow("full fade-out from 250") << 250 << 22 << 30;
    QTest::newRow("from 49, the first tick hands over") << 49 << 1 << 39;
    QTest::newRow("from 10, the first tick hands over") << 10 << 1 << 0;
    QTest::newRow("from 50 it takes two ticks") << 50 << 2 << 30;
    QTest::newRow("from 0 it stops at 0 instead of wrapping round") << 0 << 1 << 0;
    QTest::newRow("from 5 it stops at 0") << 5 << 1 << 0;
}

void TestStartScreen::handOver()
{
    QFETCH(int, startOpacity);
    QFETCH(int, handOverTick);
    QFETCH(int, opacityAtHandOver);

    StartScreenFade fade;
    fade.setOpacity(startOpacity);
    int tick = 0;
    bool done = false;
    while (!done && tick < 100) {
        done = fade.fadeOutTick();
        ++tick;
    }
    QCOMPARE(tick, handOverTick);
    QCOMPARE(fade.opacity(), opacityAtHandOver);
}

void TestStartScreen::shapeCutsAwayPureRed()
{
    CourseSession session;
    TForm6 screen(session);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QCOMPARE(screen.size(), QSize(941, 617));
    const QRegion shape = screen.mask();
    const QImage plate(":/title.png");
    QCOMPARE(plate.pixel(0, 0), qRgb(255, 0, 0));
    QVERIFY(!shape.contains(QPoint(0, 0)));
    QVERIFY(!shape.contains(QPoint(940, 616)));
    QVERIFY(shape.contains(QPoint(600, 500)));
    // Every pixel of the picture that is not pure red belongs to the window.
    for (int y = 0; y < plate.height(); y += 7) {
        for (int x = 0; x < plate.width(); x += 7)
            QCOMPARE(shape.contains(QPoint(x, y)), plate.pixel(x, y) != qRgb(255, 0, 0));
    }
}

void TestStartScreen::dragKeepsTheGrabbedPointUnderTheMouse()
{
    CourseSession session;
    TForm6 screen(session);
    screen.move(100, 100);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    const QPoint start = screen.pos();
    const QPoint grabbed(300, 200);

    QTest::mousePress(component<QLabel>(&screen, "Image1"), Qt::LeftButton, {}, grabbed);
    QVERIFY(screen.isDragActive());
    // The mouse travels (+40, -25): in picture coordinates it is then at grabbed + travel.
    QMouseEvent move(QEvent::MouseMove, QPointF(grabbed + QPoint(40, -25)), QPointF(), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(component<QLabel>(&screen, "Image1"), &move);
    QTRY_COMPARE(screen.pos(), start + QPoint(40, -25));
    // The picture followed, so the grabbed point is under the mouse again: no further move.
    QMouseEvent still(QEvent::MouseMove, QPointF(grabbed), QPointF(), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(component<QLabel>(&screen, "Image1"), &still);
    QCOMPARE(screen.pos(), start + QPoint(40, -25));
    QTest::mouseRelease(component<QLabel>(&screen, "Image1"), Qt::LeftButton, {}, grabbed);
    QVERIFY(!screen.isDragActive());
    QMouseEvent after(QEvent::MouseMove, QPointF(grabbed + QPoint(90, 90)), QPointF(), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(component<QLabel>(&screen, "Image1"), &after);
    QCOMPARE(screen.pos(), start + QPoint(40, -25));
}

void TestStartScreen::proceedFadesOutAndShowsTheMainWindow()
{
    TestCourse course;
    course.writeFile("log.log", "A\r\n");
    CourseSession session;
    auto form6 = std::make_unique<TForm6>(session);
    Form6 = form6.get();
    auto form1 = std::make_unique<TForm1>(session);
    Form1 = form1.get();
    form6->show();
    // The test drives the timers' ticks itself, without waiting for them.
    int ticks = 0;
    while (component<QTimer>(form6, "Timer1")->isActive() && ticks < 100) {
        form6->Timer1Timer();
        ++ticks;
    }
    QCOMPARE(ticks, 25);
    QCOMPARE(form6->opacity(), 250);

    QTest::mouseClick(component<QWidget>(form6, "Panel1"), Qt::LeftButton);
    QVERIFY(component<QTimer>(form6, "Timer2")->isActive());
    component<QTimer>(form6, "Timer2")->stop();
    for (int i = 1; i < 22; ++i) {
        form6->Timer2Timer();
        QVERIFY2(form6->isVisible() && !form1->isVisible(), qPrintable(QString("tick %1").arg(i)));
    }
    form6->Timer2Timer();
    QVERIFY(!form6->isVisible());
    QVERIFY(form1->isVisible());
    QVERIFY(!component<QTimer>(form6, "Timer1")->isActive());

    // The boxes keep their text for the rest of the run, and what is typed
    // there is the learner of every journal row.
    component<QLineEdit>(form6, "Edit1")->setText("Иванов");
    component<QLineEdit>(form6, "Edit2")->setText("ПИ-21");
    QCOMPARE(session.learnerName(), QString("Иванов"));
    QCOMPARE(session.learnerGroup(), QString("ПИ-21"));
    form1.reset();
    form6.reset();
    Form1 = nullptr;
    Form6 = nullptr;
}

void TestStartScreen::tabOrderAndLabelsBesideTheirBoxes()
{
    CourseSession session;
    TForm6 screen(session);
    QCOMPARE(component<QLineEdit>(&screen, "Edit1")->nextInFocusChain(), static_cast<QWidget *>(component<QLineEdit>(&screen, "Edit2")));
    // Each label stands level with its own box: the name label with the name box.
    auto level = [](QWidget *label, QWidget *box) {
        return qAbs(label->geometry().center().y() - box->geometry().center().y()) <= 8;
    };
    QCOMPARE(component<QLabel>(&screen, "Label1")->text(), QString("Введите ФИО"));
    QCOMPARE(component<QLabel>(&screen, "Label2")->text(), QString("Введите группу"));
    QVERIFY(level(component<QLabel>(&screen, "Label1"), component<QLineEdit>(&screen, "Edit1")));
    QVERIFY(level(component<QLabel>(&screen, "Label2"), component<QLineEdit>(&screen, "Edit2")));
    QCOMPARE(component<QLineEdit>(&screen, "Edit1")->geometry(), QRect(469, 439, 361, 24));
    QCOMPARE(component<QLineEdit>(&screen, "Edit2")->geometry(), QRect(469, 477, 273, 24));
}

namespace {

// The window's opacity (0 to 255) as the display server holds it, read over a
// connection of its own, as a compositing manager reads it; -1 when unset.
int serverOpacity(WId window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {"-id", QString::number(window), "_NET_WM_WINDOW_OPACITY"});
    if (!xprop.waitForFinished(10000))
        return -2;
    const QString out = QString::fromLatin1(xprop.readAllStandardOutput());
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("= (\\d+)")).match(out);
    return m.hasMatch() ? int(std::lround(m.captured(1).toDouble() * 255.0 / 0xFFFFFFFFu)) : -1;
}

} // namespace

void TestStartScreen::eachFadeStepReachesTheDisplay_data()
{
    QTest::addColumn<bool>("fadeOut");
    QTest::newRow("fade-in") << false;
    QTest::newRow("fade-out") << true;
}

void TestStartScreen::eachFadeStepReachesTheDisplay()
{
    QFETCH(bool, fadeOut);
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display");
    if (QStandardPaths::findExecutable("xprop").isEmpty())
        QSKIP("xprop is not installed");

    CourseSession session;
    TForm6 screen(session);
    component<QTimer>(&screen, "Timer1")->stop();
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    if (fadeOut)
        screen.setOpacity(250);
    QTest::qWait(200);

    // Each tick is followed by no event processing at all: nothing else of the
    // program's (no input, no repaint) may carry the change to the server.
    for (int tick = 1; tick <= 6; ++tick) {
        if (fadeOut)
            screen.Timer2Timer();
        else
            screen.Timer1Timer();
        QCOMPARE(serverOpacity(screen.winId()), screen.opacity());
    }
}

KORVELTA_WIDGET_TEST_MAIN(TestStartScreen)

#include "tst_startscreen.moc"
