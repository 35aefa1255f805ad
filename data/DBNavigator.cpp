#include "DBNavigator.h"

#include "Messages.h"
#include "TableCursor.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace {

struct ButtonLook
{
    DBNavigator::Button button;
    const char *name;
    const char *icon;
    const char *hint;
};

const ButtonLook Looks[] = {
    {DBNavigator::First, "First", ":/icons/nav-first.svg", "First record"},
    {DBNavigator::Prior, "Prior", ":/icons/nav-prior.svg", "Prior record"},
    {DBNavigator::Next, "Next", ":/icons/nav-next.svg", "Next record"},
    {DBNavigator::Last, "Last", ":/icons/nav-last.svg", "Last record"},
    {DBNavigator::Insert, "Insert", ":/icons/nav-insert.svg", "Insert record"},
    {DBNavigator::Delete, "Delete", ":/icons/nav-delete.svg", "Delete record"},
    {DBNavigator::Edit, "Edit", ":/icons/nav-edit.svg", "Edit record"},
    {DBNavigator::Post, "Post", ":/icons/nav-post.svg", "Post edit"},
    {DBNavigator::Cancel, "Cancel", ":/icons/nav-cancel.svg", "Cancel edit"},
    {DBNavigator::Refresh, "Refresh", ":/icons/nav-refresh.svg", "Refresh data"},
};

int bitIndex(DBNavigator::Button which)
{
    int i = 0;
    while ((1 << i) != which)
        ++i;
    return i;
}

} // namespace

DBNavigator::DBNavigator(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const ButtonLook &look : Looks) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(look.name));
        b->setIcon(QIcon(QString::fromLatin1(look.icon)));
        b->setToolTip(QString::fromLatin1(look.hint));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        b->setFocusPolicy(Qt::NoFocus);
        const Button which = look.button;
        connect(b, &QToolButton::clicked, this, [this, which] { click(which); });
        layout->addWidget(b);
        m_buttons.append(b);
    }
    updateButtons();
}

void DBNavigator::bind(TableCursor *cursor, Buttons visible)
{
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_cursor = cursor;
    for (const ButtonLook &look : Looks)
        button(look.button)->setVisible(visible.testFlag(look.button));
    if (cursor) {
        for (auto signal : {&TableCursor::currentChanged, &TableCursor::rowsReset, &TableCursor::stateChanged})
            m_connections << connect(cursor, signal, this, &DBNavigator::updateButtons);
        m_connections << connect(cursor, &TableCursor::rowValuesChanged, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

QToolButton *DBNavigator::button(Button which) const
{
    return m_buttons.at(bitIndex(which));
}

void DBNavigator::updateButtons()
{
    const bool active = m_cursor && m_cursor->isActive();
    const bool editing = active && m_cursor->isEditing();
    const int count = active ? m_cursor->recordCount() : 0;
    const int at = active ? m_cursor->currentIndex() : -1;
    const bool canGoBack = active && at > 0;
    const bool canGoOn = active && at >= 0 && at < count - 1;
    button(First)->setEnabled(canGoBack);
    button(Prior)->setEnabled(canGoBack);
    button(Next)->setEnabled(canGoOn);
    button(Last)->setEnabled(canGoOn);
    button(Insert)->setEnabled(active);
    button(Delete)->setEnabled(active && count > 0);
    button(Edit)->setEnabled(active && !editing);
    button(Post)->setEnabled(editing);
    button(Cancel)->setEnabled(editing);
    button(Refresh)->setEnabled(active);
}

void DBNavigator::click(Button which)
{
    if (!m_cursor)
        return;
    Messages::guarded([&] { run(which); });
    updateButtons();
}

void DBNavigator::run(Button which)
{
    switch (which) {
    case First: m_cursor->first(); break;
    case Prior: m_cursor->prior(); break;
    case Next: m_cursor->next(); break;
    case Last: m_cursor->last(); break;
    case Insert: m_cursor->insert(); break;
    case Delete:
        if (Messages::confirm(QStringLiteral("Delete record?")))
            m_cursor->remove();
        break;
    case Edit: m_cursor->edit(); break;
    case Post: m_cursor->post(); break;
    case Cancel: m_cursor->cancel(); break;
    case Refresh: m_cursor->refresh(); break;
    }
}
