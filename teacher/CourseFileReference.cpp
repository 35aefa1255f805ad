#include "CourseFileReference.h"

#include "LessonPaths.h"

#include <QDir>

namespace CourseFileReference {

std::optional<QString> inside(const QString &appDir, const QString &fullName)
{
    // Both as plain '/' paths, "." and ".." resolved, so that "course/../x" is not taken as inside.
    const QString folder = QDir::cleanPath(LessonPaths::toDisk(appDir));
    const QString file = QDir::cleanPath(LessonPaths::toDisk(fullName));
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    if (!file.startsWith(prefix) || file.size() <= prefix.size())
        return std::nullopt;
    return LessonPaths::relativeReference(prefix.chopped(1), file);
}

QString outsideMessage(const QString &appDir, const QString &fullName)
{
    return QStringLiteral("Файл %1 находится вне папки курса %2. Скопируйте его в папку курса "
                          "и выберите оттуда; ссылка не изменена.")
        .arg(QDir::toNativeSeparators(fullName), QDir::toNativeSeparators(appDir));
}

} // namespace CourseFileReference
