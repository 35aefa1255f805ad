#pragma once

#include "Messages.h"
#include "ProgramWindows.h"
#include "TestCourse.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QTreeWidgetItem;

// A course for the lesson editor: a topic tree two levels deep in the
// Windows code page, with a lesson row for each topic. The program's windows
// are made on it by start(); messages are recorded from the beginning.
class EditorCourse final
{
public:
    // The tree of the course file, as treeLines() gives it.
    static const QStringList StartTree;

    EditorCourse();
    ~EditorCourse();
    EditorCourse(const EditorCourse &) = delete;
    EditorCourse &operator=(const EditorCourse &) = delete;

    TestCourse &course() { return m_course; }
    Messages::Recorder &messages() { return m_messages; }
    // Creates the windows; the tree must then be the course file's.
    void start();
    QStringList lessonRows() const { return m_course.rows("SELECT * FROM urok ORDER BY rowid"); }

    static QByteArray cp1251(const QString &text);
    // The main window's tree as "level:text" lines, in the order the topic file stores it.
    static QStringList treeLines();
    static QTreeWidgetItem *findNode(const QString &text);

private:
    TestCourse m_course;
    Messages::Recorder m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
};
