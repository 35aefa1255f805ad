#include "MediaFixtures.h"
#include "MediaPlayer.h"
#include "Messages.h"
#include "PictureFixtures.h"
#include "StepLimit.h"
#include "TableCursor.h"
#include "Platform.h"
#include "TestCourse.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "ui_Unit1.h"
#include "ui_Unit3.h"
#include "WidgetTestMain.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaPlayer>
#include <QMetaEnum>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QVideoWidget>
#include <QtTest>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

namespace {

// The longest a step that drives the players may take: Open waits for the
// media at most MediaPlayer::OpenTimeoutMs itself, and a step opens once.
constexpr auto PlayerStepLimit = 30s;
// A sound of under a second that has not ended after this is stuck.
constexpr auto SoundEndLimit = 20s;

template <typename Enum>
QString keyOf(Enum value)
{
    return QString::fromLatin1(QMetaEnum::fromType<Enum>().valueToKey(value));
}

// Empty when the player reaches the end of what it plays within the limit;
// otherwise says what was awaited and where the player stands.
QString endNotReached(const MediaPlayer *player, std::chrono::seconds limit)
{
    const QMediaPlayer *media = player->player();
    if (QTest::qWaitFor([media] { return media->mediaStatus() == QMediaPlayer::EndOfMedia; },
                        int(std::chrono::milliseconds(limit).count())))
        return QString();
    return QStringLiteral("waited %1 s for %2 to play to its end; the player stands at %3, %4, %5 of %6 ms")
        .arg(limit.count())
        .arg(player->fileName(), keyOf(media->mediaStatus()), keyOf(media->playbackState()))
        .arg(media->position())
        .arg(media->duration());
}

// One command of a scenario and what the window shows after it.
struct Step
{
    QString action;  // "select X", "N5", "N8", "N7 <file>", "N7" (cancelled), "nn3"
    QString marks;   // checked items among N5 and N8, e.g. "N5 N8"
    QString player1; // "-" with nothing open, else "<file> playing" or "<file> stopped"
    QString player2;
    QString error;   // the error box shown, "" for none, "*" for any player error
};

using Steps = QVector<Step>;

// A window manager (openbox) on the test display while it lives: the stacking
// of windows that stay on top is its work.
class WindowManager final
{
public:
    WindowManager()
    {
        m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        if (!m_process.waitForStarted(5000))
            return;
        for (int i = 0; i < 100 && !m_ready; ++i) {
            QTest::qWait(100);
            m_ready = managing();
        }
    }
    ~WindowManager()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    WindowManager(const WindowManager &) = delete;
    WindowManager &operator=(const WindowManager &) = delete;

    bool ready() const { return m_ready; }

private:
    static bool managing()
    {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"});
        xprop.waitForFinished(5000);
        return xprop.readAllStandardOutput().contains("window id");
    }

    QProcess m_process;
    bool m_ready = false;
};

} // namespace

Q_DECLARE_METATYPE(Steps)

// The lesson attachment commands of the real main window on a small course.
class TestAttachments : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void melodyAndNarrationSwitches_data();
    void melodyAndNarrationSwitches();
    void commandsWithoutTheirFileDoNothing_data();
    void commandsWithoutTheirFileDoNothing();
    void pictureCommand_data();
    void pictureCommand();
    void soundPlaysToTheEnd_data();
    void soundPlaysToTheEnd();
    void videoOpensAWindowOfItsOwn();
    void boxesComeInFrontOfThePictureWindow_data();
    void boxesComeInFrontOfThePictureWindow();
    void practiceProgramStartsInTheCourseFolder();

private:
    void run(const Step &step);
    void setPicture(const QString &file);
    static QString state(const MediaPlayer *player);
    QString marks() const;

    std::unique_ptr<TestCourse> m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TDataModule2> m_module;
    std::unique_ptr<TForm3> m_picture;
};

