#pragma once

#include <QByteArray>
#include <QString>

// A fixture's file written or read whole, its folders made as needed; a file
// that cannot be written ends the test run at once.
namespace FixtureFile {

void write(const QString &path, const QByteArray &bytes);
// Empty when the file cannot be read.
QByteArray read(const QString &path);

} // namespace FixtureFile
