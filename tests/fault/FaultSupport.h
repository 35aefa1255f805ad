#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A course folder for a fault test: two lessons with pages, the topic tree and
// the cover page, and a db1.sqlite that no connection of the test holds open
// while the program runs (a connection of root's would leave WAL files behind
// that another user cannot write).
class FaultCourse final
{
public:
    // The folder is made inside `parent` when given (a small filesystem).
    explicit FaultCourse(const QString &parent = QString());

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &relative) const;
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;

    // Query results through a connection opened and closed for the call; each
    // row's values joined by '|'.
    QStringList rows(const QString &sql) const;
    QString integrity() const { return rows(QStringLiteral("PRAGMA integrity_check")).join(QLatin1Char(';')); }
    // The journal's groups in key order: each visit of a burst has its own.
    QStringList journalGroups() const { return rows(QStringLiteral("SELECT gruppa FROM jurnal ORDER BY rowid")); }

    // Gives the folder and everything in it to `user` (chown -R).
    void giveTo(const QString &user) const;

private:
    QTemporaryDir m_dir;
};

// The program under a fault: korvelta-fault-program in the course folder,
// optionally started through a wrapper (runuser, prlimit), killed at the end.
class ProgramUnderFault final
{
public:
    explicit ProgramUnderFault(const QString &folder, const QStringList &wrapper = {});
    ~ProgramUnderFault();
    ProgramUnderFault(const ProgramUnderFault &) = delete;
    ProgramUnderFault &operator=(const ProgramUnderFault &) = delete;

    // The lines printed while the windows were created, up to "ready".
    QStringList startup() const { return m_startup; }
    bool started() const { return m_started; }
    // Sends one command; the lines it printed, up to its "done".
    QStringList command(const QString &line, int timeoutMs = 60000);
    // Sends a command that runs until the program is killed.
    void startCommand(const QString &line);
    // Reads what the program printed so far (for commands that run on).
    QStringList readLines(int timeoutMs = 0);
    // Waits until a printed line starts with `prefix`; every line read is kept in `seen`.
    bool waitForLine(const QString &prefix, QStringList &seen, int timeoutMs);
    void kill();
    // Ends the program as a user would; true when it ended by itself.
    bool quit();
    qint64 pid() const { return m_process.processId(); }

    static QStringList errors(const QStringList &lines);

private:
    bool readLine(QString &line, int timeoutMs);

    QProcess m_process;
    QByteArray m_buffer;
    QStringList m_startup;
    bool m_started = false;
    std::unique_ptr<QTemporaryDir> m_home;
};

// Every "written i KEY" line of a burst, as "GROUP-i" in step order.
QStringList writtenGroups(const QStringList &lines, const QString &group);
