// How a TableCursor reads its table and writes its changes through: the SQL
// side of the cursor, kept apart from its rows, view and edit buffer.
#include "TableCursor.h"

#include "AppError.h"
#include "CourseDatabase.h"
#include "KeyedDelete.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace {

// 'YYYY-MM-DD' (anything after it ignored); an invalid date for any other text.
// Parsed by hand: opening a large journal reads one date per row.
QDate parseIsoDate(const QString &text)
{
    if (text.size() < 10 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-'))
        return QDate();
    auto number = [&text](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i) {
            const QChar c = text.at(i);
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return -1;
            value = value * 10 + (c.unicode() - '0');
        }
        return value;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    if (year < 0 || month < 0 || day < 0)
        return QDate();
    return QDate(year, month, day);
}

// An engine error inside a transaction: rolled back, then raised.
[[noreturn]] void rollBackAndRaise(QSqlDatabase &db, const QSqlError &error)
{
    const QString text = CourseDatabase::engineText(error);
    db.rollback();
    throw AppError(text, ErrorKind::Engine);
}

} // namespace

QString TableCursor::keyExpression(const QSqlDatabase &db) const
{
    return CourseDatabase::keyColumn(CourseDatabase::backendOf(db), m_table);
}

QString TableCursor::deleteStatement(const QSqlDatabase &db) const
{
    return QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(CourseDatabase::quotedName(m_table), keyExpression(db));
}

void TableCursor::loadRows()
{
    QSqlDatabase db = CourseDatabase::connection(m_connectionName);
    if (!db.isOpen())
        throw AppError(db.lastError().isValid() ? CourseDatabase::engineText(db.lastError())
                                                : QStringLiteral("The database is not open"),
                       ErrorKind::Engine);

    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString sql = QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY 1")
                            .arg(keyExpression(db), CourseDatabase::nameList(m_columns),
                                 CourseDatabase::quotedName(m_table));
    if (!query.exec(sql))
        CourseDatabase::raiseEngineError(query.lastError());

    std::vector<Row> rows;
    rows.reserve(m_rows.size());
    while (query.next())
        rows.push_back(rowFrom(query));
    if (query.lastError().isValid())
        CourseDatabase::raiseEngineError(query.lastError());
    m_rows = std::move(rows);
}

TableCursor::Row TableCursor::rowFrom(const QSqlQuery &query) const
{
    Row row;
    row.key = query.value(0).toLongLong();
    row.values.reserve(m_columns.size());
    for (int c = 0; c < m_columns.size(); ++c)
        row.values.append(fromStorage(c, query.value(c + 1)));
    return row;
}

TableCursor::Row TableCursor::readRow(QSqlDatabase &db, qint64 key) const
{
    // Read back what the engine stored, generated identity and defaults included.
    Row row;
    row.key = key;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                      .arg(CourseDatabase::nameList(m_columns), CourseDatabase::quotedName(m_table),
                           keyExpression(db)));
    query.addBindValue(key);
    const bool found = query.exec() && query.next();
    for (int c = 0; c < m_columns.size(); ++c)
        row.values.append(found ? fromStorage(c, query.value(c)) : fromStorage(c, toStorage(c, m_buffer.at(c))));
    return row;
}

QVariant TableCursor::fromStorage(int column, const QVariant &stored) const
{
    if (stored.isNull())
        return QVariant();
    if (m_isDate.at(column)) {
        const QString text = stored.toString();
        const QDate date = parseIsoDate(text);
        return date.isValid() ? QVariant(date) : QVariant(text);
    }
    return stored;
}

QVariant TableCursor::toStorage(int column, const QVariant &value) const
{
    if (value.isNull())
        return QVariant(QMetaType(QMetaType::QString));
    if (m_isDate.at(column)) {
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().toString(Qt::ISODate);
        if (value.typeId() == QMetaType::QDateTime)
            return value.toDateTime().date().toString(Qt::ISODate);
    }
    return value;
}

