#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace WindowPlacement {

double layoutScale(double logicalDpi)
{
    return logicalDpi > 0 ? logicalDpi / LayoutDpi : 1.0;
}

int scaled(int designPixels, double scale)
{
    return int(std::lround(designPixels * scale));
}

QSize scaled(const QSize &design, double scale)
{
    return QSize(scaled(design.width(), scale), scaled(design.height(), scale));
}

QRect scaled(const QRect &design, double scale)
{
    return QRect(QPoint(scaled(design.x(), scale), scaled(design.y(), scale)), scaled(design.size(), scale));
}

QPoint centred(const QSize &size, const QRect &desktop)
{
    const int x = desktop.x() + (desktop.width() - size.width()) / 2;
    const int y = desktop.y() + (desktop.height() - size.height()) / 2;
    return QPoint(std::max(x, desktop.x()), std::max(y, desktop.y()));
}

void centreOnDesktop(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    window->move(centred(size, screen->availableGeometry()));
}

} // namespace WindowPlacement
