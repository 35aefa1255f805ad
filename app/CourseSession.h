#pragma once

#include "TopicTreeFile.h"

#include <QString>
#include <QVector>

#include <functional>
#include <optional>

class TableCursor;

// The commands of the main window that a lesson row can offer, each governed
// by one column of the row.
enum class LessonCommand { Picture, Video, Narration, Test, Page, Program };

struct LessonCommandState
{
    LessonCommand command;
    bool available;
};

// The course's rules that the windows share: who the learner is, what goes
// into the journal for a visit and for a test, what a lesson row offers, how
// a topic's lesson row comes and goes, and how the topic tree file is kept.
// It needs no window; the windows call it.
class CourseSession final
{
    Q_DISABLE_COPY_MOVE(CourseSession)

public:
    CourseSession() = default;

    // The lesson and journal tables of the data module, made after the first windows.
    void attachTables(TableCursor *lessons, TableCursor *journal);

    // The learner identity as typed on the start screen; journal rows are
    // written only while the name is not empty.
    void setLearner(const QString &name, const QString &group);
    QString learnerName() const { return m_learnerName; }
    QString learnerGroup() const { return m_learnerGroup; }

    // Makes the lesson titled `topic` current; with no match the row that was
    // current stays, and every later step uses it.
    void openTopic(const QString &topic);
    // The commands in the order the main window sets them, each available when
    // its column of the current lesson row is set.
    QVector<LessonCommandState> lessonCommands() const;
    static QString columnOf(LessonCommand command);
    // The current lesson row's file for a column, when the column is not Null
    // and the file exists.
    std::optional<QString> existingLessonFile(const QString &appDir, const QString &column) const;
    QString currentLessonTitle() const;

    // A visit to a topic (score 0) and a finished test (its percent) of the
    // named learner, dated today; nothing without a name.
    void recordVisit(const QString &topic);
    void recordTestResult(int percent);

    // A new lesson row holding only its title, posted at once; it stays the
    // current row. Throws when it cannot be posted (the row stays pending).
    void addTopicRow(const QString &title);
    // Deletes the lesson row titled `title`, if there is one.
    void removeTopicRow(const QString &title);

    // Reads the topic tree file; remembers whether it was read whole, so that
    // saving does not silently drop the lines after a bad one.
    TopicTreeFile::ReadResult readTopicTree(const QString &path);
    // Writes the tree back to the file read. When that file was read only up
    // to a bad line, its old content is first copied to a .bak file, and
    // `notify` is told where. Throws AppError when a file cannot be written.
    void saveTopicTree(const QVector<TopicNode> &nodes, const std::function<void(const QString &)> &notify);
    QString topicTreePath() const { return m_treePath; }

private:
    TableCursor &lessons() const;
    TableCursor &journal() const;
    void recordInJournal(const QString &lesson, int score);

    TableCursor *m_lessons = nullptr;
    TableCursor *m_journal = nullptr;
    QString m_learnerName;
    QString m_learnerGroup;
    QString m_treePath;
    bool m_treeReadIncomplete = false;
};
