#include "CourseDatabase.h"

#include "AppError.h"
#include "schema_sql.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

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
    throw AppError(engineText(error), QStringLiteral("EOleException"));
}

namespace {

void exec(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        raiseEngineError(query.lastError());
}

} // namespace

void openSqlite(const QString &connectionName, const QString &path)
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName)
        ? QSqlDatabase::database(connectionName, false)
        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    // A URI with mode=rw makes a missing file an error instead of a new empty database.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    db.setDatabaseName(QStringLiteral("file:") + QString::fromUtf8(QUrl::toPercentEncoding(absolute, "/"))
                       + QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        throw AppError(engineText(db.lastError()) + QStringLiteral(": ") + absolute,
                       QStringLiteral("EOleException"));
    try {
        // Reading the mode back also proves that the file is a database at all.
        exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
    } catch (...) {
        db.close();
        throw;
    }
}

void createSchema(const QString &connectionName)
{
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    const QStringList statements = QString::fromUtf8(SchemaSql).split(QLatin1Char(';'), Qt::SkipEmptyParts);
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

} // namespace CourseDatabase
