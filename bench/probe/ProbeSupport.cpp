#include "ProbeSupport.h"

#include <QApplication>
#include <QFile>

#include <algorithm>
#include <time.h>
#include <unistd.h>

namespace ProbeSupport {

double bootClockMs()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The process's start on the boot clock. /proc/self/stat gives it in clock
// ticks (10 ms), rounded down; the benchmark passes the boot clock read just
// before it started the process, which is also no later than the start. The
// later of the two is the closer, and never after the true start, so a time
// measured from it is never too short.
double processStartMs()
{
    double start = 0;
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        // The command name in brackets may hold spaces: count fields after it.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        // Field 22 of the line, the 20th after the name.
        if (fields.size() > 19)
            start = fields.at(19).toDouble() * 1e3 / double(sysconf(_SC_CLK_TCK));
    }
    const double spawned = qEnvironmentVariable("KORVELTA_PROBE_SPAWNED_MS").toDouble();
    return std::max(start, spawned);
}

QWidget *topLevel(const QString &name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

} // namespace ProbeSupport
