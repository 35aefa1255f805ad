#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>

// A throw-away course folder for a test: files, an optional db1.sqlite with
// the program's schema, and direct SQL on it to arrange and check rows.
// While it lives, it is the process's current directory.
class TestCourse final
{
public:
    explicit TestCourse(bool withDatabase = true);
    ~TestCourse();
    TestCourse(const TestCourse &) = delete;
    TestCourse &operator=(const TestCourse &) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const;
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;

    void createDatabase();
    // Runs one statement on db1.sqlite through a connection of the test's own.
    void exec(const QString &sql, const QVariantList &binds = {}) const;
    QVariant scalar(const QString &sql, const QVariantList &binds = {}) const;
    // Rows of a query, each row's values joined by '|', Null written as "<null>".
    QStringList rows(const QString &sql) const;

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
    QString m_connection;
};
