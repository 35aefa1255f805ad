#include "CourseUpload.h"

#include "AppError.h"
#include "CourseDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

void exec(QSqlQuery &query, const QString &sql)
{
    if (!query.exec(sql))
        CourseDatabase::raiseEngineError(query.lastError());
}

void closeConnection(const QString &name)
{
    if (!QSqlDatabase::contains(name))
        return;
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

} // namespace

CourseUpload::CourseUpload(const QString &folder)
    : m_file(QStringLiteral("korvelta-db-file"))
    , m_server(QStringLiteral("korvelta-db-server"))
{
    const QDir dir(folder);
    const QString connectionFile = dir.filePath(QString::fromLatin1(CourseDatabase::ConnectionFileName));
    if (!QFileInfo::exists(connectionFile))
        throw AppError(QStringLiteral("%1 holds no %2: write the server's connection string into it first")
                           .arg(dir.absolutePath(), QString::fromLatin1(CourseDatabase::ConnectionFileName)));
    try {
        CourseDatabase::openSqlite(m_file, dir.filePath(QString::fromLatin1(CourseDatabase::FileName)));
        CourseDatabase::openPostgreSql(m_server, CourseDatabase::readConnectionFile(connectionFile));
    } catch (...) {
        closeConnection(m_server);
        closeConnection(m_file);
        throw;
    }
}

CourseUpload::~CourseUpload()
{
    closeConnection(m_server);
    closeConnection(m_file);
}

CourseUpload::Outcome CourseUpload::run(bool force)
{
    m_copied = {};
    QSqlDatabase server = QSqlDatabase::database(m_server, false);
    if (!server.transaction())
        CourseDatabase::raiseEngineError(server.lastError());
    try {
        CourseDatabase::createSchema(m_server);
        QSqlQuery query(server);
        // Held to the commit: no copy of the program adds a journal row between the check and the copy.
        exec(query, QStringLiteral("LOCK TABLE urok, jurnal, pas IN ACCESS EXCLUSIVE MODE"));
        exec(query, QStringLiteral("SELECT count(*) FROM jurnal"));
        m_serverJournalRows = query.next() ? query.value(0).toLongLong() : 0;
        if (m_serverJournalRows > 0 && !force) {
            server.rollback();
            return Outcome::RefusedJournalHasRows;
        }
        exec(query, QStringLiteral("TRUNCATE urok, jurnal, pas RESTART IDENTITY"));
        m_copied.lessons = copyTable(QStringLiteral("urok"), CourseDatabase::lessonColumns(), QStringLiteral("rowid"));
        // The journal keeps its numbers; new rows continue after the highest.
        m_copied.journal = copyTable(QStringLiteral("jurnal"), CourseDatabase::journalColumns(), QStringLiteral("\"код\""));
        m_copied.passwords = copyTable(QStringLiteral("pas"), CourseDatabase::passwordColumns(), QStringLiteral("rowid"));
        exec(query, QStringLiteral("SELECT setval(pg_get_serial_sequence('jurnal', 'код'), "
                                   "COALESCE(MAX(\"код\"), 0) + 1, false) FROM jurnal"));
        if (!server.commit())
            CourseDatabase::raiseEngineError(server.lastError());
    } catch (...) {
        server.rollback();
        throw;
    }
    return Outcome::Copied;
}

int CourseUpload::copyTable(const QString &table, const QStringList &columns, const QString &order)
{
    QSqlQuery source(QSqlDatabase::database(m_file, false));
    source.setForwardOnly(true);
    exec(source, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                     .arg(CourseDatabase::nameList(columns), CourseDatabase::quotedName(table), order));

    QSqlQuery target(QSqlDatabase::database(m_server, false));
    if (!target.prepare(CourseDatabase::insertStatement(table, columns)))
        CourseDatabase::raiseEngineError(target.lastError());
    int copied = 0;
    while (source.next()) {
        for (int c = 0; c < columns.size(); ++c)
            target.bindValue(c, source.value(c));
        if (!target.exec())
            throw AppError(QStringLiteral("%1, row %2: %3")
                               .arg(table).arg(copied + 1).arg(CourseDatabase::engineText(target.lastError())));
        ++copied;
    }
    if (source.lastError().isValid())
        CourseDatabase::raiseEngineError(source.lastError());
    return copied;
}
