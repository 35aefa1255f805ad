#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QAudioOutput;
class QMediaPlayer;
class QVideoWidget;

// A media player the way the lesson commands drive it: a file name, at most
// one open device, Open / Play / Stop. A video shows in a window of its own.
class MediaPlayer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MediaPlayer)

public:
    explicit MediaPlayer(QObject *parent = nullptr);
    ~MediaPlayer() override;

    void setFileName(const QString &path) { m_fileName = path; }
    QString fileName() const { return m_fileName; }

    // Closes what is open, then opens the file without starting it. Throws
    // AppError with the player's message when the file cannot be opened, and
    // then leaves no device open.
    void Open();
    // Starts playback (from the beginning when at the end). Throws
    // "No MCI device open" with nothing open.
    void Play();
    // Pauses playback; the device stays open. Throws with nothing open.
    void Stop();
    void Close();

    bool isOpen() const { return m_open; }
    bool isPlaying() const;
    bool hasVideo() const;
    // Null until the first Open.
    QMediaPlayer *player() const { return m_player.get(); }
    QVideoWidget *videoWindow() const { return m_videoWindow.get(); }

    // How long Open waits for the media to load before giving up.
    static constexpr int OpenTimeoutMs = 10000;

protected:
    // The learner closing the video window pauses the video; its device stays open.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void checkOpen() const;
    void ensurePlayer();

    QString m_fileName;
    bool m_open = false;
    std::unique_ptr<QMediaPlayer> m_player;
    std::unique_ptr<QAudioOutput> m_audio;
    std::unique_ptr<QVideoWidget> m_videoWindow;
};
