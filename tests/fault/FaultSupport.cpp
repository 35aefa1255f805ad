#include "FaultSupport.h"

#include "AppError.h"
#include "CourseDatabase.h"
#include "FixtureFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <csignal>

namespace {

int serial = 0;

// A connection for one call, gone again when the call returns.
class ShortConnection final
{
public:
    explicit ShortConnection(const QString &path)
        : m_name(QStringLiteral("fault-course-%1").arg(++serial))
    {
        CourseDatabase::openSqlite(m_name, path);
    }
    ~ShortConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    ShortConnection(const ShortConnection &) = delete;
    ShortConnection &operator=(const ShortConnection &) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    const QString &name() const { return m_name; }

private:
    QString m_name;
};

QString templateIn(const QString &parent)
{
    return QDir(parent.isEmpty() ? QDir::tempPath() : parent).filePath(QStringLiteral("korvelta-fault-XXXXXX"));
}

} // namespace

FaultCourse::FaultCourse(const QString &parent)
    : m_dir(templateIn(parent))
{
    QFile::setPermissions(path(), QFile::permissions(path()) | QFile::ReadGroup | QFile::ExeGroup
                                      | QFile::ReadOther | QFile::ExeOther);
    writeFile(QStringLiteral("log.log"), QByteArray("\xEF\xBB\xBF") + QStringLiteral("Урок 1\r\nУрок 2\r\n").toUtf8());
    writeFile(QStringLiteral("zas.mht"), "MIME-Version: 1.0\r\nContent-Type: text/html\r\n\r\n<p>cover</p>");
    writeFile(QStringLiteral("uroki/u1.htm"), "<html><body>Lesson one</body></html>");
    writeFile(QStringLiteral("uroki/u2.htm"), "<html><body>Lesson two</body></html>");
    writeFile(QString::fromLatin1(CourseDatabase::FileName), QByteArray());
    ShortConnection connection(filePath(QString::fromLatin1(CourseDatabase::FileName)));
    CourseDatabase::createSchema(connection.name());
    QSqlQuery query(connection.db());
    for (const char *sql : {"INSERT INTO urok (urok, htm) VALUES ('Урок 1', 'uroki\\u1.htm')",
                            "INSERT INTO urok (urok, htm) VALUES ('Урок 2', 'uroki\\u2.htm')",
                            "INSERT INTO pas (pas) VALUES ('')"}) {
        if (!query.exec(QString::fromUtf8(sql)))
            qFatal("fault course: %s", qPrintable(query.lastError().text()));
    }
}

QString FaultCourse::filePath(const QString &relative) const
{
    return QDir(path()).filePath(relative);
}

void FaultCourse::writeFile(const QString &relative, const QByteArray &bytes) const
{
    FixtureFile::write(filePath(relative), bytes);
}

QByteArray FaultCourse::readFile(const QString &relative) const
{
    return FixtureFile::read(filePath(relative));
}

QStringList FaultCourse::rows(const QString &sql) const
{
    QStringList result;
    try {
        ShortConnection connection(filePath(QString::fromLatin1(CourseDatabase::FileName)));
        QSqlQuery query(connection.db());
        if (!query.exec(sql))
            return {QStringLiteral("<error> ") + query.lastError().text()};
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
            result << values.join(QLatin1Char('|'));
        }
    } catch (const AppError &error) {
        return {QStringLiteral("<error> ") + error.message()};
    }
    return result;
}

void FaultCourse::giveTo(const QString &user) const
{
    QCOMPARE(QProcess::execute(QStringLiteral("chown"), {QStringLiteral("-R"), user, path()}), 0);
}

ProgramUnderFault::ProgramUnderFault(const QString &folder, const QStringList &wrapper)
    : m_home(std::make_unique<QTemporaryDir>())
{
    // A home of its own, open to another user: WebEngine keeps its profile there.
    QFile::setPermissions(m_home->path(), QFile::Permissions(0x7777));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"), QStringLiteral("--disable-gpu"));
    environment.insert(QStringLiteral("HOME"), m_home->path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home->path());
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    environment.remove(QStringLiteral("XDG_CACHE_HOME"));
    m_process.setProcessEnvironment(environment);
    m_process.setWorkingDirectory(folder);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList command = wrapper;
    command << QStringLiteral(KORVELTA_FAULT_PROGRAM);
    m_process.start(command.takeFirst(), command);
    if (!m_process.waitForStarted(10000))
        return;
    QString line;
    while (readLine(line, 60000)) {
        if (line == QLatin1String("ready")) {
            m_started = true;
            return;
        }
        m_startup << line;
    }
}

ProgramUnderFault::~ProgramUnderFault()
{
    kill();
}

bool ProgramUnderFault::readLine(QString &line, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const qsizetype end = m_buffer.indexOf('\n');
        if (end >= 0) {
            line = QString::fromUtf8(m_buffer.left(end));
            m_buffer.remove(0, end + 1);
            return true;
        }
        if (m_process.state() == QProcess::NotRunning) {
            m_buffer += m_process.readAllStandardOutput();
            if (m_buffer.contains('\n'))
                continue;
            return false;
        }
        if (!m_process.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1))) && deadline.hasExpired())
            return false;
        m_buffer += m_process.readAllStandardOutput();
    }
}

QStringList ProgramUnderFault::command(const QString &line, int timeoutMs)
{
    startCommand(line);
    QStringList lines;
    QString read;
    while (readLine(read, timeoutMs)) {
        if (read == QLatin1String("done"))
            return lines;
        lines << read;
    }
    lines << QStringLiteral("<no answer to %1>").arg(line);
    return lines;
}

void ProgramUnderFault::startCommand(const QString &line)
{
    m_process.write(line.toUtf8() + '\n');
    m_process.waitForBytesWritten(5000);
}

QStringList ProgramUnderFault::readLines(int timeoutMs)
{
    QStringList lines;
    QString read;
    while (readLine(read, timeoutMs))
        lines << read;
    return lines;
}

bool ProgramUnderFault::waitForLine(const QString &prefix, QStringList &seen, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QString read;
    while (readLine(read, int(std::max<qint64>(deadline.remainingTime(), 1)))) {
        seen << read;
        if (read.startsWith(prefix))
            return true;
        if (deadline.hasExpired())
            return false;
    }
    return false;
}

void ProgramUnderFault::kill()
{
    if (m_process.state() != QProcess::NotRunning) {
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(10000);
    }
    m_buffer += m_process.readAllStandardOutput();
}

bool ProgramUnderFault::quit()
{
    startCommand(QStringLiteral("quit"));
    m_process.closeWriteChannel();
    return m_process.waitForFinished(30000) && m_process.exitStatus() == QProcess::NormalExit;
}

QStringList ProgramUnderFault::errors(const QStringList &lines)
{
    QStringList found;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("error ")))
            found << line.mid(6);
    }
    return found;
}

QStringList writtenGroups(const QStringList &lines, const QString &group)
{
    QStringList groups;
    for (const QString &line : lines) {
        const QStringList words = line.split(QLatin1Char(' '));
        if (words.value(0) == QLatin1String("written"))
            groups << QStringLiteral("%1-%2").arg(group, words.value(1));
    }
    return groups;
}
