#include "ExportFile.h"

#include "AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

namespace ExportFile {

std::optional<Format> formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return Format::Csv;
    if (suffix == QLatin1String("xlsx"))
        return Format::Xlsx;
    if (suffix == QLatin1String("pdf"))
        return Format::Pdf;
    return std::nullopt;
}

QString extensionOf(Format format)
{
    switch (format) {
    case Format::Csv:
        return QStringLiteral("csv");
    case Format::Xlsx:
        return QStringLiteral("xlsx");
    case Format::Pdf:
        break;
    }
    return QStringLiteral("pdf");
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("Файл %1 не записан: %2").arg(QDir::toNativeSeparators(path), reason);
}

void save(const QString &path, const std::function<void(QIODevice &)> &write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(cannotWrite(path, file.errorString()), ErrorKind::FileCreate);
    write(file); // an AppError from it drops the temporary file with `file`
    if (!file.commit())
        throw AppError(cannotWrite(path, file.errorString()), ErrorKind::FileCreate);
}

void saveByName(const QString &path, const std::function<void(const QString &temporary)> &write)
{
    const QFileInfo target(path);
    if (target.isDir())
        throw AppError(cannotWrite(path, QStringLiteral("это папка")), ErrorKind::FileCreate);
    QTemporaryFile temporary(target.absoluteDir().filePath(QLatin1Char('.') + target.fileName()
                                                           + QLatin1String(".XXXXXX")));
    if (!temporary.open())
        throw AppError(cannotWrite(path, temporary.errorString()), ErrorKind::FileCreate);
    temporary.close();
    write(temporary.fileName());
    // A temporary file is private to its owner; the export gets the permissions
    // of the file it replaces, or those of any new file.
    const QByteArray temporaryName = QFile::encodeName(temporary.fileName());
    struct stat existing;
    mode_t mode;
    if (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::chmod(temporaryName.constData(), mode);
    // rename(2) replaces an earlier file in one step; QFile::rename would not replace it.
    if (std::rename(temporaryName.constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData())
        != 0) {
        throw AppError(cannotWrite(path, QString::fromLocal8Bit(std::strerror(errno))),
                       ErrorKind::FileCreate);
    }
    // The temporary name is gone now; nothing is left to remove.
    temporary.setAutoRemove(false);
}

} // namespace ExportFile