void TestAttachments::init()
{
    m_course = std::make_unique<TestCourse>();
    TestCourse &c = *m_course;
    c.exec("INSERT INTO urok (urok, htm, jpg, avi, mid, wav, exe) VALUES "
           "('A', 'a.htm', 'pic\\a.bmp', 'video\\tiny.avi', 'muz\\a.mid', 'zvuk\\a.wav', 'prog\\run.sh')");
    c.exec("INSERT INTO urok (urok, mid, wav) VALUES ('B', 'muz\\b.wav', 'zvuk\\b.wav')");
    c.exec("INSERT INTO urok (urok) VALUES ('C')");
    c.exec("INSERT INTO urok (urok, htm, jpg, avi, mid, wav, exe) VALUES ('D', '', '', '', '', '', '')");
    c.exec("INSERT INTO urok (urok, htm, jpg, avi, mid, wav, exe) VALUES "
           "('E', 'none.htm', 'pic\\none.bmp', 'video\\none.avi', 'muz\\none.mid', 'zvuk\\none.wav', 'prog\\none')");
    c.exec("INSERT INTO urok (urok, mid, wav) VALUES ('F', 'muz\\bad.mid', 'zvuk\\bad.wav')");
    c.writeFile("log.log", "A\r\nB\r\nC\r\nD\r\nE\r\nF\r\n");
    c.writeFile("zas.mht", "MIME-Version: 1.0\r\n\r\ncover");
    c.writeFile("a.htm", "<html><body>A</body></html>");
    c.writeFile("pic/a.bmp", PictureFixtures::image("bmp", QSize(40, 20)));
    QFile video(KORVELTA_FIXTURES "/video/tiny.avi");
    QVERIFY(video.open(QIODevice::ReadOnly));
    c.writeFile("video/tiny.avi", video.readAll());
    // Long enough that no step sees them end.
    c.writeFile("muz/a.mid", MediaFixtures::midi(20000));
    c.writeFile("muz/b.wav", MediaFixtures::wav(20000));
    c.writeFile("muz/c.wav", MediaFixtures::wav(20000));
    c.writeFile("zvuk/a.wav", MediaFixtures::wav(20000));
    c.writeFile("zvuk/b.wav", MediaFixtures::wav(20000));
    c.writeFile("muz/bad.mid", "MThd but then nothing a player could use");
    c.writeFile("zvuk/bad.wav", "RIFF....WAVEnonsense");

    m_messages = std::make_unique<Messages::Recorder>();
    const StepLimit limit(PlayerStepLimit, QStringLiteral("creating the main window with its two media players"));
    m_form = std::make_unique<TForm1>();
    Form1 = m_form.get();
    m_module = std::make_unique<TDataModule2>();
    DataModule2 = m_module.get();
    m_picture = std::make_unique<TForm3>();
    Form3 = m_picture.get();
    m_form->attachDataModule(*m_module);
    m_form->show();
    QCOMPARE(m_messages->errors, QStringList());
}

void TestAttachments::cleanup()
{
    const StepLimit limit(PlayerStepLimit, QStringLiteral("closing the main window and its media players"));
    m_picture.reset();
    m_form.reset();
    m_module.reset();
    Form3 = nullptr;
    Form1 = nullptr;
    DataModule2 = nullptr;
    m_messages.reset();
    m_course.reset();
}

QString TestAttachments::state(const MediaPlayer *player)
{
    if (!player->isOpen())
        return QStringLiteral("-");
    const QString name = player->fileName().section(QLatin1Char('\\'), -1).section(QLatin1Char('/'), -1);
    return name + (player->isPlaying() ? QStringLiteral(" playing") : QStringLiteral(" stopped"));
}

QString TestAttachments::marks() const
{
    QStringList checked;
    if (m_form->ui->N5->isChecked())
        checked << QStringLiteral("N5");
    if (m_form->ui->N8->isChecked())
        checked << QStringLiteral("N8");
    return checked.join(QLatin1Char(' '));
}

