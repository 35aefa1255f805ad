#include "MenuBarStyle.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

void MenuBarStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element != CE_MenuBarItem || !item || item->icon.isNull()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // Let the base style draw the item's background and caption, shifted right of the icon.
    QStyleOptionMenuItem textOnly(*item);
    textOnly.icon = QIcon();
    QProxyStyle::drawControl(element, &textOnly, painter, widget);

    const bool enabled = item->state & State_Enabled;
    const QPixmap pixmap = item->icon.pixmap(IconSize, IconSize, enabled ? QIcon::Normal : QIcon::Disabled);
    const QRect r = item->rect;
    painter->drawPixmap(r.left() + Gap, r.top() + (r.height() - IconSize) / 2, pixmap);
}

QSize MenuBarStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                     const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (type != CT_MenuBarItem || !item || item->icon.isNull())
        return QProxyStyle::sizeFromContents(type, option, size, widget);

    QStyleOptionMenuItem textOnly(*item);
    textOnly.icon = QIcon();
    const QSize textSize = item->fontMetrics.size(Qt::TextShowMnemonic, item->text);
    QSize s = QProxyStyle::sizeFromContents(type, &textOnly, textSize, widget);
    s.rwidth() += IconSize + 2 * Gap;
    s.setHeight(std::max(s.height(), IconSize + 4));
    return s;
}
