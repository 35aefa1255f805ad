#include "DBGrid.h"

#include "Messages.h"
#include "TableCursor.h"

#include <QDate>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QScopedValueRollback>
#include <QStyle>

#include <algorithm>

DBGrid::DBGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new CursorTableModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(verticalHeader()->minimumSectionSize() + 4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(12);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { rowChosen(current); });
}

void DBGrid::bind(TableCursor *cursor, const QVector<GridColumn> &columns)
{
    disconnect(m_currentConnection);
    disconnect(m_resetConnection);
    {
        QScopedValueRollback<bool> guard(m_following, true);
        m_model->bind(cursor, columns);
    }
    for (int i = 0; i < columns.size(); ++i)
        fitColumnWidth(i, columns.at(i).width);
    if (cursor) {
        m_currentConnection = connect(cursor, &TableCursor::currentChanged, this, &DBGrid::followCursor);
        // A reset of the model drops the current index; put it back on the cursor's row.
        m_resetConnection = connect(m_model, &QAbstractItemModel::modelReset, this, &DBGrid::followCursor);
    }
    followCursor();
}

void DBGrid::fitColumnWidth(int column, int wanted)
{
    setColumnWidth(column, std::max(wanted, narrowestColumnWidth(column)));
}

int DBGrid::narrowestColumnWidth(int column) const
{
    int width = horizontalHeader()->sectionSizeHint(column);
    if (m_model->holdsDates(column)) {
        // The widest day and month in the short form the grid shows.
        const QString date = QLocale::system().toString(QDate(2000, 12, 28), QLocale::ShortFormat);
        const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
        width = std::max(width, fontMetrics().horizontalAdvance(date) + 2 * margin + 1);
    }
    return width;
}

void DBGrid::followCursor()
{
    TableCursor *cursor = m_model->tableCursor();
    QScopedValueRollback<bool> guard(m_following, true);
    const int row = (cursor && cursor->isActive()) ? cursor->currentIndex() : -1;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
        return;
    }
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex target = m_model->index(row, column);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(target);
}

void DBGrid::rowChosen(const QModelIndex &current)
{
    if (m_following || !current.isValid())
        return;
    TableCursor *cursor = m_model->tableCursor();
    if (!cursor)
        return;
    Messages::guarded([&] { cursor->moveTo(current.row()); });
    // A pending row that could not be posted keeps the cursor where it was.
    if (cursor->currentIndex() != current.row())
        followCursor();
}

void DBGrid::keyPressEvent(QKeyEvent *event)
{
    TableCursor *cursor = m_model->tableCursor();
    if (m_rowEditingKeys && cursor && cursor->isActive()) {
        const bool lastRow = cursor->currentIndex() >= cursor->recordCount() - 1;
        if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
            Messages::guarded([cursor] { cursor->insert(); });
            return;
        }
        if (event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier && lastRow
            && cursor->state() != TableCursor::State::Insert) {
            Messages::guarded([cursor] { cursor->insert(); });
            return;
        }
        if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
            Messages::guarded([cursor] {
                if (!cursor->isEmpty() && Messages::confirm(QStringLiteral("Delete record?")))
                    cursor->remove();
            });
            return;
        }
    }
    QTableView::keyPressEvent(event);
}
