#include "KeyedDelete.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>

namespace KeyedDelete {

namespace {

QString statement(const QString &table, const QString &keyExpression, int keyCount)
{
    QString marks;
    marks.reserve(keyCount * 2);
    for (int i = 0; i < keyCount; ++i)
        marks += i == 0 ? QLatin1String("?") : QLatin1String(",?");
    return QStringLiteral("DELETE FROM %1 WHERE %2 IN (%3)").arg(table, keyExpression, marks);
}

} // namespace

QSqlError deleteRows(QSqlDatabase &db, const QString &table, const QString &keyExpression,
                     const QVector<qint64> &keys)
{
    // Rolled back while the statement still exists: a server refuses to free
    // it inside a failed transaction.
    const auto failed = [&db](const QSqlQuery &query) {
        const QSqlError error = query.lastError();
        db.rollback();
        return error;
    };
    // Full batches share one prepared statement; the rest gets its own.
    QSqlQuery query(db);
    int preparedFor = 0;
    for (qsizetype start = 0; start < keys.size(); start += KeysPerStatement) {
        const int count = int(std::min<qsizetype>(KeysPerStatement, keys.size() - start));
        if (count != preparedFor) {
            if (!query.prepare(statement(table, keyExpression, count)))
                return failed(query);
            preparedFor = count;
        }
        for (int i = 0; i < count; ++i)
            query.bindValue(i, keys.at(start + i));
        if (!query.exec())
            return failed(query);
    }
    return QSqlError();
}

} // namespace KeyedDelete
