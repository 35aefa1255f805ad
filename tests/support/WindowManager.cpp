#include "WindowManager.h"

#include <QtTest>

WindowManager::WindowManager()
{
    m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_process.waitForStarted(5000))
        return;
    for (int i = 0; i < 100 && !m_ready; ++i) {
        QTest::qWait(100);
        m_ready = managing();
    }
}

WindowManager::~WindowManager()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(5000);
}

bool WindowManager::managing()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"});
    xprop.waitForFinished(5000);
    return xprop.readAllStandardOutput().contains("window id");
}
