#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A program the benchmark starts in a folder of its choice, with the probe
// plugin loaded into it (bench/probe): commands go to the probe one line at a
// time and each gets one line back. The process and everything it started is
// ended when this object goes.
class ChildProgram final
{
    Q_DISABLE_COPY_MOVE(ChildProgram)

public:
    ChildProgram(const QString &program, const QStringList &arguments, const QString &folder);
    ~ChildProgram();

    bool start();
    // The probe's reply to `command`, split at spaces; empty when none came in time.
    QStringList ask(const QString &command, int limitMs = 60000);
    qint64 pid() const { return m_process.processId(); }

private:
    QProcess m_process;
    QString m_program;
    QStringList m_arguments;
    QString m_folder;
};

// Proportional set size of a process and all its descendants, in MB: the
// memory the whole tree takes, with shared pages divided among their users.
struct TreeMemory
{
    double totalMb = 0;
    double privateMb = 0; // pages no other process maps, whatever else runs on the machine
    int processes = 0;
    double programMb = 0;  // the process started
    double zygotesMb = 0;  // WebEngine's process launchers
    double renderersMb = 0; // WebEngine's page processes, forked by a launcher
    double otherMb = 0;    // any other helper (GPU, utility)
};
TreeMemory processTreePss(qint64 pid);

// Milliseconds on the boot clock, the clock of process start times.
double bootClockMs();

// A copy of `source` (a course folder) in `target`; false on any failure.
bool copyFolder(const QString &source, const QString &target);
