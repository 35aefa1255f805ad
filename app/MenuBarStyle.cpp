#include "MenuBarStyle.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

QRect MenuBarStyle::iconRect(const QRect &item)
{
    return QRect(item.left() + Gap, item.top() + (item.height() - IconSize) / 2, IconSize, IconSize);
}

QRect MenuBarStyle::captionRect(const QRect &item)
{
    return item.adjusted(Gap + IconSize + Gap, 0, 0, 0);
}

void MenuBarStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element != CE_MenuBarItem || !item || item->icon.isNull()) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The base style draws the item's background across the whole item, but
    // would centre the caption there too, under the icon: the caption gets
    // the part of the item right of the icon.
    QStyleOptionMenuItem background(*item);
    background.icon = QIcon();
    background.text.clear();
    QProxyStyle::drawControl(element, &background, painter, widget);

    const bool enabled = item->state & State_Enabled;
    const bool pressed = (item->state & State_Selected) && (item->state & State_Sunken);
    int alignment = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextDontClip | Qt::TextSingleLine;
    if (!proxy()->styleHint(SH_UnderlineShortcut, item, widget))
        alignment |= Qt::TextHideMnemonic;
    const QPalette::ColorRole role = pressed ? (enabled ? QPalette::HighlightedText : QPalette::Text)
                                             : QPalette::ButtonText;
    proxy()->drawItemText(painter, captionRect(item->rect), alignment, item->palette, enabled, item->text, role);

    const QPixmap pixmap = item->icon.pixmap(IconSize, IconSize, enabled ? QIcon::Normal : QIcon::Disabled);
    painter->drawPixmap(iconRect(item->rect), pixmap);
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