void TestAttachments::run(const Step &step)
{
    const QString command = step.action.section(QLatin1Char(' '), 0, 0);
    const QString argument = step.action.section(QLatin1Char(' '), 1);
    if (command == QLatin1String("select")) {
        const auto found = m_form->ui->TreeView1->findItems(argument, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        m_form->ui->TreeView1->setCurrentItem(found.first());
    } else if (command == QLatin1String("N5")) {
        m_form->N5Click();
    } else if (command == QLatin1String("N8")) {
        m_form->N8Click();
    } else if (command == QLatin1String("nn3")) {
        m_form->nn3Click();
    } else if (command == QLatin1String("N7")) {
        m_messages->fileAnswers = QStringList(argument.isEmpty() ? QString() : m_course->filePath(argument));
        m_form->N7Click();
        QCOMPARE(m_messages->fileFilters.takeLast(),
                 QString("Все звуки|*.mid;*.wav;*.mp3;*.kar;*.avi;*.wmv|Все файлы|*.*"));
    } else {
        QFAIL(qPrintable("unknown step " + step.action));
    }
}

void TestAttachments::setPicture(const QString &file)
{
    m_course->exec("UPDATE urok SET jpg = ? WHERE urok = 'A'", {file});
    DataModule2->Turok->refresh();
    run({"select A", "", "-", "-", ""});
}

void TestAttachments::melodyAndNarrationSwitches_data()
{
    QTest::addColumn<Steps>("steps");
    const QString noDevice = QStringLiteral("No MCI device open.");

    QTest::newRow("melody on, off, on again") << Steps{
        {"select A", "", "-", "-", ""},
        {"N5", "N5", "-", "a.mid playing", ""},
        {"N5", "", "-", "a.mid stopped", ""},
        {"N5", "N5", "-", "a.mid playing", ""},
    };
    QTest::newRow("changing topic does not stop the melody; the next use opens the new one stopped") << Steps{
        {"select A", "", "-", "-", ""},
        {"N5", "N5", "-", "a.mid playing", ""},
        {"select B", "N5", "-", "a.mid playing", ""},
        {"N5", "", "-", "b.wav stopped", ""},
        {"N5", "N5", "-", "b.wav playing", ""},
    };
    QTest::newRow("a lesson without melody stops and replays the old one") << Steps{
        {"select A", "", "-", "-", ""},
        {"N5", "N5", "-", "a.mid playing", ""},
        {"select C", "N5", "-", "a.mid playing", ""},
        {"N5", "", "-", "a.mid stopped", ""},
        {"N5", "N5", "-", "a.mid playing", ""},
    };
    QTest::newRow("no melody ever opened: the mark turns, then the player refuses") << Steps{
        {"select C", "", "-", "-", ""},
        {"N5", "N5", "-", "-", noDevice},
        {"N5", "", "-", "-", noDevice},
    };
    QTest::newRow("empty columns: melody acts on the chosen one, narration does nothing") << Steps{
        {"select D", "", "-", "-", ""},
        {"N7 muz/c.wav", "N5", "-", "c.wav playing", ""},
        {"N8", "N5", "-", "c.wav playing", ""},
        {"N5", "", "-", "c.wav stopped", ""},
        {"N5", "N5", "-", "c.wav playing", ""},
    };
    QTest::newRow("a chosen melody replaces the lesson's") << Steps{
        {"select A", "", "-", "-", ""},
        {"N5", "N5", "-", "a.mid playing", ""},
        {"N5", "", "-", "a.mid stopped", ""},
        {"N7 muz/c.wav", "N5", "-", "c.wav playing", ""},
        {"N5", "", "-", "a.mid stopped", ""},
    };
    QTest::newRow("a cancelled choice still checks the mark") << Steps{
        {"select C", "", "-", "-", ""},
        {"N7", "N5", "-", "-", ""},
        {"N5", "", "-", "-", noDevice},
    };
    QTest::newRow("a chosen file the player refuses keeps the mark and closes the melody") << Steps{
        {"select A", "", "-", "-", ""},
        {"N5", "N5", "-", "a.mid playing", ""},
        {"N5", "", "-", "a.mid stopped", ""},
        {"N7 zvuk/bad.wav", "", "-", "-", "*"},
    };
    QTest::newRow("a lesson melody the player refuses: mark turned, nothing played") << Steps{
        {"select F", "", "-", "-", ""},
        {"N5", "N5", "-", "-", "*"},
    };
    QTest::newRow("narration opens stopped, then plays from the start") << Steps{
        {"select A", "", "-", "-", ""},
        {"N8", "N8", "a.wav stopped", "-", ""},
        {"N8", "", "a.wav playing", "-", ""},
        {"N8", "N8", "a.wav stopped", "-", ""},
    };
    QTest::newRow("narration and melody play side by side, across topics") << Steps{
        {"select A", "", "-", "-", ""},
        {"N8", "N8", "a.wav stopped", "-", ""},
        {"N8", "", "a.wav playing", "-", ""},
        {"N5", "N5", "a.wav playing", "a.mid playing", ""},
        {"select B", "N5", "a.wav playing", "a.mid playing", ""},
        {"N8", "N5 N8", "b.wav stopped", "a.mid playing", ""},
    };
    QTest::newRow("video then narration: the narration closes the video") << Steps{
        {"select A", "", "-", "-", ""},
        {"nn3", "", "tiny.avi playing", "-", ""},
        {"N8", "N8", "a.wav stopped", "-", ""},
    };
    QTest::newRow("a lesson without narration keeps the mark and the player") << Steps{
        {"select A", "", "-", "-", ""},
        {"N8", "N8", "a.wav stopped", "-", ""},
        {"select C", "N8", "a.wav stopped", "-", ""},
        {"N8", "N8", "a.wav stopped", "-", ""},
    };
    QTest::newRow("a narration the player refuses keeps the mark, leaves nothing open") << Steps{
        {"select A", "", "-", "-", ""},
        {"N8", "N8", "a.wav stopped", "-", ""},
        {"select F", "N8", "a.wav stopped", "-", ""},
        {"N8", "N8", "-", "-", "*"},
    };
}

void TestAttachments::melodyAndNarrationSwitches()
{
    QFETCH(Steps, steps);
    for (const Step &step : steps) {
        m_messages->errors.clear();
        {
            const StepLimit limit(PlayerStepLimit, QStringLiteral("the step \"%1\"").arg(step.action));
            run(step);
        }
        const QString where = QStringLiteral("after \"%1\"").arg(step.action);
        QVERIFY2(marks() == step.marks, qPrintable(where + ": marks \"" + marks() + "\""));
        QVERIFY2(state(m_form->MediaPlayer1) == step.player1,
                 qPrintable(where + ": MediaPlayer1 " + state(m_form->MediaPlayer1)));
        QVERIFY2(state(m_form->MediaPlayer2) == step.player2,
                 qPrintable(where + ": MediaPlayer2 " + state(m_form->MediaPlayer2)));
        if (step.error == QLatin1String("*")) {
            QVERIFY2(m_messages->errors.size() == 1, qPrintable(where + ": " + m_messages->errors.join(" / ")));
            QVERIFY(!m_messages->errors.first().isEmpty());
        } else {
            QCOMPARE(m_messages->errors, step.error.isEmpty() ? QStringList() : QStringList(step.error));
        }
    }
}

void TestAttachments::commandsWithoutTheirFileDoNothing_data()
{
    QTest::addColumn<QString>("lesson");
    QTest::addColumn<QString>("command");
    for (const char *lesson : {"C", "D", "E"}) {
        const char *why = *lesson == 'C' ? "null" : *lesson == 'D' ? "empty" : "missing file";
        for (const char *command : {"nn1", "nn2", "nn3", "nn4", "N8"})
            QTest::addRow("%s, %s", command, why) << QString(lesson) << QString(command);
    }
}

void TestAttachments::commandsWithoutTheirFileDoNothing()
{
    QFETCH(QString, lesson);
    QFETCH(QString, command);
    run({"select " + lesson, "", "-", "-", ""});
    m_form->ui->N8->setChecked(true);
    if (command == "nn1")
        m_form->nn1Click();
    else if (command == "nn2")
        m_form->nn2Click();
    else if (command == "nn3")
        m_form->nn3Click();
    else if (command == "nn4")
        m_form->nn4Click();
    else
        m_form->N8Click();
    QCOMPARE(m_messages->errors, QStringList());
    QVERIFY(m_form->ui->N8->isChecked());
    QVERIFY(!m_form->MediaPlayer1->isOpen());
    QVERIFY(!m_picture->isVisible());
}

void TestAttachments::pictureCommand_data()
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

void TestAttachments::pictureCommand()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QFETCH(QSize, shown);
    m_course->writeFile(QString(file).replace('\\', '/'), bytes);
    setPicture(file);

    m_form->nn2Click();
    QCOMPARE(m_messages->errors, error.isEmpty() ? QStringList() : QStringList(error));
    QCOMPARE(m_picture->isVisible(), error.isEmpty());
    if (!error.isEmpty())
        return;
    QCOMPARE(m_picture->windowTitle(), QString("Графическое изображение"));
    QVERIFY(m_picture->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(m_picture->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(m_picture->size(), QSize(287, 182));
    QTRY_COMPARE(m_picture->ui->Image1->pixmap().size(), shown);

    // Anchored top-left: the picture's first pixel is at the corner, the rest of the window is not picture.
    const QImage grabbed = m_picture->ui->Image1->grab().toImage();
    const QColor corner = grabbed.pixel(1, 1);
    QVERIFY2(corner.red() > 200 && corner.green() < 60 && corner.blue() < 60, qPrintable(corner.name()));
    const QColor past = grabbed.pixel(grabbed.width() - 1, grabbed.height() - 1);
    QVERIFY2(past != QColor(Qt::red) && past != QColor(Qt::blue), qPrintable(past.name()));

    // A picture that cannot be read keeps the one shown before.
    m_course->writeFile("pic/broken.jpg", "broken");
    setPicture("pic\\broken.jpg");
    m_form->nn2Click();
    QCOMPARE(m_messages->errors.size(), 1);
    QCOMPARE(m_picture->ui->Image1->pixmap().size(), shown);

    // Rescales as the window is resized: a narrow window fits the width, a low one the height.
    m_picture->resize(100, 400);
    QTRY_COMPARE(m_picture->ui->Image1->pixmap().width(), 100);
    m_picture->resize(800, 40);
    QTRY_COMPARE(m_picture->ui->Image1->pixmap().height(), 40);
}

void TestAttachments::soundPlaysToTheEnd_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("wav") << "end.wav" << MediaFixtures::wav(300);
    QTest::newRow("midi") << "end.mid" << MediaFixtures::midi(500);
    QTest::newRow("kar is midi too") << "end.kar" << MediaFixtures::midi(500);
}

void TestAttachments::soundPlaysToTheEnd()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    m_course->writeFile(name, bytes);
    m_messages->fileAnswers = QStringList(m_course->filePath(name));
    {
        const StepLimit limit(PlayerStepLimit, QStringLiteral("choosing the melody %1").arg(name));
        m_form->N7Click();
    }
    QCOMPARE(m_messages->errors, QStringList());
    MediaPlayer *player = m_form->MediaPlayer2;
    QVERIFY(player->isPlaying());
    QString late = endNotReached(player, SoundEndLimit);
    QVERIFY2(late.isEmpty(), qPrintable(late));
    QVERIFY(!player->isPlaying());
    // At the end, Play starts again from the beginning.
    {
        const StepLimit limit(PlayerStepLimit, QStringLiteral("Play at the end of %1").arg(name));
        player->Play();
    }
    QVERIFY(player->isPlaying());
    late = endNotReached(player, SoundEndLimit);
    QVERIFY2(late.isEmpty(), qPrintable(late));
}

