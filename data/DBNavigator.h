#pragma once

#include <QFlags>
#include <QVector>
#include <QWidget>

class QToolButton;
class TableCursor;

// A bar of buttons that move through and change the rows of a TableCursor.
// Each button is enabled only when its command makes sense for the cursor's
// state; delete asks "Delete record?" first.
class DBNavigator final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBNavigator)

public:
    enum Button {
        First = 0x1,
        Prior = 0x2,
        Next = 0x4,
        Last = 0x8,
        Insert = 0x10,
        Delete = 0x20,
        Edit = 0x40,
        Post = 0x80,
        Cancel = 0x100,
        Refresh = 0x200,
    };
    Q_DECLARE_FLAGS(Buttons, Button)
    static constexpr Buttons AllButtons = Buttons(0x3ff);

    explicit DBNavigator(QWidget *parent = nullptr);

    void bind(TableCursor *cursor, Buttons visible = AllButtons);
    // The button for one command (also when it is not shown), for tests and layouts.
    QToolButton *button(Button which) const;
    // Runs one command as its button does.
    void click(Button which);

private:
    void updateButtons();
    void run(Button which);

    TableCursor *m_cursor = nullptr;
    QVector<QToolButton *> m_buttons; // in the order of Button's bits
    QVector<QMetaObject::Connection> m_connections;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DBNavigator::Buttons)
