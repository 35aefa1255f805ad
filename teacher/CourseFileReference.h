#pragma once

#include <QString>

#include <optional>

// What the lesson editor stores for a file picked in a dialog.
namespace CourseFileReference {

// The reference relative to the course folder, with backslashes, for a file
// inside it; nothing for a file elsewhere (a cut-down name would point nowhere)
// or for the folder itself.
std::optional<QString> inside(const QString &appDir, const QString &fullName);

// The message shown when a picked file lies outside the course folder.
QString outsideMessage(const QString &appDir, const QString &fullName);

} // namespace CourseFileReference
