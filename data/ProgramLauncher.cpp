#include "ProgramLauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

ProgramLauncher::ProgramLauncher(const QString &searchPath)
    : m_searchPath((searchPath.isEmpty() ? qEnvironmentVariable("PATH") : searchPath)
                       .split(QLatin1Char(':'), Qt::SkipEmptyParts))
{
}

QStringList ProgramLauncher::command(const QString &program) const
{
    if (QFileInfo(program).suffix().compare(QLatin1String("exe"), Qt::CaseInsensitive) == 0) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"), m_searchPath);
        if (wine.isEmpty())
            return {};
        return {wine, program};
    }
    return {program};
}

bool ProgramLauncher::start(const QString &program) const
{
    const QStringList line = command(program);
    if (line.isEmpty())
        return false;
    return QProcess::startDetached(line.first(), line.mid(1));
}
