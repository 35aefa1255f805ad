#include "LessonPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

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

// A name with each character case-folded on its own, the way
// QString::compare(Qt::CaseInsensitive) compares them.
QString foldedName(QStringView name)
{
    QString folded;
    folded.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), name.at(++i).unicode());
        const char32_t f = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(f)) {
            folded.append(QChar(QChar::highSurrogate(f)));
            folded.append(QChar(QChar::lowSurrogate(f)));
        } else {
            folded.append(QChar(char16_t(f)));
        }
    }
    return folded;
}

// The entry of `dir` whose name equals `name` ignoring letter case, read entry
// by entry: the first match ends the walk. Empty when there is none.
QString scanForEntry(const QByteArray &dir, const QString &name)
{
    DIR *handle = ::opendir(dir.constData());
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

// The names of the folders searched ignoring letter case, kept per folder:
// course folders hold thousands of files, and each click on a lesson of a
// course made on Windows looks one up. A listing is read again when its
// folder is no longer the one listed: another inode, or another change time
// (which every added, removed or renamed entry moves, and which, unlike the
// modification time, no program can set back). A change made within the
// timestamp granularity of the folder (up to 2 s on FAT) may leave that time
// as it was, so a folder changed less than that ago is not kept: it is
// searched afresh, as a folder being copied is.
class FolderListings final
{
public:
    // The entry of `dir` whose name equals `name` ignoring letter case; empty
    // when there is none. Of several such entries, the first one listed.
    QString entry(const QString &dir, const QString &name)
    {
        const QByteArray path = QFile::encodeName(dir.isEmpty() ? QStringLiteral(".") : dir);
        struct stat info;
        if (::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
            return QString();
        const QMutexLocker lock(&m_mutex);
        auto it = m_listings.constFind(path);
        if (it == m_listings.cend() || !it->describes(info)) {
            m_listings.remove(path);
            if (!settled(info))
                return scanForEntry(path, name);
            if (m_listings.size() >= MaxFolders)
                m_listings.clear();
            it = m_listings.insert(path, read(path, info));
        }
        return it->names.value(foldedName(name));
    }

private:
    static constexpr qsizetype MaxFolders = 256;
    static constexpr qint64 SettledNs = 2'000'000'000;

    struct Listing
    {
        dev_t device = 0;
        ino_t inode = 0;
        timespec changed{};
        QHash<QString, QString> names; // folded name -> name on disk

        bool describes(const struct stat &info) const
        {
            return info.st_dev == device && info.st_ino == inode && info.st_ctim.tv_sec == changed.tv_sec
                && info.st_ctim.tv_nsec == changed.tv_nsec;
        }
    };

    static bool settled(const struct stat &info)
    {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        const qint64 age = (qint64(now.tv_sec) - qint64(info.st_ctim.tv_sec)) * 1'000'000'000
            + (qint64(now.tv_nsec) - qint64(info.st_ctim.tv_nsec));
        return age >= SettledNs;
    }

    // `info` is the folder's state before it is read, so that a change made
    // while reading shows as a change at the next look.
    static Listing read(const QByteArray &path, const struct stat &info)
    {
        Listing listing;
        listing.device = info.st_dev;
        listing.inode = info.st_ino;
        listing.changed = info.st_ctim;
        if (DIR *handle = ::opendir(path.constData())) {
            while (const dirent *entry = ::readdir(handle)) {
                const QString name = QFile::decodeName(entry->d_name);
                const QString key = foldedName(name);
                if (!listing.names.contains(key))
                    listing.names.insert(key, name);
            }
            ::closedir(handle);
        }
        return listing;
    }

    QMutex m_mutex;
    QHash<QByteArray, Listing> m_listings;
};

QString caseInsensitiveEntry(const QString &dir, const QString &name)
{
    // One for the process: every caller resolves names against the same folders.
    static FolderListings listings;
    return listings.entry(dir, name);
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
