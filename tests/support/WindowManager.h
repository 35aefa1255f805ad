#pragma once

#include <QProcess>

// A window manager (openbox) on the test display while it lives: the stacking
// of windows that stay on top is its work.
class WindowManager final
{
public:
    WindowManager();
    ~WindowManager();
    WindowManager(const WindowManager &) = delete;
    WindowManager &operator=(const WindowManager &) = delete;

    bool ready() const { return m_ready; }

private:
    static bool managing();

    QProcess m_process;
    bool m_ready = false;
};
