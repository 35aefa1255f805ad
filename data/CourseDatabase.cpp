#include "CourseDatabase.h"

#include "AppError.h"
#include "schema_postgresql_sql.h"
#include "schema_sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <libpq-fe.h>

#include <memory>

namespace CourseDatabase {

QString engineText(const QSqlError &error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text.trimmed();
}

void raiseEngineError(const QSqlError &error)
{
    throw AppError(engineText(error), ErrorKind::Engine);
}

namespace {

const QString PostgreSqlDriver = QStringLiteral("QPSQL");

void exec(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        raiseEngineError(query.lastError());
}

QSqlDatabase connectionFor(const QString &connectionName, const QString &driver)
{
    if (QSqlDatabase::contains(connectionName)) {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.driverName() == driver)
            return db;
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
    }
    return QSqlDatabase::addDatabase(driver, connectionName);
}

// A value for the driver's connect options, quoted the way libpq reads it.
QString quotedOption(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

// True when libpq knows that the server has dropped this connection.
bool serverDropped(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0)
        return false;
    PGconn *connection = *static_cast<PGconn *const *>(handle.constData());
    return connection == nullptr || PQstatus(connection) == CONNECTION_BAD;
}

} // namespace

void openFolder(const QString &connectionName, const QString &folder)
{
    const QDir dir(folder);
    const QString connectionFile = dir.filePath(QString::fromLatin1(ConnectionFileName));
    if (QFileInfo::exists(connectionFile))
        openPostgreSql(connectionName, readConnectionFile(connectionFile));
    else
        openSqlite(connectionName, dir.filePath(QString::fromLatin1(FileName)));
}

void openSqlite(const QString &connectionName, const QString &path)
{
    QSqlDatabase db = connectionFor(connectionName, QStringLiteral("QSQLITE"));
    // A URI with mode=rw makes a missing file an error instead of a new empty database.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    db.setDatabaseName(QStringLiteral("file:") + QString::fromUtf8(QUrl::toPercentEncoding(absolute, "/"))
                       + QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        throw AppError(engineText(db.lastError()) + QStringLiteral(": ") + absolute,
                       ErrorKind::Engine);
    try {
        // Reading the mode back also proves that the file is a database at all.
        exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
    } catch (...) {
        db.close();
        throw;
    }
}

void openPostgreSql(const QString &connectionName, const QString &connectionString)
{
    if (!QSqlDatabase::isDriverAvailable(PostgreSqlDriver))
        throw AppError(QStringLiteral("The PostgreSQL database driver (QPSQL) is not available"),
                       ErrorKind::Engine);

    // libpq parses the string (both of its forms); the driver gets the parts,
    // so that quotes and spaces in a value survive its own assembly.
    char *parseError = nullptr;
    const std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
        PQconninfoParse(connectionString.toUtf8().constData(), &parseError), &PQconninfoFree);
    if (!options) {
        const QString text = parseError ? QString::fromLocal8Bit(parseError).trimmed()
                                        : QStringLiteral("out of memory");
        PQfreemem(parseError);
        throw AppError(QStringLiteral("%1: %2").arg(QString::fromLatin1(ConnectionFileName), text),
                       ErrorKind::Engine);
    }

    QSqlDatabase db = connectionFor(connectionName, PostgreSqlDriver);
    db.setHostName(QString());
    db.setDatabaseName(QString());
    db.setUserName(QString());
    db.setPassword(QString());
    QStringList extra;
    bool timeoutGiven = false;
    for (const PQconninfoOption *option = options.get(); option->keyword; ++option) {
        if (!option->val)
            continue;
        const QString keyword = QString::fromLatin1(option->keyword);
        const QString value = QString::fromUtf8(option->val);
        if (keyword == QLatin1String("host"))
            db.setHostName(value);
        else if (keyword == QLatin1String("dbname"))
            db.setDatabaseName(value);
        else if (keyword == QLatin1String("user"))
            db.setUserName(value);
        else if (keyword == QLatin1String("password"))
            db.setPassword(value);
        else
            extra << keyword + QLatin1Char('=') + quotedOption(value);
        timeoutGiven = timeoutGiven || keyword == QLatin1String("connect_timeout");
    }
    // A classroom machine that is switched off should not hold start-up for minutes.
    if (!timeoutGiven)
        extra << QStringLiteral("connect_timeout=10");
    db.setConnectOptions(extra.join(QLatin1Char(';')));
    if (!db.open())
        raiseEngineError(db.lastError());
}

QString readConnectionFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("%1: %2").arg(file.errorString(), QFileInfo(path).absoluteFilePath()),
                       ErrorKind::Engine);
    QStringList parts;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#')))
            parts << trimmed;
    }
    if (parts.isEmpty())
        throw AppError(QStringLiteral("No connection string in %1").arg(QFileInfo(path).absoluteFilePath()),
                       ErrorKind::Engine);
    return parts.join(QLatin1Char(' '));
}

QSqlDatabase connection(const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (backendOf(db) != Backend::PostgreSql || (db.isOpen() && !serverDropped(db)))
        return db;
    db.close();
    if (!db.open())
        raiseEngineError(db.lastError());
    return db;
}

Backend backendOf(const QSqlDatabase &db)
{
    return db.driverName() == PostgreSqlDriver ? Backend::PostgreSql : Backend::Sqlite;
}

QString keyColumn(Backend backend, const QString &table)
{
    if (backend == Backend::PostgreSql && table == QLatin1String("jurnal"))
        return QStringLiteral("\"код\"");
    return QStringLiteral("rowid");
}

void createSchema(const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    const char *schema = backendOf(db) == Backend::PostgreSql ? SchemaPostgreSqlSql : SchemaSql;
    const QStringList statements = QString::fromUtf8(schema).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &statement : statements) {
        QString sql;
        for (const QString &line : statement.split(QLatin1Char('\n'))) {
            if (!line.trimmed().startsWith(QLatin1String("--")))
                sql += line + QLatin1Char('\n');
        }
        if (!sql.trimmed().isEmpty())
            exec(db, sql);
    }
}

QStringList lessonColumns()
{
    return {QStringLiteral("urok"), QStringLiteral("htm"), QStringLiteral("jpg"), QStringLiteral("avi"),
            QStringLiteral("test"), QStringLiteral("mid"), QStringLiteral("wav"), QStringLiteral("exe")};
}

QStringList journalColumns()
{
    return {QStringLiteral("код"), QStringLiteral("urok"), QStringLiteral("data"),
            QStringLiteral("ocenka"), QStringLiteral("fio"), QStringLiteral("gruppa")};
}

QStringList passwordColumns()
{
    return {QStringLiteral("pas")};
}

QString quotedName(const QString &identifier)
{
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\""))
        + QLatin1Char('"');
}

QString nameList(const QStringList &columns)
{
    QStringList names;
    for (const QString &column : columns)
        names << quotedName(column);
    return names.join(QLatin1String(", "));
}

QString insertStatement(const QString &table, const QStringList &columns)
{
    const QStringList marks(columns.size(), QStringLiteral("?"));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(quotedName(table), nameList(columns), marks.join(QLatin1String(", ")));
}

} // namespace CourseDatabase
