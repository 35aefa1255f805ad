#include "TableCursor.h"

#include "AppError.h"
#include "CourseDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <optional>

namespace {

QString quoted(const QString &identifier)
{
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\""))
        + QLatin1Char('"');
}

bool sameValue(const QVariant &cell, const QVariant &wanted)
{
    if (cell.isNull() || wanted.isNull())
        return false;
    if (cell.typeId() == QMetaType::QDate || wanted.typeId() == QMetaType::QDate)
        return cell.toDate() == wanted.toDate();
    return cell.toString() == wanted.toString();
}

// <0, 0 or >0 as `cell` orders before, with or after `bound`; nullopt when
// they cannot be ordered (a date column's cell that holds no valid date).
std::optional<int> order(const QVariant &cell, const QVariant &bound)
{
    if (cell.typeId() == QMetaType::QDate || bound.typeId() == QMetaType::QDate) {
        const QDate a = cell.toDate(), b = bound.toDate();
        if (!a.isValid() || !b.isValid())
            return std::nullopt;
        return a < b ? -1 : (a == b ? 0 : 1);
    }
    bool numberA = false, numberB = false;
    const double a = cell.toDouble(&numberA), b = bound.toDouble(&numberB);
    if (numberA && numberB)
        return a < b ? -1 : (a == b ? 0 : 1);
    return cell.toString().compare(bound.toString());
}

bool meets(const QVariant &cell, const FieldCondition &condition)
{
    if (condition.compare == FieldCondition::Compare::Equal)
        return sameValue(cell, condition.value);
    if (cell.isNull() || condition.value.isNull())
        return false;
    const std::optional<int> o = order(cell, condition.value);
    if (!o)
        return false;
    return condition.compare == FieldCondition::Compare::AtLeast ? *o >= 0 : *o <= 0;
}

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

} // namespace

TableCursor::TableCursor(const QString &objectName, const QString &table,
                         const QStringList &columns, QObject *parent)
    : QObject(parent)
    , m_table(table)
    , m_columns(columns)
{
    setObjectName(objectName);
    m_isDate.fill(false, m_columns.size());
    m_maxLength.fill(0, m_columns.size());
}

void TableCursor::setDateColumns(const QStringList &columns)
{
    for (int i = 0; i < m_columns.size(); ++i)
        m_isDate[i] = columns.contains(m_columns.at(i));
}

void TableCursor::setMaxLength(const QString &column, int characters)
{
    const int c = columnIndex(column);
    if (c >= 0)
        m_maxLength[c] = characters;
}

void TableCursor::fail(const QString &message) const
{
    throw AppError(objectName() + QLatin1String(": ") + message, QStringLiteral("EDatabaseError"));
}

