#pragma once

#include <QSqlError>
#include <QString>
#include <QVector>

class QSqlDatabase;

// Deletes rows by key in statements of many keys each: one statement per row
// costs the journal's prunings several times what the engine needs for the
// deletion itself.
namespace KeyedDelete {

// Keys per statement: binding a value costs more the more a statement has,
// so longer lists are slower; a hundred deleted fastest, and stay far under
// the bound-value limits of both back ends.
constexpr int KeysPerStatement = 100;

// Runs DELETE FROM `table` WHERE `keyExpression` IN (...) over all `keys`,
// inside the transaction the caller has begun. `table` is an SQL identifier
// already quoted. On the first statement that fails the transaction is rolled
// back and that statement's error returned; NoError otherwise.
QSqlError deleteRows(QSqlDatabase &db, const QString &table, const QString &keyExpression,
                     const QVector<qint64> &keys);

} // namespace KeyedDelete
