#include "CursorTableModel.h"

#include "Messages.h"
#include "TableCursor.h"

#include <QDate>
#include <QGuiApplication>
#include <QLocale>
#include <QPalette>

#include <algorithm>

CursorTableModel::CursorTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void CursorTableModel::bind(TableCursor *cursor, const QVector<GridColumn> &columns)
{
    beginResetModel();
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_cursor = cursor;
    m_columns = columns;
    m_cursorColumns.clear();
    for (const GridColumn &column : columns)
        m_cursorColumns.append(cursor ? cursor->columnIndex(column.column) : -1);
    if (cursor) {
        m_connections << connect(cursor, &TableCursor::rowsReset, this, &CursorTableModel::resetRows)
                      << connect(cursor, &TableCursor::rowValuesChanged, this, &CursorTableModel::rowChanged);
    }
    endResetModel();
}

void CursorTableModel::resetRows()
{
    // The cursor has already changed its rows: views only need to start over.
    beginResetModel();
    endResetModel();
}

void CursorTableModel::rowChanged(int viewRow)
{
    if (viewRow < 0 || viewRow >= rowCount() || m_columns.isEmpty())
        return;
    emit dataChanged(index(viewRow, 0), index(viewRow, int(m_columns.size()) - 1));
}

int CursorTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_cursor || !m_cursor->isActive())
        return 0;
    return m_cursor->recordCount();
}

int CursorTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant CursorTableModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::BackgroundRole)
        return readOnlyShown(index.column()) ? QVariant(QGuiApplication::palette().brush(QPalette::Button))
                                              : QVariant();
    if (!index.isValid() || !m_cursor || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const QVariant value = m_cursor->valueAt(index.row(), m_cursorColumns.value(index.column(), -1));
    if (role == Qt::DisplayRole && value.typeId() == QMetaType::QDate)
        return QLocale::system().toString(value.toDate(), QLocale::ShortFormat);
    return value;
}

QVariant CursorTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns.at(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool CursorTableModel::readOnlyShown(int column) const
{
    // In a grid the user types into, grey marks the columns that cannot be
    // typed into; a grid that is read-only throughout needs no such mark.
    if (column < 0 || column >= m_columns.size() || m_columns.at(column).editable)
        return false;
    return std::any_of(m_columns.cbegin(), m_columns.cend(), [](const GridColumn &c) { return c.editable; });
}

bool CursorTableModel::holdsDates(int column) const
{
    return m_cursor && m_cursor->isDateColumn(m_cursorColumns.value(column, -1));
}

Qt::ItemFlags CursorTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && m_columns.value(index.column()).editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool CursorTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !m_cursor || !m_columns.value(index.column()).editable)
        return false;
    bool done = false;
    Messages::guarded([&] {
        m_cursor->moveTo(index.row());
        if (m_cursor->currentIndex() != index.row())
            return;
        m_cursor->edit();
        m_cursor->setValue(m_columns.at(index.column()).column, value);
        done = true;
    });
    return done;
}
