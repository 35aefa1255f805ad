#pragma once

#include <QString>
#include <QStringList>

class QSqlError;

// The course's database file and how a connection to it is made.
namespace CourseDatabase {

inline constexpr char FileName[] = "db1.sqlite";

// Opens an existing SQLite file (never creates one) in WAL mode with a busy
// timeout, so that several copies of the program can share it. Throws AppError
// with the engine's text when the file cannot be opened.
void openSqlite(const QString &connectionName, const QString &path);

// Creates the three tables where they are missing (used by tools and tests).
void createSchema(const QString &connectionName);

// The engine's own text of an error, and the error raised with it.
QString engineText(const QSqlError &error);
[[noreturn]] void raiseEngineError(const QSqlError &error);

// Column lists of the three tables, in the order the program addresses them.
QStringList lessonColumns();
QStringList journalColumns();
QStringList passwordColumns();

} // namespace CourseDatabase
