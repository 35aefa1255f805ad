#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the program's windows open and how their laid-out sizes follow the
// screen: sizes are designed at 120 pixels per inch and scale with the
// screen's resolution; windows open centred on the desktop.
namespace WindowPlacement {

inline constexpr double LayoutDpi = 120.0;

// The factor from design pixels to this screen's pixels.
double layoutScale(double logicalDpi);
int scaled(int designPixels, double scale);
QSize scaled(const QSize &design, double scale);
QRect scaled(const QRect &design, double scale);

// The top-left corner of a window of `size` centred in `desktop`; a window
// larger than the desktop keeps its top-left corner on it, so that its title
// bar and close button can be reached.
QPoint centred(const QSize &size, const QRect &desktop);

// Moves a top-level window to the centre of the desktop of its screen.
void centreOnDesktop(QWidget *window);

} // namespace WindowPlacement
