#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Brings a course folder made for the Windows program into use: its Access
// file db1.mdb is read by our own reader program in a child process (a
// damaged file can crash the reading library; that must end only the child)
// and written to db1.sqlite. db1.mdb itself is never changed.
class MdbImport final
{
    Q_DISABLE_COPY_MOVE(MdbImport)

public:
    struct Summary
    {
        int lessons = 0;
        int journalRows = 0;
        bool passwordFound = false;
    };

    // `readerProgram` is the reader to run; empty means the one installed
    // beside this program. `timeoutMs`: how long it may take before it is
    // given up as hung.
    static constexpr int DefaultTimeoutMs = 120000;
    explicit MdbImport(const QString &readerProgram = QString(), int timeoutMs = DefaultTimeoutMs);

    // When `folder` holds db1.mdb and no db1.sqlite: imports it and gives the
    // message that says what was brought over. Nothing to do gives nullopt.
    // A failure throws AppError naming the file; no db1.sqlite is left behind.
    std::optional<QString> importFolder(const QString &folder) const;

    // Reads `mdbPath` and writes `sqlitePath` (through a temporary file and a
    // rename). Throws AppError naming `mdbPath`.
    Summary importFile(const QString &mdbPath, const QString &sqlitePath) const;

    // How the reader child ended and what it wrote.
    struct ReaderOutcome
    {
        bool timedOut = false;
        bool crashed = false;
        int exitCode = 0;
        QByteArray standardOutput;
        QByteArray standardError;
    };

    // Writes `sqlitePath` from what the reader gave for `mdbPath`; any outcome
    // but a whole, well-formed output throws AppError naming `mdbPath`.
    static Summary importReaderOutcome(const ReaderOutcome &outcome, const QString &mdbPath,
                                       const QString &sqlitePath);

    // Why the file cannot be a Jet 4 database, from its header and size
    // alone; empty when it may be one.
    static QString signatureProblem(const QString &mdbPath);

    static QString summaryText(const Summary &summary);

private:
    QString m_readerProgram;
    int m_timeoutMs;
};
