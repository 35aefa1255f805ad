#pragma once

#include <QString>

// A message about a place in a file, printed the way compilers do, so that an
// editor or a terminal can take the teacher straight to the line.
struct FileRemark
{
    QString file;
    int line = 0; // 0 when the message is about the whole file
    QString text;

    QString toString() const
    {
        return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(text)
                        : QStringLiteral("%1: %2").arg(file, text);
    }
};
