#include "AttachmentsCourse.h"

#include "Components.h"
#include "MediaFixtures.h"
#include "MediaPlayer.h"
#include "PictureFixtures.h"
#include "StepLimit.h"
#include "TableCursor.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QAction>
#include <QFile>
#include <QMediaPlayer>
#include <QMetaEnum>
#include <QTreeWidget>
#include <QtTest>

namespace {

template <typename Enum>
QString keyOf(Enum value)
{
    return QString::fromLatin1(QMetaEnum::fromType<Enum>().valueToKey(value));
}

} // namespace

AttachmentsCourse::AttachmentsCourse()
{
    TestCourse &c = m_course;
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
    if (video.open(QIODevice::ReadOnly))
        c.writeFile("video/tiny.avi", video.readAll());
    // Long enough that no step sees them end.
    c.writeFile("muz/a.mid", MediaFixtures::midi(20000));
    c.writeFile("muz/b.wav", MediaFixtures::wav(20000));
    c.writeFile("muz/c.wav", MediaFixtures::wav(20000));
    c.writeFile("zvuk/a.wav", MediaFixtures::wav(20000));
    c.writeFile("zvuk/b.wav", MediaFixtures::wav(20000));
    c.writeFile("muz/bad.mid", "MThd but then nothing a player could use");
    c.writeFile("zvuk/bad.wav", "RIFF....WAVEnonsense");

    recordMessages();
    const StepLimit limit(PlayerStepLimit, QStringLiteral("creating the main window with its two media players"));
    m_windows = std::make_unique<ProgramWindows>();
    Form1->show();
}

AttachmentsCourse::~AttachmentsCourse()
{
    const StepLimit limit(PlayerStepLimit, QStringLiteral("closing the main window and its media players"));
    m_windows.reset();
    m_messages.reset();
}

QString AttachmentsCourse::state(const MediaPlayer *player)
{
    if (!player->isOpen())
        return QStringLiteral("-");
    const QString name = player->fileName().section(QLatin1Char('\\'), -1).section(QLatin1Char('/'), -1);
    return name + (player->isPlaying() ? QStringLiteral(" playing") : QStringLiteral(" stopped"));
}

QString AttachmentsCourse::endNotReached(const MediaPlayer *player, std::chrono::seconds limit)
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

QString AttachmentsCourse::marks() const
{
    QStringList checked;
    for (const char *item : {"N5", "N8"}) {
        if (component<QAction>(Form1, QString::fromLatin1(item))->isChecked())
            checked << QString::fromLatin1(item);
    }
    return checked.join(QLatin1Char(' '));
}

void AttachmentsCourse::run(const Step &step)
{
    const QString command = step.action.section(QLatin1Char(' '), 0, 0);
    const QString argument = step.action.section(QLatin1Char(' '), 1);
    if (command == QLatin1String("select")) {
        auto *tree = component<QTreeWidget>(Form1, "TreeView1");
        const auto found = tree->findItems(argument, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        tree->setCurrentItem(found.first());
    } else if (command == QLatin1String("N5")) {
        Form1->N5Click();
    } else if (command == QLatin1String("N8")) {
        Form1->N8Click();
    } else if (command == QLatin1String("nn3")) {
        Form1->nn3Click();
    } else if (command == QLatin1String("N7")) {
        m_messages->fileAnswers = QStringList(argument.isEmpty() ? QString() : m_course.filePath(argument));
        Form1->N7Click();
        QCOMPARE(m_messages->fileFilters.takeLast(),
                 QString("Все звуки|*.mid;*.wav;*.mp3;*.kar;*.avi;*.wmv|Все файлы|*.*"));
    } else {
        QFAIL(qPrintable("unknown step " + step.action));
    }
}

void AttachmentsCourse::setPicture(const QString &file)
{
    m_course.exec("UPDATE urok SET jpg = ? WHERE urok = 'A'", {file});
    DataModule2->Turok->refresh();
    run({"select A", "", "-", "-", ""});
}