QList<int> TableCursor::changedColumns() const
{
    QList<int> changed = m_changedColumns.values();
    std::sort(changed.begin(), changed.end());
    return changed;
}

TableCursor::Row TableCursor::insertRow(QSqlDatabase &db) const
{
    const QList<int> changed = changedColumns();
    QStringList names;
    for (int c : changed)
        names << m_columns.at(c);
    QString sql = changed.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(CourseDatabase::quotedName(m_table))
        : CourseDatabase::insertStatement(m_table, names);
    // The server has no last insert id across sessions: the row comes back with the insert.
    const bool server = CourseDatabase::backendOf(db) == CourseDatabase::Backend::PostgreSql;
    if (server)
        sql += QStringLiteral(" RETURNING %1, %2").arg(keyExpression(db), CourseDatabase::nameList(m_columns));
    QSqlQuery query(db);
    if (!query.prepare(sql))
        CourseDatabase::raiseEngineError(query.lastError());
    for (int c : changed)
        query.addBindValue(toStorage(c, m_buffer.at(c)));
    if (!query.exec())
        CourseDatabase::raiseEngineError(query.lastError());
    if (server && query.next())
        return rowFrom(query);
    return readRow(db, query.lastInsertId().toLongLong());
}

void TableCursor::updateRow(QSqlDatabase &db, qint64 key, const QList<int> &changed) const
{
    QStringList sets;
    for (int c : changed)
        sets << CourseDatabase::quotedName(m_columns.at(c)) + QLatin1String(" = ?");
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                           .arg(CourseDatabase::quotedName(m_table), sets.join(QLatin1String(", ")), keyExpression(db))))
        CourseDatabase::raiseEngineError(query.lastError());
    for (int c : changed)
        query.addBindValue(toStorage(c, m_buffer.at(c)));
    query.addBindValue(key);
    if (!query.exec())
        CourseDatabase::raiseEngineError(query.lastError());
}

void TableCursor::remove()
{
    checkActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_current < 0 || m_current >= m_view.size())
        fail(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (m_state == State::Edit)
        cancel();

    const int rowIndex = m_view[m_current];
    QSqlDatabase db = CourseDatabase::connection(m_connectionName);
    QSqlQuery query(db);
    if (!query.prepare(deleteStatement(db)))
        CourseDatabase::raiseEngineError(query.lastError());
    query.addBindValue(m_rows[rowIndex].key);
    if (!query.exec())
        CourseDatabase::raiseEngineError(query.lastError());

    m_rows.erase(m_rows.begin() + rowIndex);
    const int at = m_current;
    rebuildView();
    showNewView(m_view.isEmpty() ? -1 : std::min(at, int(m_view.size()) - 1));
}

void TableCursor::removeAllInView()
{
    checkActive();
    checkBrowseMode();
    if (m_view.isEmpty())
        return;

    QSqlDatabase db = CourseDatabase::connection(m_connectionName);
    if (!db.transaction())
        CourseDatabase::raiseEngineError(db.lastError());
    QVector<qint64> keys;
    keys.reserve(m_view.size());
    for (int index : std::as_const(m_view))
        keys.append(m_rows[index].key);
    const QSqlError error = KeyedDelete::deleteRows(db, CourseDatabase::quotedName(m_table), keyExpression(db), keys);
    if (error.isValid())
        throw AppError(CourseDatabase::engineText(error), ErrorKind::Engine);
    if (!db.commit())
        rollBackAndRaise(db, db.lastError());
    // Every row the filter lets through is gone, so the view is empty.
    std::vector<bool> gone(m_rows.size());
    for (int index : std::as_const(m_view))
        gone[size_t(index)] = true;
    size_t kept = 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (gone[i])
            continue;
        if (kept != i)
            m_rows[kept] = std::move(m_rows[i]);
        ++kept;
    }
    m_rows.resize(kept);
    m_view.clear();
    showNewView(-1);
}
