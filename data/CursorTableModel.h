#pragma once

#include "GridColumn.h"

#include <QAbstractTableModel>
#include <QString>
#include <QVector>

class TableCursor;

// The rows of a TableCursor as a table model: follows the cursor's signals, so
// a pending edit shows at once; an edited cell puts the cursor's current row
// into the edit state and sets the value, which stays pending until posted.
class CursorTableModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CursorTableModel)

public:
    explicit CursorTableModel(QObject *parent = nullptr);

    void bind(TableCursor *cursor, const QVector<GridColumn> &columns);
    TableCursor *tableCursor() const { return m_cursor; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // True for a column shown grey: read-only in a grid whose other columns can be edited.
    bool readOnlyShown(int column) const;
    bool holdsDates(int column) const;

private:
    void resetRows();
    void rowChanged(int viewRow);

    TableCursor *m_cursor = nullptr;
    QVector<GridColumn> m_columns;
    QVector<int> m_cursorColumns; // index of each grid column in the cursor
    QVector<QMetaObject::Connection> m_connections;
};
