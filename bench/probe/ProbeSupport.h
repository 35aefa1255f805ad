#pragma once

// What the probe needs of the process it is loaded into: the clock it times
// against, and the program's windows and widgets found by their names.

#include <QString>
#include <QWidget>

namespace ProbeSupport {

// Milliseconds on the boot clock, which counts from before the process began.
double bootClockMs();
// The process's start on that clock, never later than the true start.
double processStartMs();

QWidget *topLevel(const QString &name);

template <typename T>
T *child(const QString &window, const QString &name)
{
    QWidget *top = topLevel(window);
    return top ? top->findChild<T *>(name) : nullptr;
}

} // namespace ProbeSupport
