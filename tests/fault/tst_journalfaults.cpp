#include "FaultSupport.h"
#include "TableCursor.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <memory>
#include <optional>

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

enum class Fault { ReadOnlyFolder, ReadOnlyFile, LockHeld, SmallFilesystem, FileSizeLimit };

// A tmpfs of its own, unmounted on every way out of the test.
class SmallFilesystem final
{
public:
    explicit SmallFilesystem(const char *size)
    {
        const QByteArray options = QByteArray("size=") + size;
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
        if (m_mounted)
            QFile::setPermissions(m_dir.path(), QFile::Permissions(0x7755));
    }
    ~SmallFilesystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallFilesystem(const SmallFilesystem &) = delete;
    SmallFilesystem &operator=(const SmallFilesystem &) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

    // Fills the filesystem up to `leave` free bytes.
    bool fill(const QString &file, qint64 leave) const
    {
        struct statvfs info;
        if (::statvfs(QFile::encodeName(m_dir.path()).constData(), &info) != 0)
            return false;
        const qint64 free = qint64(info.f_bavail) * qint64(info.f_frsize);
        QFile filler(file);
        return filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(std::max<qint64>(free - leave, 0), 'x')) >= 0;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// Another process that holds the database's write lock until released.
class LockHolder final
{
public:
    explicit LockHolder(const QString &database)
    {
        m_process.start(QStringLiteral("sqlite3"), {database});
        m_process.write("BEGIN IMMEDIATE;\nINSERT INTO pas (pas) VALUES ('held');\nSELECT 'held';\n");
        while (!m_output.contains("held") && m_process.waitForReadyRead(10000))
            m_output += m_process.readAllStandardOutput();
    }
    ~LockHolder() { release(); }
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;

    bool holding() const { return m_output.contains("held"); }
    void release()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.write("ROLLBACK;\n.quit\n");
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

// setpriv changes user in place (runuser would fork): a kill reaches the program itself.
const QStringList AsNobody = {QStringLiteral("setpriv"), QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                              QStringLiteral("--clear-groups"), QStringLiteral("--")};

bool setMode(const QString &path, int mode)
{
    return QProcess::execute(QStringLiteral("chmod"), {QString::number(mode, 8), path}) == 0;
}

} // namespace

Q_DECLARE_METATYPE(Fault)

// A journal write that the database refuses: the command shows the engine's
// text, every row stored before stays, the refused visit stays pending in the
// journal and is stored by the next command once the fault is gone.
class TestJournalFaults : public QObject
{
    Q_OBJECT

private slots:
    void refusedWriteIsStoredLater_data();
    void refusedWriteIsStoredLater();
};

void TestJournalFaults::refusedWriteIsStoredLater_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("message");

    QTest::newRow("course folder read-only to the learner") << Fault::ReadOnlyFolder
                                                            << "attempt to write a readonly database";
    QTest::newRow("db1.sqlite read-only to the learner") << Fault::ReadOnlyFile << "attempt to write a readonly database";
    QTest::newRow("write lock held past the busy timeout") << Fault::LockHeld << "database is locked";
    QTest::newRow("disk full (small filesystem)") << Fault::SmallFilesystem << "database or disk is full";
    QTest::newRow("file size limit reached") << Fault::FileSizeLimit << "disk I/O error";
}

