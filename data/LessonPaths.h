#pragma once

#include <QString>
#include <QVariant>
#include <optional>

// Paths are built as text with backslashes, the way the course folders store
// them; toDisk() is the one place that turns such a text into a file on disk.
namespace LessonPaths {

// The process's current directory, as the application folder is captured once.
QString currentAppDir();

// appDir + "\" + value, joined as text with no normalisation.
QString join(const QString &appDir, const QString &relative);

// A stored column value of a lesson row: Null is absent, everything else
// (the empty string too) is joined to the application folder.
std::optional<QString> resolveLessonFile(const QString &appDir, const QVariant &value);

// A column counts as set when it is neither Null nor the empty string.
bool isSet(const QVariant &value);

// Backslashes become '/', runs of separators collapse to one.
QString toDisk(const QString &path);

// Whether the path names an existing regular file (a folder is not a file).
bool fileExists(const QString &path);

// The reference stored for a file picked in a dialog: the full name without
// the application folder and the separator after it, written with backslashes.
// Empty when the full name is no longer than that.
QString relativeReference(const QString &appDir, const QString &fullName);

} // namespace LessonPaths
