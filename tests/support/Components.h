#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <memory>

// A window's component found by its fixed name (TreeView1, BitBtn41, N1 ...),
// the way a test reaches into a window; a name the window does not hold ends
// the test run at once, naming what was missing.
template <typename T>
T *component(const QObject *window, const QString &name)
{
    T *found = window ? window->findChild<T *>(name) : nullptr;
    if (!found)
        qFatal("no component %s of type %s", qPrintable(name), T::staticMetaObject.className());
    return found;
}

template <typename T, typename Window>
T *component(const std::unique_ptr<Window> &window, const QString &name)
{
    return component<T>(window.get(), name);
}

// The components named by a pattern and the numbers `first` to `last`, in
// order: ("BitBtn%1", 1, 40) gives BitBtn1 … BitBtn40.
template <typename T, typename Window>
QVector<T *> numberedComponents(const Window &window, const QString &pattern, int first, int last)
{
    QVector<T *> found;
    for (int number = first; number <= last; ++number)
        found.append(component<T>(window, pattern.arg(number)));
    return found;
}
