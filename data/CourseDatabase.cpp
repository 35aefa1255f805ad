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

#include <sys/stat.h>
#include <unistd.h>

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

// The settings the driver takes one by one; every other one goes in its connect options.
bool namedSetting(const QString &keyword)
{
    return keyword == QLatin1String("host") || keyword == QLatin1String("dbname") || keyword == QLatin1String("user")
        || keyword == QLatin1String("password");
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

namespace {

// What the program remembers of an open SQLite file, kept on the connection's driver.
constexpr char FileProperty[] = "korveltaFile";
constexpr char FileIdProperty[] = "korveltaFileId";
constexpr char ReadOnlyProperty[] = "korveltaReadOnly";

// The file's identity on disk (device and inode); empty when it is gone.
QString fileIdentity(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    return QStringLiteral("%1:%2").arg(qulonglong(info.st_dev)).arg(qulonglong(info.st_ino));
}

// Whether this user may write the file and create its companions (-wal, -shm) beside it.
bool writableHere(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0
        && ::access(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), W_OK) == 0;
}

QString sqliteUri(const QString &absolute, const QString &query)
{
    return QStringLiteral("file:") + QString::fromUtf8(QUrl::toPercentEncoding(absolute, "/")) + QLatin1Char('?')
        + query;
}

// Opens the file for reading only. Only where another copy already keeps the
// write-ahead log's index is it shared; otherwise the file is read as it
// stands on disk, so that no -wal or -shm file is made here: SQLite would give
// them the database's read-only mode, and they would refuse every write after
// the database itself had been made writable again.
bool openReadOnly(QSqlDatabase &db, const QString &absolute)
{
    QList<const char *> modes{"mode=ro&immutable=1"};
    if (QFileInfo::exists(absolute + QStringLiteral("-shm")))
        modes.prepend("mode=ro");
    for (const char *mode : modes) {
        db.setDatabaseName(sqliteUri(absolute, QString::fromLatin1(mode)));
        if (!db.open())
            continue;
        QSqlQuery probe(db);
        if (probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && probe.next())
            return true;
        probe = QSqlQuery();
        db.close();
    }
    return false;
}

void rememberFile(QSqlDatabase &db, const QString &absolute, bool readOnly)
{
    QSqlDriver *driver = db.driver();
    driver->setProperty(FileProperty, absolute);
    driver->setProperty(FileIdProperty, fileIdentity(absolute));
    driver->setProperty(ReadOnlyProperty, readOnly);
}

} // namespace

void openSqlite(const QString &connectionName, const QString &path)
{
    QSqlDatabase db = connectionFor(connectionName, QStringLiteral("QSQLITE"));
    // A URI with mode=rw makes a missing file an error instead of a new empty database.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    db.setDatabaseName(sqliteUri(absolute, QStringLiteral("mode=rw")));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    // A course on a read-only share or disc still shows its lessons; each
    // write then fails with the engine's own text. Not even tried for writing:
    // that alone would leave read-only -wal and -shm files behind.
    if (QFileInfo::exists(absolute) && !writableHere(absolute) && openReadOnly(db, absolute)) {
        rememberFile(db, absolute, true);
        return;
    }
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
    rememberFile(db, absolute, false);
}

