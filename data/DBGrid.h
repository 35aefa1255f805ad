#pragma once

#include "CursorTableModel.h"

#include <QTableView>

class TableCursor;

// A grid over a TableCursor that shares its current row: choosing a row in
// the grid makes it the cursor's current row, and a move of the cursor (by a
// navigator, a search, another view) selects the row in the grid.
class DBGrid final : public QTableView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBGrid)

public:
    explicit DBGrid(QWidget *parent = nullptr);

    void bind(TableCursor *cursor, const QVector<GridColumn> &columns);
    // The usual keys of an editable data grid: Insert, or the down arrow on the
    // last row, starts a new row; Ctrl+Delete deletes the current one after asking.
    void setRowEditingKeys(bool on) { m_rowEditingKeys = on; }
    // Sets a column to the width wanted, but never narrower than its title
    // (and, for a date column, a date): scaled design widths laid out for
    // another font would otherwise cut them.
    void fitColumnWidth(int column, int wanted);
    int narrowestColumnWidth(int column) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void followCursor();
    void rowChosen(const QModelIndex &current);

    CursorTableModel *m_model;
    QMetaObject::Connection m_currentConnection;
    QMetaObject::Connection m_resetConnection;
    bool m_following = false;
    bool m_rowEditingKeys = false;
};
