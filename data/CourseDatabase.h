#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;

// The course's database and how a connection to it is made: the folder's
// db1.sqlite, or the PostgreSQL database that the folder's db1.connection names.
namespace CourseDatabase {

inline constexpr char FileName[] = "db1.sqlite";
inline constexpr char ConnectionFileName[] = "db1.connection";

enum class Backend { Sqlite, PostgreSql };

// Opens the folder's database: the server when the folder holds db1.connection,
// db1.sqlite otherwise. Throws AppError with the engine's or the server's text.
void openFolder(const QString &connectionName, const QString &folder);

// Opens an existing SQLite file (never creates one) in WAL mode with a busy
// timeout, so that several copies of the program can share it. Throws AppError
// with the engine's text when the file cannot be opened.
void openSqlite(const QString &connectionName, const QString &path);

// Connects to a PostgreSQL server with a libpq connection string (key=value
// pairs or a postgresql:// URI; libpq's variables and service files apply).
// Throws AppError with the server's text when it cannot connect.
void openPostgreSql(const QString &connectionName, const QString &connectionString);

// The connection string a db1.connection file holds: its lines joined, blank
// lines and lines starting with '#' left out. Throws AppError when unreadable or empty.
QString readConnectionFile(const QString &path);
// The same from the file's bytes; empty when it names no connection.
QString connectionStringFromText(const QByteArray &text);

// What the database driver is given for a connection string: libpq parses it
// (both of its forms), so that quotes and spaces in a value survive the
// driver's own assembly. Throws AppError with libpq's reason when it cannot be parsed.
struct ServerSettings
{
    QString host;
    QString databaseName;
    QString userName;
    QString password;
    QString connectOptions; // the driver's "key='value';..." form
};
ServerSettings serverSettings(const QString &connectionString);

// The open connection for a command. A PostgreSQL connection that the server
// dropped (the command before failed on it) is made again first; when that
// fails too, AppError with the server's text.
QSqlDatabase connection(const QString &connectionName);

Backend backendOf(const QSqlDatabase &db);
// The column that tells the rows of `table` apart: SQLite's rowid, and on the
// server the journal's generated "код" and the other tables' generated rowid.
QString keyColumn(Backend backend, const QString &table);

// Creates the three tables where they are missing, in the connection's dialect.
void createSchema(const QString &connectionName);

// The engine's own text of an error, and the error raised with it.
QString engineText(const QSqlError &error);
[[noreturn]] void raiseEngineError(const QSqlError &error);

// Column lists of the three tables, in the order the program addresses them.
QStringList lessonColumns();
QStringList journalColumns();
QStringList passwordColumns();

// A table or column name quoted for SQL, whatever characters it holds.
QString quotedName(const QString &identifier);
// The quoted names joined by ", ".
QString nameList(const QStringList &columns);
// "INSERT INTO table (columns) VALUES (?, …)", one placeholder a column, bound in order.
QString insertStatement(const QString &table, const QStringList &columns);

} // namespace CourseDatabase
