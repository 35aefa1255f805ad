#include "TableCursor.h"

#include "AppError.h"
#include "CourseDatabase.h"

#include <QSqlDatabase>

#include <algorithm>

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
    throw AppError(objectName() + QLatin1String(": ") + message, ErrorKind::Database);
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
    emit rowsReset();
    emit stateChanged();
    emit currentChanged();
}

void TableCursor::close()
{
    if (!isActive())
        return;
    m_rows.clear();
    m_view.clear();
    clearBuffer();
    m_current = -1;
    m_eof = true;
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

bool TableCursor::rowMatches(const Row &row) const
{
    if (!m_filtered)
        return true;
    for (const FieldCondition &condition : m_filter) {
        const int column = columnIndex(condition.column);
        if (column < 0 || !RowFilters::meets(row.values.at(column), condition))
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
    m_eof = (recordCount() == 0);
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
        if (RowFilters::sameValue(m_rows[m_view[i]].values.at(c), value)) {
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
    if (m_state == State::Insert)
        postInsert(db);
    else
        postUpdate(db);
}

void TableCursor::postInsert(QSqlDatabase &db)
{
    m_rows.push_back(insertRow(db));
    const qint64 key = m_rows.back().key;
    clearBuffer();
    m_state = State::Browse;
    rebuildView();
    const int at = indexOfKey(key);
    showNewView(at >= 0 ? at : (m_view.isEmpty() ? -1 : 0));
    emit stateChanged();
}

void TableCursor::postUpdate(QSqlDatabase &db)
{
    Row &row = m_rows[m_view[m_current]];
    const QList<int> changed = changedColumns();
    if (!changed.isEmpty()) {
        updateRow(db, row.key, changed);
        for (int c : changed)
            row.values[c] = fromStorage(c, toStorage(c, m_buffer.at(c)));
    }
    clearBuffer();
    setState(State::Browse);
    emit rowValuesChanged(m_current);
}

void TableCursor::clearBuffer()
{
    m_buffer.clear();
    m_changedColumns.clear();
    m_modified = false;
}

void TableCursor::showNewView(int viewRow)
{
    // Not a row index: the current row is announced even when its index stayed.
    m_current = -2;
    emit rowsReset();
    setCurrent(viewRow);
}

void TableCursor::cancel()
{
    checkActive();
    if (!isEditing())
        return;
    const bool wasInsert = m_state == State::Insert;
    clearBuffer();
    m_state = State::Browse;
    if (wasInsert) {
        emit rowsReset();
        setCurrent(m_view.isEmpty() ? -1 : int(m_view.size()) - 1);
    } else {
        emit rowValuesChanged(m_current);
    }
    emit stateChanged();
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
        showNewView(m_view.isEmpty() ? -1 : 0);
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
        showNewView(m_view.isEmpty() ? -1 : 0);
    }
}
