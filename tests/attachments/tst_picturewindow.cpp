#include "AttachmentsCourse.h"
#include "Components.h"
#include "PictureFixtures.h"
#include "Unit1.h"
#include "Unit3.h"
#include "WidgetTestMain.h"
#include "WindowManager.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <memory>

// The picture window and the practice program of the real main window on a small course.
class TestPictureWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pictureCommand_data();
    void pictureCommand();
    void boxesComeInFrontOfThePictureWindow_data();
    void boxesComeInFrontOfThePictureWindow();
    void practiceProgramStartsInTheCourseFolder();

private:
    std::unique_ptr<AttachmentsCourse> m_on;
};

void TestPictureWindow::init()
{
    m_on = std::make_unique<AttachmentsCourse>();
    QVERIFY(QFile::exists(m_on->course().filePath("video/tiny.avi")));
    QCOMPARE(m_on->messages().errors, QStringList());
}

void TestPictureWindow::cleanup()
{
    m_on.reset();
}

void TestPictureWindow::pictureCommand_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QSize>("shown");

    const QByteArray bmp = PictureFixtures::image("bmp", QSize(40, 20));
    QTest::newRow("bitmap fills the width") << "pic\\a.bmp" << bmp << "" << QSize(287, 143);
    QTest::newRow("upper-case jpeg") << "pic\\A.JPG" << PictureFixtures::image("jpg", QSize(20, 40)) << ""
                                     << QSize(91, 182);
    QTest::newRow("unknown extension") << "pic\\a.gif" << bmp << "Unknown picture file extension (.gif)" << QSize();
    QTest::newRow("corrupt jpeg") << "pic\\a.jpg" << QByteArray("garbage")
                                  << "Not a JPEG file: starts with 0x67 0x61." << QSize();
}


void TestPictureWindow::pictureCommand()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QFETCH(QSize, shown);
    m_on->course().writeFile(QString(file).replace('\\', '/'), bytes);
    m_on->setPicture(file);

    Form1->nn2Click();
    QCOMPARE(m_on->messages().errors, error.isEmpty() ? QStringList() : QStringList(error));
    QCOMPARE(Form3->isVisible(), error.isEmpty());
    if (!error.isEmpty())
        return;
    QCOMPARE(Form3->windowTitle(), QString("Графическое изображение"));
    QVERIFY(Form3->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(Form3->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(Form3->size(), QSize(287, 182));
    QTRY_COMPARE(component<QLabel>(Form3, "Image1")->pixmap().size(), shown);

    // Anchored top-left: the picture's first pixel is at the corner, the rest of the window is not picture.
    const QImage grabbed = component<QLabel>(Form3, "Image1")->grab().toImage();
    const QColor corner = grabbed.pixel(1, 1);
    QVERIFY2(corner.red() > 200 && corner.green() < 60 && corner.blue() < 60, qPrintable(corner.name()));
    const QColor past = grabbed.pixel(grabbed.width() - 1, grabbed.height() - 1);
    QVERIFY2(past != QColor(Qt::red) && past != QColor(Qt::blue), qPrintable(past.name()));

    // A picture that cannot be read keeps the one shown before.
    m_on->course().writeFile("pic/broken.jpg", "broken");
    m_on->setPicture("pic\\broken.jpg");
    Form1->nn2Click();
    QCOMPARE(m_on->messages().errors.size(), 1);
    QCOMPARE(component<QLabel>(Form3, "Image1")->pixmap().size(), shown);

    // Rescales as the window is resized: a narrow window fits the width, a low one the height.
    Form3->resize(100, 400);
    QTRY_COMPARE(component<QLabel>(Form3, "Image1")->pixmap().width(), 100);
    Form3->resize(800, 40);
    QTRY_COMPARE(component<QLabel>(Form3, "Image1")->pixmap().height(), 40);
}


void TestPictureWindow::boxesComeInFrontOfThePictureWindow_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("error box of \"Схема\" on a picture of unknown kind") << "nn2";
    QTest::newRow("file dialog of \"Выбрать мелодию\"") << "N7";
}


void TestPictureWindow::boxesComeInFrontOfThePictureWindow()
{
    QFETCH(QString, command);
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display");
    for (const char *tool : {"openbox", "xprop", "xdotool"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(QString("%1 is not installed").arg(tool)));
    }
    const WindowManager manager;
    QVERIFY(manager.ready());

    // The picture window is open, top-most, and covers the whole desktop.
    m_on->run({"select A", "", "-", "-", ""});
    Form1->nn2Click();
    QVERIFY(Form3->isVisible());
    Form3->setGeometry(Form3->screen()->availableGeometry());
    m_on->course().writeFile("pic/a.xyz", PictureFixtures::image("bmp", QSize(40, 20)));
    m_on->setPicture("pic\\a.xyz");
    // The command comes from the main window, as when the learner uses its menu
    // (activated the way a click or the task bar does it).
    // On a loaded machine the window manager may take its time, or drop the
    // first request while it still stacks the picture window: ask again.
    for (int attempt = 0; attempt < 3 && QApplication::activeWindow() != Form1; ++attempt) {
        QProcess::execute(QStringLiteral("xdotool"),
                          {"windowactivate", "--sync", QString::number(Form1->window()->winId())});
        if (QTest::qWaitFor([&] { return QApplication::activeWindow() == Form1; }, 5000))
            break;
    }
    QCOMPARE(QApplication::activeWindow(), Form1);

    // No recorder: the real box runs; it is looked at and closed from within its own loop.
    m_on->showMessages();
    QString front = QStringLiteral("no box shown");
    QElapsedTimer shown;
    QTimer look;
    connect(&look, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        // Time for the window manager to stack it.
        if (!shown.isValid())
            shown.start();
        if (shown.elapsed() < 1000)
            return;
        // The window the display shows at the box's centre, by the server's stacking.
        const QWidget *top = QApplication::topLevelAt(box->mapToGlobal(box->rect().center()));
        front = top == box ? QStringLiteral("the box") : top ? top->windowTitle() : QStringLiteral("nothing");
        box->reject();
    });
    look.start(50);
    if (command == "nn2")
        Form1->nn2Click();
    else
        Form1->N7Click();
    m_on->recordMessages();

    QCOMPARE(front, QStringLiteral("the box"));
}


void TestPictureWindow::practiceProgramStartsInTheCourseFolder()
{
    m_on->course().writeFile("prog/run.sh", "#!/bin/sh\npwd > started.txt\n");
    QFile::setPermissions(m_on->course().filePath("prog/run.sh"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_on->run({"select A", "", "-", "-", ""});
    Form1->nn4Click();
    QCOMPARE(m_on->messages().errors, QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_on->course().filePath("started.txt")), 10000);
    QTRY_COMPARE(m_on->course().readFile("started.txt").trimmed(), QDir(m_on->course().path()).canonicalPath().toLocal8Bit());

    // A program that cannot be started gives no message.
    QFile::setPermissions(m_on->course().filePath("prog/run.sh"), QFile::ReadOwner | QFile::WriteOwner);
    Form1->nn4Click();
    QCOMPARE(m_on->messages().errors, QStringList());
}


KORVELTA_WIDGET_TEST_MAIN(TestPictureWindow)

#include "tst_picturewindow.moc"