void TestAttachments::videoOpensAWindowOfItsOwn()
{
    run({"select A", "", "-", "-", ""});
    {
        const StepLimit limit(PlayerStepLimit, QStringLiteral("opening the video"));
        m_form->nn3Click();
    }
    QCOMPARE(m_messages->errors, QStringList());
    MediaPlayer *player = m_form->MediaPlayer1;
    QVERIFY(player->isOpen());
    QVERIFY(player->hasVideo());
    QVideoWidget *window = player->videoWindow();
    QVERIFY(window);
    QVERIFY(window->isWindow());
    QVERIFY(window->isVisible());
    QVERIFY(window->window() != m_form->window());
    // Centred on the desktop, not over the main window's topic tree at its corner.
    const QRect desktop = window->screen()->availableGeometry();
    QCOMPARE(window->pos(), desktop.topLeft() + QPoint((desktop.width() - window->width()) / 2,
                                                       (desktop.height() - window->height()) / 2));

    // Closing the window pauses the video; the player keeps its device.
    QVERIFY(player->isPlaying());
    QVERIFY(window->close());
    QTRY_VERIFY(!player->isPlaying());
    QVERIFY(player->isOpen());
    QCOMPARE(player->player()->playbackState(), QMediaPlayer::PausedState);
    m_form->nn3Click();
    QVERIFY(window->isVisible());
    QVERIFY(player->isPlaying());

    // Opening something else on the same player closes the video and its window.
    {
        const StepLimit limit(PlayerStepLimit, QStringLiteral("opening the narration over the video"));
        m_form->N8Click();
    }
    QVERIFY(!window->isVisible());
}

