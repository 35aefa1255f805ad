#include "LessonPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

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

namespace {

bool existsOnDisk(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

// The entry of `dir` whose name equals `name` ignoring letter case; empty when
// there is none. Read entry by entry: course folders hold thousands of files
// and the first match ends the walk.
QString caseInsensitiveEntry(const QString &dir, const QString &name)
{
    DIR *handle = ::opendir(QFile::encodeName(dir.isEmpty() ? QStringLiteral(".") : dir).constData());
    if (!handle)
        return QString();
    QString found;
    while (const dirent *entry = ::readdir(handle)) {
        const QString candidate = QFile::decodeName(entry->d_name);
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) {
            found = candidate;
            break;
        }
    }
    ::closedir(handle);
    return found;
}

QString normalised(const QString &path)
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

} // namespace

QString toDisk(const QString &path)
{
    const QString plain = normalised(path);
    // Courses made on Windows store names in any letter case; the exact name
    // is tried first at every level, so of two names differing only in case
    // the one written wins.
    if (plain.isEmpty() || existsOnDisk(plain))
        return plain;

    const bool absolute = plain.startsWith(QLatin1Char('/'));
    const QStringList parts = plain.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    int level = 0;
    for (; level < parts.size(); ++level) {
        const QString &part = parts.at(level);
        QString next = resolved.isEmpty() || resolved.endsWith(QLatin1Char('/')) ? resolved + part
                                                                                : resolved + QLatin1Char('/') + part;
        if (part != QLatin1String(".") && part != QLatin1String("..") && !existsOnDisk(next)) {
            const QString match = caseInsensitiveEntry(resolved, part);
            if (match.isEmpty())
                break;
            next.chop(part.size());
            next += match;
        }
        resolved = next;
    }
    if (level == parts.size())
        return plain.endsWith(QLatin1Char('/')) && !resolved.endsWith(QLatin1Char('/')) ? resolved + QLatin1Char('/')
                                                                                         : resolved;
    // Nothing matches from here on: the file is missing, and its name stays as written.
    return plain;
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
