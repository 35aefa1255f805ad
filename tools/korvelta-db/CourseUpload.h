#pragma once

#include <QString>
#include <QtGlobal>

// Copies a course folder's db1.sqlite into the server database that the
// folder's db1.connection names: the three tables are created there when
// missing, and the copy is one transaction, so the server ends with all of
// the file's rows or with what it held before.
class CourseUpload final
{
    Q_DISABLE_COPY_MOVE(CourseUpload)

public:
    enum class Outcome { Copied, RefusedJournalHasRows };

    struct Counts
    {
        int lessons = 0;
        int journal = 0;
        int passwords = 0;
    };

    // Opens db1.sqlite and the server; AppError when either cannot be opened.
    explicit CourseUpload(const QString &folder);
    ~CourseUpload();

    // Without `force`, a server journal that already has rows is left alone.
    // AppError when the copy fails (the server is then as it was).
    Outcome run(bool force);

    Counts copied() const { return m_copied; }
    qint64 serverJournalRows() const { return m_serverJournalRows; }

private:
    int copyTable(const QString &table, const QStringList &columns, const QString &order);

    QString m_file;
    QString m_server;
    Counts m_copied;
    qint64 m_serverJournalRows = 0;
};
