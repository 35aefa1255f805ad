#include "LessonPaths.h"

#include <QDir>
#include <QFileInfo>

namespace LessonPaths {

QString currentAppDir()
{
    return QDir::currentPath();
}

QString join(const QString &appDir, const QString &relative)
{
    return appDir + QLatin1Char('\\') + relative;
}

std::optional<QString> resolveLessonFile(const QString &appDir, const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return join(appDir, value.toString());
}

bool isSet(const QVariant &value)
{
    return !value.isNull() && !value.toString().isEmpty();
}

QString toDisk(const QString &path)
{
    QString out;
    out.reserve(path.size());
    for (QChar c : path) {
        if (c == QLatin1Char('\\'))
            c = QLatin1Char('/');
        if (c == QLatin1Char('/') && out.endsWith(QLatin1Char('/')))
            continue;
        out.append(c);
    }
    return out;
}

bool fileExists(const QString &path)
{
    return QFileInfo(toDisk(path)).isFile();
}

QString relativeReference(const QString &appDir, const QString &fullName)
{
    const int cut = appDir.size() + 1;
    if (fullName.size() <= cut)
        return QString();
    QString rel = fullName.mid(cut);
    rel.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return rel;
}

} // namespace LessonPaths
