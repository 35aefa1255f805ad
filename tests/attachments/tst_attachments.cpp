#include "AttachmentsCourse.h"
#include "Components.h"
#include "MediaFixtures.h"
#include "MediaPlayer.h"
#include "StepLimit.h"
#include "Unit1.h"
#include "Unit3.h"
#include "WidgetTestMain.h"

#include <QAction>
#include <QFile>
#include <QMediaPlayer>
#include <QScreen>
#include <QVideoWidget>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(Steps)

// The sound and video commands of the real main window on a small course.
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
    void soundPlaysToTheEnd_data();
    void soundPlaysToTheEnd();
    void videoOpensAWindowOfItsOwn();

private:
    std::unique_ptr<AttachmentsCourse> m_on;
};

void TestAttachments::init()
{
    m_on = std::make_unique<AttachmentsCourse>();
    QVERIFY(QFile::exists(m_on->course().filePath("video/tiny.avi")));
    QCOMPARE(m_on->messages().errors, QStringList());
}

void TestAttachments::cleanup()
{
    m_on.reset();
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
        m_on->messages().errors.clear();
        {
            const StepLimit limit(PlayerStepLimit, QStringLiteral("the step \"%1\"").arg(step.action));
            m_on->run(step);
        }
        const QString where = QStringLiteral("after \"%1\"").arg(step.action);
        QVERIFY2(m_on->marks() == step.marks, qPrintable(where + ": marks \"" + m_on->marks() + "\""));
        QVERIFY2(AttachmentsCourse::state(component<MediaPlayer>(Form1, "MediaPlayer1")) == step.player1,
                 qPrintable(where + ": MediaPlayer1 " + AttachmentsCourse::state(component<MediaPlayer>(Form1, "MediaPlayer1"))));
        QVERIFY2(AttachmentsCourse::state(component<MediaPlayer>(Form1, "MediaPlayer2")) == step.player2,
                 qPrintable(where + ": MediaPlayer2 " + AttachmentsCourse::state(component<MediaPlayer>(Form1, "MediaPlayer2"))));
        if (step.error == QLatin1String("*")) {
            QVERIFY2(m_on->messages().errors.size() == 1, qPrintable(where + ": " + m_on->messages().errors.join(" / ")));
            QVERIFY(!m_on->messages().errors.first().isEmpty());
        } else {
            QCOMPARE(m_on->messages().errors, step.error.isEmpty() ? QStringList() : QStringList(step.error));
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
    m_on->run({"select " + lesson, "", "-", "-", ""});
    component<QAction>(Form1, "N8")->setChecked(true);
    if (command == "nn1")
        Form1->nn1Click();
    else if (command == "nn2")
        Form1->nn2Click();
    else if (command == "nn3")
        Form1->nn3Click();
    else if (command == "nn4")
        Form1->nn4Click();
    else
        Form1->N8Click();
    QCOMPARE(m_on->messages().errors, QStringList());
    QVERIFY(component<QAction>(Form1, "N8")->isChecked());
    QVERIFY(!component<MediaPlayer>(Form1, "MediaPlayer1")->isOpen());
    QVERIFY(!Form3->isVisible());
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
    m_on->course().writeFile(name, bytes);
    m_on->messages().fileAnswers = QStringList(m_on->course().filePath(name));
    {
        const StepLimit limit(PlayerStepLimit, QStringLiteral("choosing the melody %1").arg(name));
        Form1->N7Click();
    }
    QCOMPARE(m_on->messages().errors, QStringList());
    MediaPlayer *player = component<MediaPlayer>(Form1, "MediaPlayer2");
    QVERIFY(player->isPlaying());
    QString late = AttachmentsCourse::endNotReached(player, SoundEndLimit);
    QVERIFY2(late.isEmpty(), qPrintable(late));
    QVERIFY(!player->isPlaying());
    // At the end, Play starts again from the beginning.
    {
        const StepLimit limit(PlayerStepLimit, QStringLiteral("Play at the end of %1").arg(name));
        player->Play();
    }
    QVERIFY(player->isPlaying());
    late = AttachmentsCourse::endNotReached(player, SoundEndLimit);
    QVERIFY2(late.isEmpty(), qPrintable(late));
}


void TestAttachments::videoOpensAWindowOfItsOwn()
{
    m_on->run({"select A", "", "-", "-", ""});
    {
        const StepLimit limit(PlayerStepLimit, QStringLiteral("opening the video"));
        Form1->nn3Click();
    }
    QCOMPARE(m_on->messages().errors, QStringList());
    MediaPlayer *player = component<MediaPlayer>(Form1, "MediaPlayer1");
    QVERIFY(player->isOpen());
    QVERIFY(player->hasVideo());
    QVideoWidget *window = player->videoWindow();
    QVERIFY(window);
    QVERIFY(window->isWindow());
    QVERIFY(window->isVisible());
    QVERIFY(window->window() != Form1->window());
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
    Form1->nn3Click();
    QVERIFY(window->isVisible());
    QVERIFY(player->isPlaying());

    // Opening something else on the same player closes the video and its window.
    {
        const StepLimit limit(PlayerStepLimit, QStringLiteral("opening the narration over the video"));
        Form1->N8Click();
    }
    QVERIFY(!window->isVisible());
}


KORVELTA_WIDGET_TEST_MAIN(TestAttachments)

#include "tst_attachments.moc"
