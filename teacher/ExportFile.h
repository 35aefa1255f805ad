#pragma once

#include <QString>

#include <functional>
#include <optional>

class QIODevice;

// The files an export writes. Each is made under a temporary name in the
// target's folder and renamed over the target only once complete, so a failed
// export leaves neither a half-made file nor a damaged earlier one.
namespace ExportFile {

enum class Format { Csv, Xlsx, Pdf };

// By the name's extension, in any letter case; nullopt for any other.
std::optional<Format> formatOf(const QString &path);
QString extensionOf(Format format);

// The message of an export that could not be written.
QString cannotWrite(const QString &path, const QString &reason);

// `write` fills the device; then the file takes the target's name. AppError
// (cannotWrite) when the folder cannot be written or the writing fails.
void save(const QString &path, const std::function<void(QIODevice &)> &write);

// For writers that open a file by name: `write` makes the file at the
// temporary path it is given, throwing AppError when it cannot.
void saveByName(const QString &path, const std::function<void(const QString &temporary)> &write);

} // namespace ExportFile
