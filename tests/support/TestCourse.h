#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>

#include <memory>

class TableCursor;

// A throw-away course folder for a test: files, an optional database with the
// program's schema, and direct SQL on it to arrange and check rows. The
// database is the folder's db1.sqlite, or a fresh database of its own on the
// test server (KORVELTA_TEST_PG) named by the folder's db1.connection and
// dropped again at the end. While it lives, it is the process's current directory.
class TestCourse final
{
public:
    enum class Backend { Sqlite, PostgreSql };

    explicit TestCourse(bool withDatabase = true);
    explicit TestCourse(Backend backend);
    ~TestCourse();
    TestCourse(const TestCourse &) = delete;
    TestCourse &operator=(const TestCourse &) = delete;

    // The test server's connection string, empty when the tests run without one.
    static QString serverConnectionString();
    static QString backendName(Backend backend);

    Backend backend() const { return m_backend; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const;
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;

    void createDatabase();
    // The connection string of this course's server database (PostgreSql only).
    QString connectionString() const { return m_connectionString; }
    // Connects the test's own connection again, after the test server was restarted.
    void reconnect();
    // Runs one statement on the course database through a connection of the test's own.
    void exec(const QString &sql, const QVariantList &binds = {}) const;
    QVariant scalar(const QString &sql, const QVariantList &binds = {}) const;
    // Rows of a query, each row's values joined by '|', Null written as "<null>".
    QStringList rows(const QString &sql) const;

    // Appends one journal row.
    void addJournalRow(const QString &fio, const QString &gruppa, int ocenka, const QString &urok,
                       const QString &date = QStringLiteral("2026-03-02")) const;
    // The journal opened as the data module opens it, on the test's own connection;
    // it must go before the course does.
    std::unique_ptr<TableCursor> openJournal() const;
    // The lesson table, likewise.
    std::unique_ptr<TableCursor> openLessons() const;

private:
    void createServerDatabase();
    void dropServerDatabase();

    QTemporaryDir m_dir;
    QString m_previousDir;
    QString m_connection;
    Backend m_backend = Backend::Sqlite;
    QString m_serverDatabase;
    QString m_connectionString;
};