void TableCursor::checkActive() const
{
    if (!isActive())
        fail(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TableCursor::open()
{
    if (isActive())
        return;
    loadRows();
    m_state = State::Browse;
    rebuildView();
    setCurrent(m_view.isEmpty() ? -1 : 0);
    m_bof = true;
    emit rowsReset();
    emit stateChanged();
    emit currentChanged();
}

QString TableCursor::keyExpression(const QSqlDatabase &db) const
{
    if (!m_keyExpression.isEmpty())
        return m_keyExpression;
    return CourseDatabase::keyColumn(CourseDatabase::backendOf(db), m_table);
}

QString TableCursor::selectList() const
{
    QStringList cols;
    for (const QString &c : m_columns)
        cols << quoted(c);
    return cols.join(QLatin1String(", "));
}

void TableCursor::loadRows()
{
    QSqlDatabase db = CourseDatabase::connection(m_connectionName);
    if (!db.isOpen())
        throw AppError(db.lastError().isValid() ? CourseDatabase::engineText(db.lastError())
                                                : QStringLiteral("The database is not open"),
                       QStringLiteral("EOleException"));

    QSqlQuery query(db);
    query.setForwardOnly(true);
    const QString sql = QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY 1")
                            .arg(keyExpression(db), selectList(), quoted(m_table));
    if (!query.exec(sql))
        CourseDatabase::raiseEngineError(query.lastError());

    std::vector<Row> rows;
    rows.reserve(m_rows.size());
    while (query.next()) {
        Row row;
        row.key = query.value(0).toLongLong();
        row.values.reserve(m_columns.size());
        for (int i = 0; i < m_columns.size(); ++i)
            row.values.append(fromStorage(i, query.value(i + 1)));
        rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        CourseDatabase::raiseEngineError(query.lastError());
    m_rows = std::move(rows);
}

TableCursor::Row TableCursor::readRow(QSqlDatabase &db, qint64 key) const
{
    // Read back what the engine stored, generated identity and defaults included.
    Row row;
    row.key = key;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                      .arg(selectList(), quoted(m_table), keyExpression(db)));
    query.addBindValue(key);
    const bool found = query.exec() && query.next();
    for (int c = 0; c < m_columns.size(); ++c)
        row.values.append(found ? fromStorage(c, query.value(c)) : fromStorage(c, toStorage(c, m_buffer.at(c))));
    return row;
}

void TableCursor::close()
{
    if (!isActive())
        return;
    m_rows.clear();
    m_view.clear();
    m_buffer.clear();
    m_changedColumns.clear();
    m_modified = false;
    m_current = -1;
    m_eof = m_bof = true;
    m_state = State::Inactive;
    emit rowsReset();
    emit stateChanged();
    emit currentChanged();
}

void TableCursor::refresh()
{
    checkActive();
    checkBrowseMode();
    const qint64 key = (m_current >= 0 && m_current < m_view.size()) ? m_rows[m_view[m_current]].key : -1;
    loadRows();
    rebuildView();
    const int at = indexOfKey(key);
    setCurrent(at >= 0 ? at : (m_view.isEmpty() ? -1 : 0));
    emit rowsReset();
    emit currentChanged();
}

int TableCursor::recordCount() const
{
    return m_view.size() + (m_state == State::Insert ? 1 : 0);
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

bool TableCursor::rowMatches(const Row &row) const
{
    if (!m_filtered)
        return true;
    for (const FieldCondition &condition : m_filter) {
        const int column = columnIndex(condition.column);
        if (column < 0 || !meets(row.values.at(column), condition))
            return false;
    }
    return true;
}

void TableCursor::rebuildView()
{
    m_view.clear();
    m_view.reserve(int(m_rows.size()));
    for (int i = 0; i < int(m_rows.size()); ++i) {
        if (rowMatches(m_rows[i]))
            m_view.append(i);
    }
}

int TableCursor::indexOfKey(qint64 key) const
{
    for (int i = 0; i < m_view.size(); ++i) {
        if (m_rows[m_view[i]].key == key)
            return i;
    }
    return -1;
}

void TableCursor::setCurrent(int viewRow)
{
    const bool moved = viewRow != m_current;
    m_current = viewRow;
    m_eof = m_bof = (recordCount() == 0);
    if (moved)
        emit currentChanged();
}

void TableCursor::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged();
}

void TableCursor::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void TableCursor::first()
{
    checkActive();
    checkBrowseMode();
    setCurrent(m_view.isEmpty() ? -1 : 0);
    m_bof = true;
}

void TableCursor::last()
{
    checkActive();
    checkBrowseMode();
    setCurrent(int(m_view.size()) - 1);
    m_eof = true;
}

void TableCursor::next()
{
    checkActive();
    checkBrowseMode();
    if (m_current >= int(m_view.size()) - 1) {
        m_eof = true;
        return;
    }
    setCurrent(m_current + 1);
}

void TableCursor::prior()
{
    checkActive();
    checkBrowseMode();
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    setCurrent(m_current - 1);
}

void TableCursor::moveTo(int viewRow)
{
    checkActive();
    if (viewRow == m_current)
        return;
    checkBrowseMode();
    if (viewRow >= 0 && viewRow < m_view.size())
        setCurrent(viewRow);
}

bool TableCursor::locate(const QString &column, const QVariant &value)
{
    checkActive();
    checkBrowseMode();
    const int c = columnIndex(column);
    if (c < 0)
        return false;
    for (int i = 0; i < m_view.size(); ++i) {
        if (sameValue(m_rows[m_view[i]].values.at(c), value)) {
            setCurrent(i);
            return true;
        }
    }
    return false;
}

QVariant TableCursor::value(const QString &column) const
{
    const int c = columnIndex(column);
    if (!isActive() || c < 0)
        fail(QStringLiteral("Field '%1' not found").arg(column));
    if (isEditing())
        return m_buffer.at(c);
    if (m_current < 0 || m_current >= m_view.size())
        return QVariant();
    return m_rows[m_view[m_current]].values.at(c);
}

QVariant TableCursor::valueAt(int viewRow, int column) const
{
    if (!isActive() || column < 0 || column >= m_columns.size())
        return QVariant();
    if (isEditing() && viewRow == m_current)
        return m_buffer.at(column);
    if (viewRow < 0 || viewRow >= m_view.size())
        return QVariant();
    return m_rows[m_view[viewRow]].values.at(column);
}

void TableCursor::setValue(const QString &column, const QVariant &value)
{
    checkActive();
    const int c = columnIndex(column);
    if (c < 0)
        fail(QStringLiteral("Field '%1' not found").arg(column));
    if (!isEditing())
        fail(QStringLiteral("Dataset not in edit or insert mode"));
    const int limit = m_maxLength.at(c);
    if (limit > 0 && value.typeId() == QMetaType::QString && value.toString().size() > limit)
        m_buffer[c] = value.toString().left(limit);
    else
        m_buffer[c] = value;
    m_changedColumns.insert(c);
    m_modified = true;
    emit rowValuesChanged(m_current);
}

void TableCursor::insert()
{
    checkActive();
    checkBrowseMode();
    m_buffer = QVector<QVariant>(m_columns.size());
    m_changedColumns.clear();
    m_modified = false;
    setState(State::Insert);
    emit rowsReset();
    setCurrent(int(m_view.size()));
}

void TableCursor::edit()
{
    checkActive();
    if (isEditing())
        return;
    if (m_view.isEmpty()) {
        insert();
        return;
    }
    m_buffer = m_rows[m_view[m_current]].values;
    m_changedColumns.clear();
    m_modified = false;
    setState(State::Edit);
}

void TableCursor::post()
{
    checkActive();
    if (!isEditing())
        fail(QStringLiteral("Dataset not in edit or insert mode"));

    QSqlDatabase db = CourseDatabase::connection(m_connectionName);
    const bool server = CourseDatabase::backendOf(db) == CourseDatabase::Backend::PostgreSql;
    QSqlQuery query(db);
    QList<int> changed = m_changedColumns.values();
    std::sort(changed.begin(), changed.end());

    if (m_state == State::Insert) {
        QStringList names, marks;
        for (int c : changed) {
            names << quoted(m_columns.at(c));
            marks << QStringLiteral("?");
        }
        QString sql = changed.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(m_table))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoted(m_table), names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
        // The server has no last insert id across sessions: the row comes back with the insert.
        if (server)
            sql += QStringLiteral(" RETURNING %1, %2").arg(keyExpression(db), selectList());
        if (!query.prepare(sql))
            CourseDatabase::raiseEngineError(query.lastError());
        for (int c : changed)
            query.addBindValue(toStorage(c, m_buffer.at(c)));
        if (!query.exec())
            CourseDatabase::raiseEngineError(query.lastError());

        if (server && query.next()) {
            Row row;
            row.key = query.value(0).toLongLong();
            for (int c = 0; c < m_columns.size(); ++c)
                row.values.append(fromStorage(c, query.value(c + 1)));
            m_rows.push_back(std::move(row));
        } else {
            m_rows.push_back(readRow(db, query.lastInsertId().toLongLong()));
        }
        const qint64 key = m_rows.back().key;
        m_buffer.clear();
        m_changedColumns.clear();
        m_modified = false;
        m_state = State::Browse;
        rebuildView();
        const int at = indexOfKey(key);
        m_current = -2; // force the change notification
        emit rowsReset();
        setCurrent(at >= 0 ? at : (m_view.isEmpty() ? -1 : 0));
        emit stateChanged();
        return;
    }

    Row &row = m_rows[m_view[m_current]];
    if (!changed.isEmpty()) {
        QStringList sets;
        for (int c : changed)
            sets << quoted(m_columns.at(c)) + QLatin1String(" = ?");
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                .arg(quoted(m_table), sets.join(QLatin1String(", ")), keyExpression(db));
        if (!query.prepare(sql))
            CourseDatabase::raiseEngineError(query.lastError());
        for (int c : changed)
            query.addBindValue(toStorage(c, m_buffer.at(c)));
        query.addBindValue(row.key);
        if (!query.exec())
            CourseDatabase::raiseEngineError(query.lastError());
        for (int c : changed)
            row.values[c] = fromStorage(c, toStorage(c, m_buffer.at(c)));
    }
    m_buffer.clear();
    m_changedColumns.clear();
    m_modified = false;
    setState(State::Browse);
    emit rowValuesChanged(m_current);
}

void TableCursor::cancel()
{
    checkActive();
    if (!isEditing())
        return;
    const bool wasInsert = m_state == State::Insert;
    m_buffer.clear();
    m_changedColumns.clear();
    m_modified = false;
    m_state = State::Browse;
    if (wasInsert) {
        emit rowsReset();
        setCurrent(m_view.isEmpty() ? -1 : int(m_view.size()) - 1);
    } else {
        emit rowValuesChanged(m_current);
    }
    emit stateChanged();
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
    if (!query.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quoted(m_table), keyExpression(db))))
        CourseDatabase::raiseEngineError(query.lastError());
    query.addBindValue(m_rows[rowIndex].key);
    if (!query.exec())
        CourseDatabase::raiseEngineError(query.lastError());

    m_rows.erase(m_rows.begin() + rowIndex);
    const int at = m_current;
    rebuildView();
    m_current = -2;
    emit rowsReset();
    setCurrent(m_view.isEmpty() ? -1 : std::min(at, int(m_view.size()) - 1));
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
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quoted(m_table), keyExpression(db)))) {
        const QString text = CourseDatabase::engineText(query.lastError());
        db.rollback();
        throw AppError(text, QStringLiteral("EOleException"));
    }
    QSet<qint64> gone;
    gone.reserve(m_view.size());
    for (int index : std::as_const(m_view)) {
        query.bindValue(0, m_rows[index].key);
        if (!query.exec()) {
            const QString text = CourseDatabase::engineText(query.lastError());
            db.rollback();
            throw AppError(text, QStringLiteral("EOleException"));
        }
        gone.insert(m_rows[index].key);
    }
    if (!db.commit()) {
        const QString text = CourseDatabase::engineText(db.lastError());
        db.rollback();
        throw AppError(text, QStringLiteral("EOleException"));
    }
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(),
                                [&gone](const Row &row) { return gone.contains(row.key); }),
                 m_rows.end());
    rebuildView();
    m_current = -2;
    emit rowsReset();
    setCurrent(m_view.isEmpty() ? -1 : 0);
}

void TableCursor::setFilter(const RowFilter &filter)
{
    const bool same = filter.size() == m_filter.size()
        && std::equal(filter.begin(), filter.end(), m_filter.begin(),
                      [](const FieldCondition &a, const FieldCondition &b) {
                          return a.column == b.column && a.value == b.value && a.compare == b.compare;
                      });
    if (same)
        return;
    if (m_filtered && isActive())
        checkBrowseMode();
    m_filter = filter;
    if (m_filtered && isActive()) {
        rebuildView();
        m_current = -2;
        emit rowsReset();
        setCurrent(m_view.isEmpty() ? -1 : 0);
    }
}

void TableCursor::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (isActive())
        checkBrowseMode();
    m_filtered = on;
    if (isActive()) {
        rebuildView();
        m_current = -2;
        emit rowsReset();
        setCurrent(m_view.isEmpty() ? -1 : 0);
    }
}
