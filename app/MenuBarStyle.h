#pragma once

#include <QProxyStyle>

// Draws each menu bar item as its icon followed by its caption; the platform
// styles show either one or the other.
class MenuBarStyle final : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget = nullptr) const override;

    static constexpr int IconSize = 18;
    static constexpr int Gap = 4;

    // Where an item's icon and its caption go: the icon at the left, the caption after it.
    static QRect iconRect(const QRect &item);
    static QRect captionRect(const QRect &item);
};
