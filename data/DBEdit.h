#pragma once

#include <QLineEdit>
#include <QString>

class TableCursor;

// A line edit bound to one column of a TableCursor's current row: shows its
// value, and typing puts the row into the edit state and sets the column
// (the change stays pending until the row is posted).
class DBEdit final : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBEdit)

public:
    explicit DBEdit(QWidget *parent = nullptr);

    void bind(TableCursor *cursor, const QString &column);

private:
    void showValue();
    void typed(const QString &text);

    TableCursor *m_cursor = nullptr;
    QString m_column;
    QVector<QMetaObject::Connection> m_connections;
};
