#include "MediaPlayer.h"

#include "AppError.h"
#include "LessonPaths.h"
#include "WindowPlacement.h"

#include <QAudioOutput>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoWidget>

MediaPlayer::MediaPlayer(QObject *parent)
    : QObject(parent)
{
}

MediaPlayer::~MediaPlayer()
{
    if (!m_player)
        return;
    m_player->stop();
    m_player->setVideoOutput(nullptr);
}

void MediaPlayer::ensurePlayer()
{
    // The media back end costs a noticeable part of start-up; most sessions
    // never play anything, so it starts with the first file opened.
    if (m_player)
        return;
    m_player = std::make_unique<QMediaPlayer>();
    m_audio = std::make_unique<QAudioOutput>();
    // Without an audio output nothing plays, even on a machine with no sound card.
    m_player->setAudioOutput(m_audio.get());
}

void MediaPlayer::checkOpen() const
{
    if (!m_open)
        throw AppError(QStringLiteral("No MCI device open"), ErrorKind::MediaDevice);
}

void MediaPlayer::Close()
{
    if (!m_player)
        return;
    m_player->stop();
    m_player->setSource(QUrl());
    if (m_videoWindow)
        m_videoWindow->hide();
    m_open = false;
}

void MediaPlayer::Open()
{
    Close();
    const QString disk = LessonPaths::toDisk(m_fileName);
    if (!QFileInfo(disk).isFile())
        throw AppError(QStringLiteral("The specified file was not found: %1").arg(disk),
                       ErrorKind::MediaDevice);
    ensurePlayer();

    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, &loop, [&loop](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::LoadedMedia || s == QMediaPlayer::InvalidMedia || s == QMediaPlayer::BufferedMedia)
            loop.quit();
    });
    connect(m_player.get(), &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);

    m_player->setSource(QUrl::fromLocalFile(disk));
    const auto status = m_player->mediaStatus();
    if (status == QMediaPlayer::LoadingMedia || status == QMediaPlayer::NoMedia) {
        timeout.start(OpenTimeoutMs);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }

    if (m_player->error() != QMediaPlayer::NoError || m_player->mediaStatus() == QMediaPlayer::InvalidMedia
        || m_player->mediaStatus() == QMediaPlayer::LoadingMedia) {
        QString message = m_player->errorString();
        if (message.isEmpty() && m_player->mediaStatus() == QMediaPlayer::LoadingMedia)
            message = QStringLiteral("The media file did not finish loading within %1 s: %2")
                          .arg(OpenTimeoutMs / 1000)
                          .arg(disk);
        if (message.isEmpty())
            message = QStringLiteral("The media file cannot be played: %1").arg(disk);
        m_player->setSource(QUrl());
        throw AppError(message, ErrorKind::MediaDevice);
    }
    m_open = true;

    if (m_player->hasVideo()) {
        if (!m_videoWindow) {
            m_videoWindow = std::make_unique<QVideoWidget>();
            m_videoWindow->resize(640, 480);
            // Centred, so that it does not open over the main window's topic tree.
            WindowPlacement::centreOnDesktop(m_videoWindow.get());
            m_videoWindow->installEventFilter(this);
        }
        m_videoWindow->setWindowTitle(QFileInfo(disk).fileName());
        m_player->setVideoOutput(m_videoWindow.get());
        m_videoWindow->show();
    }
}

bool MediaPlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_videoWindow.get() && event->type() == QEvent::Close && m_open)
        m_player->pause();
    return QObject::eventFilter(watched, event);
}

void MediaPlayer::Play()
{
    checkOpen();
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        m_player->setPosition(0);
    m_player->play();
}

void MediaPlayer::Stop()
{
    checkOpen();
    m_player->pause();
}

bool MediaPlayer::isPlaying() const
{
    return m_player && m_player->playbackState() == QMediaPlayer::PlayingState;
}

bool MediaPlayer::hasVideo() const
{
    return m_player && m_player->hasVideo();
}
