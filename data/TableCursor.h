#pragma once

#include "RowFilter.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <vector>

class QSqlDatabase;
class QSqlQuery;


// A static client-side cursor over one whole table: the rows are loaded when
// it opens, every Post and Delete is written through at once, and the filter
// is evaluated on the loaded rows (typed text never becomes SQL).
// It keeps one current row and an edit buffer, the way the data-aware views
// of the windows expect: a pending edit is posted when a value was changed and
// cancelled otherwise, before any operation that leaves the row.
class TableCursor final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableCursor)

public:
    enum class State { Inactive, Browse, Edit, Insert };

    TableCursor(const QString &objectName, const QString &table, const QStringList &columns,
                QObject *parent = nullptr);

    void setConnectionName(const QString &name) { m_connectionName = name; }
    // Columns whose values are dates, stored as 'YYYY-MM-DD' text and read as QDate.
    void setDateColumns(const QStringList &columns);
    bool isDateColumn(int column) const { return m_isDate.value(column, false); }
    // The width of a text column in characters: every value set in it is cut
    // to that, whoever writes it (a window, a grid cell).
    void setMaxLength(const QString &column, int characters);

    QString tableName() const { return m_table; }
    const QStringList &columns() const { return m_columns; }
    int columnIndex(const QString &column) const { return m_columns.indexOf(column); }

    void open();
    void close();
    void refresh();
    bool isActive() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool isModified() const { return m_modified; }

    // Rows in view (the row being inserted counts), and the current one among them.
    int recordCount() const;
    int currentIndex() const { return m_current; }
    bool isEmpty() const { return recordCount() == 0; }
    bool eof() const { return m_eof; }

    void first();
    void last();
    void next();
    void prior();
    void moveTo(int viewRow);

    bool locate(const QString &column, const QVariant &value);

    QVariant value(const QString &column) const;
    QVariant valueAt(int viewRow, int column) const;
    void setValue(const QString &column, const QVariant &value);

    void insert();
    void edit();
    void post();
    void cancel();
    void remove();
    // Deletes every row in view in one transaction: all of them or, on an error, none.
    void removeAllInView();

    void setFilter(const RowFilter &filter);
    RowFilter filter() const { return m_filter; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

signals:
    // The set or order of rows in view changed (open, filter, insert, delete).
    void rowsReset();
    // The values shown for one row in view changed (edit buffer or a post).
    void rowValuesChanged(int viewRow);
    void currentChanged();
    void stateChanged();

private:
    struct Row
    {
        qint64 key = 0;
        QVector<QVariant> values;
    };

    [[noreturn]] void fail(const QString &message) const;
    void checkActive() const;
    // Finishes a pending edit or insert: posted when a value changed, cancelled otherwise.
    void checkBrowseMode();
    void postInsert(QSqlDatabase &db);
    void postUpdate(QSqlDatabase &db);
    void clearBuffer();
    // The set of rows in view changed: views reload, and the row at `viewRow`
    // is announced as current even when its index is the one it had.
    void showNewView(int viewRow);
    void rebuildView();
    bool rowMatches(const Row &row) const;
    int indexOfKey(qint64 key) const;
    void setCurrent(int viewRow);
    void setState(State state);
    QVariant fromStorage(int column, const QVariant &stored) const;
    QVariant toStorage(int column, const QVariant &value) const;
    // The SQL side (TableCursorStorage.cpp).
    void loadRows();
    Row rowFrom(const QSqlQuery &query) const; // key, then the columns
    Row readRow(QSqlDatabase &db, qint64 key) const;
    // The changed columns of the edit buffer, in column order.
    QList<int> changedColumns() const;
    Row insertRow(QSqlDatabase &db) const;
    void updateRow(QSqlDatabase &db, qint64 key, const QList<int> &changed) const;
    // The back end's key column: SQLite's rowid, the server's generated key.
    QString keyExpression(const QSqlDatabase &db) const;
    QString deleteStatement(const QSqlDatabase &db) const;

    QString m_table;
    QStringList m_columns;
    QVector<bool> m_isDate; // per column: stored as 'YYYY-MM-DD', read as QDate
    QVector<int> m_maxLength; // per column: characters a text keeps, 0 for no limit
    QString m_connectionName;

    std::vector<Row> m_rows;
    QVector<int> m_view;      // indices into m_rows, in table order
    int m_current = -1;       // index into the view; == m_view.size() while inserting
    bool m_eof = true;
    State m_state = State::Inactive;

    QVector<QVariant> m_buffer;
    QSet<int> m_changedColumns;
    bool m_modified = false;

    RowFilter m_filter;
    bool m_filtered = false;
};
