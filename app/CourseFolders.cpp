#include "CourseFolders.h"

#include "AppError.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace CourseFolders {

namespace {

constexpr char RecentKey[] = "recentCourses";

[[noreturn]] void fail(const QString &message)
{
    throw AppError(message, ErrorKind::InputOutput);
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// One spelling per folder, so that the list holds it once.
QString spelled(const QString &folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

void copyTree(const QString &source, const QString &target)
{
    const QDir from(source);
    QDirIterator it(source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString to = QDir(target).filePath(from.relativeFilePath(entry.filePath()));
        if (entry.isDir()) {
            if (!QDir().mkpath(to))
                fail(QStringLiteral("Не удалось создать папку %1").arg(native(to)));
            continue;
        }
        // A link is copied as the file it names: the installed course links its
        // practice program from the program's own folder.
        if (!QFile::copy(entry.filePath(), to))
            fail(QStringLiteral("Не удалось скопировать %1 в %2").arg(native(entry.filePath()), native(to)));
        // The installed course is read-only; the learner's copy must take the journal.
        QFile::setPermissions(to, QFile::permissions(to) | QFile::ReadOwner | QFile::WriteOwner);
    }
}

} // namespace

QStringList markerFiles()
{
    return {QStringLiteral("db1.sqlite"), QStringLiteral("db1.mdb"), QStringLiteral("db1.connection"),
            QStringLiteral("log.log")};
}

bool isCourse(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    const QDir dir(folder);
    for (const QString &name : markerFiles()) {
        if (QFileInfo(dir.filePath(name)).isFile())
            return true;
    }
    return false;
}

QString bundledDemo(const QString &programDir)
{
    const QDir dir(programDir);
    for (const QString &candidate : {dir.filePath(QStringLiteral(KORVELTA_DEMO_FROM_PROGRAM)),
                                     dir.filePath(QStringLiteral("demo-course"))}) {
        if (isCourse(candidate))
            return QDir::cleanPath(candidate);
    }
    return QString();
}

QString demoCopyFolder(const QString &homeDir)
{
    return QDir(homeDir).filePath(QStringLiteral("Korvelta/demo"));
}

void copyDemoOnce(const QString &source, const QString &target)
{
    if (isCourse(target))
        return;
    if (!isCourse(source))
        fail(QStringLiteral("Демонстрационный курс не найден в папке %1").arg(native(source)));
    const QFileInfo targetInfo(target);
    const bool emptyFolder = targetInfo.isDir() && QDir(target).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (targetInfo.exists() && !emptyFolder)
        fail(QStringLiteral("Папка %1 уже есть, но курса в ней нет; демонстрационный курс туда не скопирован")
                 .arg(native(target)));

    const QString parent = targetInfo.absolutePath();
    if (!QDir().mkpath(parent))
        fail(QStringLiteral("Не удалось создать папку %1").arg(native(parent)));
    // Half a copy must never look like a course: copy aside, then rename.
    QTemporaryDir staging(QDir(parent).filePath(QStringLiteral(".demo-XXXXXX")));
    if (!staging.isValid())
        fail(QStringLiteral("Не удалось создать папку в %1: %2").arg(native(parent), staging.errorString()));
    copyTree(source, staging.path());
    QFile::setPermissions(staging.path(), QFile::permissions(staging.path()) | QFile::ReadGroup | QFile::ExeGroup
                                              | QFile::ReadOther | QFile::ExeOther);
    if (emptyFolder)
        QDir().rmdir(target);
    if (!QDir().rename(staging.path(), target))
        fail(QStringLiteral("Не удалось переименовать %1 в %2").arg(native(staging.path()), native(target)));
    staging.setAutoRemove(false);
}

QStringList withRecent(const QStringList &recent, const QString &folder)
{
    const QString first = spelled(folder);
    QStringList list{first};
    for (const QString &entry : recent) {
        if (list.size() >= MaxRecent)
            break;
        const QString same = spelled(entry);
        if (!entry.isEmpty() && !list.contains(same))
            list << same;
    }
    return list;
}

QStringList stillCourses(const QStringList &recent)
{
    QStringList list;
    for (const QString &folder : recent) {
        if (isCourse(folder))
            list << folder;
    }
    return list;
}

} // namespace CourseFolders

RecentCourses::RecentCourses(QSettings &settings)
    : m_settings(settings)
{
}

QStringList RecentCourses::folders() const
{
    return CourseFolders::stillCourses(m_settings.value(QLatin1String(CourseFolders::RecentKey)).toStringList());
}

void RecentCourses::use(const QString &folder)
{
    m_settings.setValue(QLatin1String(CourseFolders::RecentKey), CourseFolders::withRecent(folders(), folder));
    m_settings.sync();
}