void TestAttachments::boxesComeInFrontOfThePictureWindow_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("error box of \"Схема\" on a picture of unknown kind") << "nn2";
    QTest::newRow("file dialog of \"Выбрать мелодию\"") << "N7";
}

void TestAttachments::boxesComeInFrontOfThePictureWindow()
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
    run({"select A", "", "-", "-", ""});
    m_form->nn2Click();
    QVERIFY(m_picture->isVisible());
    m_picture->setGeometry(m_picture->screen()->availableGeometry());
    m_course->writeFile("pic/a.xyz", PictureFixtures::image("bmp", QSize(40, 20)));
    setPicture("pic\\a.xyz");
    // The command comes from the main window, as when the learner uses its menu
    // (activated the way a click or the task bar does it).
    QProcess::execute(QStringLiteral("xdotool"),
                      {"windowactivate", "--sync", QString::number(m_form->window()->winId())});
    QTRY_COMPARE(QApplication::activeWindow(), m_form.get());

    // No recorder: the real box runs; it is looked at and closed from within its own loop.
    m_messages.reset();
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
        m_form->nn2Click();
    else
        m_form->N7Click();
    m_messages = std::make_unique<Messages::Recorder>();

    QCOMPARE(front, QStringLiteral("the box"));
}

void TestAttachments::practiceProgramStartsInTheCourseFolder()
{
    m_course->writeFile("prog/run.sh", "#!/bin/sh\npwd > started.txt\n");
    QFile::setPermissions(m_course->filePath("prog/run.sh"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    run({"select A", "", "-", "-", ""});
    m_form->nn4Click();
    QCOMPARE(m_messages->errors, QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_course->filePath("started.txt")), 10000);
    QTRY_COMPARE(m_course->readFile("started.txt").trimmed(), QDir(m_course->path()).canonicalPath().toLocal8Bit());

    // A program that cannot be started gives no message.
    QFile::setPermissions(m_course->filePath("prog/run.sh"), QFile::ReadOwner | QFile::WriteOwner);
    m_form->nn4Click();
    QCOMPARE(m_messages->errors, QStringList());
}

KORVELTA_WIDGET_TEST_MAIN(TestAttachments)

#include "tst_attachments.moc"
