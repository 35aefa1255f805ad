#include "StepLimit.h"

#include <QtGlobal>

StepLimit::StepLimit(std::chrono::seconds limit, const QString &what)
{
    const QByteArray message = QStringLiteral("%1 did not return within %2 s").arg(what).arg(limit.count()).toUtf8();
    m_watchdog = std::thread([this, limit, message] {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_returned.wait_for(lock, limit, [this] { return m_done; }))
            qFatal("%s", message.constData());
    });
}

StepLimit::~StepLimit()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_done = true;
    }
    m_returned.notify_one();
    m_watchdog.join();
}