void TestJournalFaults::refusedWriteIsStoredLater()
{
    QFETCH(Fault, fault);
    QFETCH(QString, message);
    const bool root = ::geteuid() == 0;
    if (!root && fault != Fault::LockHeld)
        QSKIP("needs root: runs the program as another user, mounts a filesystem or lifts a limit");

    std::unique_ptr<SmallFilesystem> filesystem;
    if (fault == Fault::SmallFilesystem) {
        filesystem = std::make_unique<SmallFilesystem>("640k");
        if (!filesystem->mounted())
            QSKIP("cannot mount a tmpfs here");
    }
    FaultCourse course(filesystem ? filesystem->path() : QString());
    const QString database = course.filePath(QStringLiteral("db1.sqlite"));

    QStringList wrapper;
    if (fault == Fault::ReadOnlyFolder)
        wrapper = AsNobody;
    if (fault == Fault::ReadOnlyFile) {
        course.giveTo(QStringLiteral("nobody"));
        QVERIFY(setMode(database, 0444));
        wrapper = AsNobody;
    }
    if (fault == Fault::FileSizeLimit) {
        // The shell ignores the signal that would end the program, so that a
        // write past the limit fails with EFBIG as on a full disk.
        wrapper = QStringList{QStringLiteral("bash"), QStringLiteral("-c"),
                              QStringLiteral("trap '' XFSZ; exec prlimit --fsize=98304:unlimited -- \"$@\""), QStringLiteral("bash")};
    }

    ProgramUnderFault program(course.path(), wrapper);
    QVERIFY2(program.started(), qPrintable(program.startup().join('\n')));
    QCOMPARE(ProgramUnderFault::errors(program.startup()), QStringList());
    // A visit stored before the fault, where the fault comes after the start.
    const bool faultFromStart = fault == Fault::ReadOnlyFolder || fault == Fault::ReadOnlyFile;
    QStringList before;
    if (!faultFromStart) {
        program.command(QStringLiteral("learner Иванов до"));
        QCOMPARE(ProgramUnderFault::errors(program.command(QStringLiteral("choose Урок 2"))), QStringList());
        before << QStringLiteral("до");
    }
    program.command(QStringLiteral("learner Иванов ПИ-21"));

    std::optional<LockHolder> lock;
    if (fault == Fault::LockHeld) {
        lock.emplace(database);
        QVERIFY(lock->holding());
    }
    if (fault == Fault::SmallFilesystem)
        QVERIFY(filesystem->fill(filesystem->path() + QStringLiteral("/filler"), 48 * 1024));

    // Visits until the first one that cannot be stored.
    const QStringList burst = program.command(QStringLiteral("burst 2000 g stop"), 120000);
    QVERIFY2(burst.last().startsWith("pending "), qPrintable(burst.mid(burst.size() - 3).join('\n')));
    const int refusedStep = burst.last().mid(8).toInt();
    const QString refused = QStringLiteral("g-%1").arg(refusedStep);
    const QStringList written = writtenGroups(burst, QStringLiteral("g"));
    const QStringList errors = ProgramUnderFault::errors(burst);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.at(0).contains(message), qPrintable(errors.at(0)));
    // The refused row is still being inserted.
    QCOMPARE(program.command(QStringLiteral("journal")).value(0).section(' ', 1, 1),
             QString::number(int(TableCursor::State::Insert)));

    if (fault == Fault::ReadOnlyFolder) {
        // The topic tree cannot be written either: the window stays open.
        const QStringList close = program.command(QStringLiteral("close"));
        QVERIFY2(close.contains("open"), qPrintable(close.join('\n')));
        QCOMPARE(ProgramUnderFault::errors(close).size(), 1);
        QVERIFY2(ProgramUnderFault::errors(close).at(0).startsWith("Cannot create file \"" + course.path()),
                 qPrintable(close.join('\n')));
    }
    QCOMPARE(program.command(QStringLiteral("ping")), QStringList{"pong"});

    // The fault goes away; the next visit stores the refused one first.
    switch (fault) {
    case Fault::ReadOnlyFolder: course.giveTo(QStringLiteral("nobody")); break;
    case Fault::ReadOnlyFile: QVERIFY(setMode(database, 0644)); break;
    case Fault::LockHeld: lock->release(); break;
    case Fault::SmallFilesystem: QVERIFY(QFile::remove(filesystem->path() + QStringLiteral("/filler"))); break;
    case Fault::FileSizeLimit:
        QCOMPARE(QProcess::execute(QStringLiteral("prlimit"), {QStringLiteral("--pid"), QString::number(program.pid()),
                                                                QStringLiteral("--fsize=unlimited")}), 0);
        break;
    }
    program.command(QStringLiteral("learner Иванов после"));
    // The burst chose "Урок 1" at even steps: the other topic is a new choice.
    const QStringList after = program.command(refusedStep % 2 == 0 ? QStringLiteral("choose Урок 2")
                                                                   : QStringLiteral("choose Урок 1"));
    QVERIFY2(ProgramUnderFault::errors(after).isEmpty(), qPrintable(after.join('\n')));
    QCOMPARE(program.command(QStringLiteral("journal")).value(0).section(' ', 1, 1),
             QString::number(int(TableCursor::State::Browse)));
    QVERIFY(program.quit());

    QCOMPARE(course.integrity(), QString("ok"));
    QCOMPARE(course.journalGroups(), before + written + (QStringList{refused, QStringLiteral("после")}));
}

QTEST_GUILESS_MAIN(TestJournalFaults)
#include "tst_journalfaults.moc"
