#include "DialogFilter.h"

#include <QStringList>

namespace DialogFilter {

QString toQt(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts.at(i), patterns);
    }
    return out.join(QLatin1String(";;"));
}

} // namespace DialogFilter
