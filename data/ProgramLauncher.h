#pragma once

#include <QString>
#include <QStringList>

// Starts a lesson's practice program by its full path, without waiting for it
// and in the current directory. Courses made on Windows name .exe files; they
// run through Wine when it is installed and are otherwise left alone.
class ProgramLauncher final
{
    Q_DISABLE_COPY_MOVE(ProgramLauncher)

public:
    // `searchPath` is where Wine is looked for; empty means the PATH variable.
    explicit ProgramLauncher(const QString &searchPath = QString());

    // The program and arguments that start `program`; empty when it cannot
    // be started on this machine.
    QStringList command(const QString &program) const;

    // False when nothing was started; the caller reports nothing either way.
    bool start(const QString &program) const;

private:
    QStringList m_searchPath;
};
