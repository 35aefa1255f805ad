#include "ChildProgram.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcessEnvironment>

#include <csignal>
#include <time.h>
#include <unistd.h>

#ifndef KORVELTA_PROBE_DIR
#error "KORVELTA_PROBE_DIR must name the folder that holds generic/ with the probe plugin"
#endif

double bootClockMs()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

namespace {

// Parent of every process, from /proc/<pid>/stat.
QHash<qint64, qint64> parents()
{
    QHash<qint64, qint64> result;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            result.insert(pid, fields.at(1).toLongLong());
    }
    return result;
}

QList<qint64> treeOf(qint64 root)
{
    const QHash<qint64, qint64> parentOf = parents();
    QList<qint64> tree{root};
    for (int i = 0; i < tree.size(); ++i) {
        for (auto it = parentOf.cbegin(); it != parentOf.cend(); ++it) {
            if (it.value() == tree.at(i))
                tree.append(it.key());
        }
    }
    return tree;
}

// The start time of a process, which tells it from a later one given the same id.
QByteArray startTimeOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2).split(' ').value(19);
}

// The kB of the named lines of /proc/<pid>/smaps_rollup, added up.
double rollupKb(qint64 pid, std::initializer_list<const char *> names)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    double kb = 0;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        for (const char *name : names) {
            if (line.startsWith(name))
                kb += line.mid(int(qstrlen(name))).trimmed().split(' ').value(0).toDouble();
        }
    }
    return kb;
}

} // namespace

TreeMemory processTreePss(qint64 pid)
{
    const QHash<qint64, qint64> parentOf = parents();
    const QList<qint64> tree = treeOf(pid);
    TreeMemory memory;
    memory.processes = int(tree.size());
    for (qint64 member : tree) {
        const double mb = rollupKb(member, {"Pss:"}) / 1024.0;
        memory.totalMb += mb;
        memory.privateMb += rollupKb(member, {"Private_Clean:", "Private_Dirty:"}) / 1024.0;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(member));
        const QByteArray arguments = cmdline.open(QIODevice::ReadOnly) ? cmdline.readAll() : QByteArray();
        // A page process forked by a launcher keeps the launcher's command line.
        if (member == pid)
            memory.programMb += mb;
        else if (arguments.contains("--type=zygote") && parentOf.value(member) == pid)
            memory.zygotesMb += mb;
        else if (arguments.contains("--type=zygote") || arguments.contains("--type=renderer"))
            memory.renderersMb += mb;
        else
            memory.otherMb += mb;
    }
    return memory;
}

bool copyFolder(const QString &source, const QString &target)
{
    QDirIterator it(source, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = QDir(target).filePath(QDir(source).relativeFilePath(from));
        if (!QDir().mkpath(QFileInfo(to).absolutePath()) || !QFile::copy(from, to))
            return false;
        QFile::setPermissions(to, QFileInfo(from).permissions() | QFile::WriteOwner);
    }
    return true;
}

ChildProgram::ChildProgram(const QString &program, const QStringList &arguments, const QString &folder)
    : m_program(program)
    , m_arguments(arguments)
    , m_folder(folder)
{
}

ChildProgram::~ChildProgram()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // WebEngine's helper processes are children of the program: end them too,
    // if they outlive it.
    QList<QPair<qint64, QByteArray>> helpers;
    for (qint64 member : treeOf(m_process.processId())) {
        if (member != m_process.processId())
            helpers.append({member, startTimeOf(member)});
    }
    ask(QStringLiteral("quit"), 5000);
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    for (const auto &[member, started] : std::as_const(helpers)) {
        if (startTimeOf(member) == started)
            ::kill(pid_t(member), SIGKILL);
    }
}

bool ChildProgram::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(KORVELTA_PROBE_DIR));
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("korveltaprobe"));
    // WebEngine will not start as root with its sandbox on; the program sees
    // to that itself, the bare one is told here.
    if (geteuid() == 0)
        environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    m_process.setWorkingDirectory(m_folder);
    m_process.setStandardErrorFile(QProcess::nullDevice());
    environment.insert(QStringLiteral("KORVELTA_PROBE_SPAWNED_MS"), QString::number(bootClockMs(), 'f', 3));
    m_process.setProcessEnvironment(environment);
    m_process.start(m_program, m_arguments);
    return m_process.waitForStarted(10000);
}

QStringList ChildProgram::ask(const QString &command, int limitMs)
{
    if (m_process.state() != QProcess::Running)
        return {};
    m_process.write(command.toUtf8() + '\n');
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < limitMs) {
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            if (line.startsWith(QLatin1String("probe ")))
                return line.mid(6).split(QLatin1Char(' '));
        }
        if (!m_process.waitForReadyRead(int(std::max<qint64>(1, limitMs - waited.elapsed()))))
            break;
    }
    return {};
}
