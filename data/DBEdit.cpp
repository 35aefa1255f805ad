#include "DBEdit.h"

#include "Messages.h"
#include "TableCursor.h"

DBEdit::DBEdit(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &DBEdit::typed);
}

void DBEdit::bind(TableCursor *cursor, const QString &column)
{
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_cursor = cursor;
    m_column = column;
    if (cursor) {
        m_connections << connect(cursor, &TableCursor::currentChanged, this, &DBEdit::showValue)
                      << connect(cursor, &TableCursor::rowValuesChanged, this, &DBEdit::showValue)
                      << connect(cursor, &TableCursor::rowsReset, this, &DBEdit::showValue)
                      << connect(cursor, &TableCursor::stateChanged, this, &DBEdit::showValue);
    }
    showValue();
}

void DBEdit::showValue()
{
    QString text;
    if (m_cursor && m_cursor->isActive() && m_cursor->columnIndex(m_column) >= 0)
        text = m_cursor->value(m_column).toString();
    // The same text again would move the typing position to the end.
    if (text != this->text())
        setText(text);
}

void DBEdit::typed(const QString &text)
{
    if (!m_cursor)
        return;
    Messages::guarded([&] {
        m_cursor->edit();
        m_cursor->setValue(m_column, text);
    });
    showValue();
}