namespace {

// Before a command uses an open SQLite file: a file removed or replaced under
// the program must not take more rows (they would go to a file that is no
// longer the course's, or into the write-ahead log of the new one), and a file
// that has become writable is opened again for writing.
void checkSqliteFile(const QString &connectionName, QSqlDatabase &db)
{
    const QString path = db.driver()->property(FileProperty).toString();
    if (path.isEmpty())
        return;
    const QString id = fileIdentity(path);
    if (id != db.driver()->property(FileIdProperty).toString()) {
        // SQLite does not fold the write-ahead log into a file that has moved
        // when it closes it, and the next connection would lay the old file's
        // pages over the one now at the path: they go into the old file now.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.close();
        const QString message = id.isEmpty()
            ? QStringLiteral("Файл базы данных %1 удалён во время работы программы. Команда не выполнена")
            : QStringLiteral("Файл базы данных %1 заменён во время работы программы. Команда не выполнена; "
                             "следующая команда работает с новым файлом");
        if (!id.isEmpty())
            openSqlite(connectionName, path);
        throw AppError(message.arg(QDir::toNativeSeparators(path)), ErrorKind::Engine);
    }
    if (db.driver()->property(ReadOnlyProperty).toBool() && writableHere(path)) {
        db.close();
        openSqlite(connectionName, path);
    }
}

} // namespace

void openPostgreSql(const QString &connectionName, const QString &connectionString)
{
    if (!QSqlDatabase::isDriverAvailable(PostgreSqlDriver))
        throw AppError(QStringLiteral("The PostgreSQL database driver (QPSQL) is not available"),
                       ErrorKind::Engine);

    const ServerSettings settings = serverSettings(connectionString);
    QSqlDatabase db = connectionFor(connectionName, PostgreSqlDriver);
    db.setHostName(settings.host);
    db.setDatabaseName(settings.databaseName);
    db.setUserName(settings.userName);
    db.setPassword(settings.password);
    db.setConnectOptions(settings.connectOptions);
    if (!db.open())
        raiseEngineError(db.lastError());
}

ServerSettings serverSettings(const QString &connectionString)
{
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

    ServerSettings settings;
    QStringList extra;
    bool timeoutGiven = false;
    for (const PQconninfoOption *option = options.get(); option->keyword; ++option) {
        if (!option->val)
            continue;
        const QString keyword = QString::fromLatin1(option->keyword);
        const QString value = QString::fromUtf8(option->val);
        if (value.contains(QLatin1Char(';')) && !namedSetting(keyword)) {
            // The driver passes these on with every ';' made a space.
            throw AppError(QStringLiteral("%1: the value of %2 holds a ';', which cannot be passed to the server")
                               .arg(QString::fromLatin1(ConnectionFileName), keyword),
                           ErrorKind::Engine);
        }
        if (keyword == QLatin1String("host"))
            settings.host = value;
        else if (keyword == QLatin1String("dbname"))
            settings.databaseName = value;
        else if (keyword == QLatin1String("user"))
            settings.userName = value;
        else if (keyword == QLatin1String("password"))
            settings.password = value;
        else
            extra << keyword + QLatin1Char('=') + quotedOption(value);
        timeoutGiven = timeoutGiven || keyword == QLatin1String("connect_timeout");
    }
    // A classroom machine that is switched off should not hold start-up for minutes.
    if (!timeoutGiven)
        extra << QStringLiteral("connect_timeout=10");
    settings.connectOptions = extra.join(QLatin1Char(';'));
    return settings;
}

QString readConnectionFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("%1: %2").arg(file.errorString(), QFileInfo(path).absoluteFilePath()),
                       ErrorKind::Engine);
    const QString text = connectionStringFromText(file.readAll());
    if (text.isEmpty())
        throw AppError(QStringLiteral("No connection string in %1").arg(QFileInfo(path).absoluteFilePath()),
                       ErrorKind::Engine);
    return text;
}

QString connectionStringFromText(const QByteArray &text)
{
    QStringList parts;
    for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#')))
            parts << trimmed;
    }
    return parts.join(QLatin1Char(' '));
}

QSqlDatabase connection(const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    if (backendOf(db) == Backend::Sqlite) {
        const QString path = db.driver() ? db.driver()->property(FileProperty).toString() : QString();
        if (db.isOpen())
            checkSqliteFile(connectionName, db);
        else if (!path.isEmpty())
            openSqlite(connectionName, path); // a file removed earlier may be back
        return db;
    }
    if (db.isOpen() && !serverDropped(db))
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
