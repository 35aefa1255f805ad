#pragma once

#include "Messages.h"
#include "ProgramWindows.h"
#include "TestCourse.h"

#include <QString>
#include <QVector>

#include <chrono>
#include <memory>

class MediaPlayer;

// The longest a step that drives the players may take: Open waits for the
// media at most MediaPlayer::OpenTimeoutMs itself, and a step opens once.
inline constexpr std::chrono::seconds PlayerStepLimit{30};
// A sound of under a second that has not ended after this is stuck.
inline constexpr std::chrono::seconds SoundEndLimit{20};

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

// The program's windows, the main window shown, on a small course whose
// lessons A to F name every kind of attachment: present (A, B), Null (C),
// empty (D), missing (E) and unplayable (F). Messages are recorded.
class AttachmentsCourse final
{
public:
    AttachmentsCourse();
    ~AttachmentsCourse();
    AttachmentsCourse(const AttachmentsCourse &) = delete;
    AttachmentsCourse &operator=(const AttachmentsCourse &) = delete;

    TestCourse &course() { return m_course; }
    Messages::Recorder &messages() { return *m_messages; }
    // Lets the real boxes run, until the messages are recorded again.
    void showMessages() { m_messages.reset(); }
    void recordMessages() { m_messages = std::make_unique<Messages::Recorder>(); }

    // Runs one step's command (not its checks).
    void run(const Step &step);
    // Lesson A's picture becomes `file`, and A is chosen again.
    void setPicture(const QString &file);
    // The checked items among N5 and N8.
    QString marks() const;
    // What a player has open and whether it plays: "-", "a.mid playing", "a.mid stopped".
    static QString state(const MediaPlayer *player);
    // Empty when the player reaches the end of what it plays within the limit;
    // otherwise says what was awaited and where the player stands.
    static QString endNotReached(const MediaPlayer *player, std::chrono::seconds limit);

private:
    TestCourse m_course;
    std::unique_ptr<Messages::Recorder> m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
};
