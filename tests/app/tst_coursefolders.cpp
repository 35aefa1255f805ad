#include "AppError.h"
#include "CourseFolders.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Makes the listed entries under root: "name" a file, "name/" a folder.
void make(const QString &root, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const QString path = QDir(root).filePath(entry);
        if (entry.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir().mkpath(path));
            continue;
        }
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(entry.toUtf8());
    }
}

// The list written with folder names of the test's scratch folder: "a b" stands
// for "<root>/a", "<root>/b".
QStringList folders(const QString &root, const QString &names)
{
    QStringList list;
    for (const QString &name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        list << QDir::cleanPath(QDir(root).filePath(name));
    return list;
}

QString names(const QString &root, const QStringList &list)
{
    QStringList out;
    for (const QString &folder : list)
        out << QDir(root).relativeFilePath(folder);
    return out.join(QLatin1Char(' '));
}

} // namespace

// What counts as a course folder, the recent list, and the demo course's copy.
class TestCourseFolders : public QObject
{
    Q_OBJECT

private slots:
    void isCourse_data();
    void isCourse();
    void withRecent_data();
    void withRecent();
    void recentListDropsWhatIsNoLongerACourse();
    void copyDemoOnce_data();
    void copyDemoOnce();
    void demoCopyIsWritableAndRuns();
    void bundledDemo_data();
    void bundledDemo();
};

void TestCourseFolders::isCourse_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("course");

    QTest::newRow("database") << QStringList{"c/db1.sqlite"} << "c" << true;
    QTest::newRow("only the Windows database") << QStringList{"c/db1.mdb"} << "c" << true;
    QTest::newRow("only a server connection") << QStringList{"c/db1.connection"} << "c" << true;
    QTest::newRow("only the topic tree") << QStringList{"c/log.log"} << "c" << true;
    QTest::newRow("empty folder") << QStringList{"c/"} << "c" << false;
    QTest::newRow("lesson files but none of the four") << QStringList{"c/zas.mht", "c/uroki/urok1.htm"} << "c" << false;
    QTest::newRow("a folder named like the database") << QStringList{"c/db1.sqlite/"} << "c" << false;
    QTest::newRow("the database one level down") << QStringList{"c/inner/db1.sqlite"} << "c" << false;
    QTest::newRow("other letter case") << QStringList{"c/DB1.SQLITE", "c/Log.log"} << "c" << false;
    QTest::newRow("missing folder") << QStringList{} << "c" << false;
    QTest::newRow("a file, not a folder") << QStringList{"c"} << "c" << false;
    QTest::newRow("no folder at all") << QStringList{"c/db1.sqlite"} << "" << false;
}

void TestCourseFolders::isCourse()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, folder);
    QFETCH(bool, course);
    QTemporaryDir root;
    make(root.path(), entries);
    QCOMPARE(CourseFolders::isCourse(folder.isEmpty() ? QString() : root.filePath(folder)), course);
}

void TestCourseFolders::withRecent_data()
{
    QTest::addColumn<QString>("recent");
    QTest::addColumn<QString>("used");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first use") << "" << "a" << "a";
    QTest::newRow("a new folder goes first") << "a b" << "c" << "c a b";
    QTest::newRow("used again moves to the front") << "a b c" << "c" << "c a b";
    QTest::newRow("already first stays") << "a b" << "a" << "a b";
    QTest::newRow("the same folder spelled otherwise counts once") << "a b" << "x/../b/" << "b a";
    QTest::newRow("a link to a listed folder counts once") << "a b" << "link-to-b" << "b a";
    QTest::newRow("duplicates of a stored list collapse") << "a b a b" << "c" << "c a b";
    QTest::newRow("the oldest falls off at the limit") << "a b c d e f g h" << "i" << "i a b c d e f g";
    QTest::newRow("reusing at the limit loses nothing") << "a b c d e f g h" << "h" << "h a b c d e f g";
}

void TestCourseFolders::withRecent()
{
    QFETCH(QString, recent);
    QFETCH(QString, used);
    QFETCH(QString, expected);
    QTemporaryDir root;
    const QString base = QDir(root.path()).canonicalPath();
    for (const QString &name : QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "i", "x"})
        make(base, {name + "/log.log"});
    QVERIFY(QFile::link(QDir(base).filePath("b"), QDir(base).filePath("link-to-b")));

    const QStringList list = CourseFolders::withRecent(folders(base, recent), QDir(base).filePath(used));
    QCOMPARE(names(base, list), expected);
    QVERIFY(list.size() <= CourseFolders::MaxRecent);
}

void TestCourseFolders::recentListDropsWhatIsNoLongerACourse()
{
    QTemporaryDir root;
    const QString base = QDir(root.path()).canonicalPath();
    make(base, {"a/db1.sqlite", "b/log.log", "c/db1.mdb", "d/db1.connection"});
    const QString settingsFile = QDir(base).filePath("korvelta.conf");
    {
        QSettings settings(settingsFile, QSettings::IniFormat);
        RecentCourses recent(settings);
        for (const char *name : {"d", "c", "b", "a"})
            recent.use(QDir(base).filePath(name));
        QCOMPARE(names(base, recent.folders()), QString("a b c d"));
    }

    QVERIFY(QDir(QDir(base).filePath("b")).removeRecursively());  // the folder vanished
    QVERIFY(QFile::remove(QDir(base).filePath("c/db1.mdb")));      // no longer a course
    QSettings settings(settingsFile, QSettings::IniFormat);
    RecentCourses recent(settings);
    QCOMPARE(names(base, recent.folders()), QString("a d"));

    // Using one stores the list without them; a folder that comes back is not listed again.
    recent.use(QDir(base).filePath("d"));
    make(base, {"b/log.log"});
    QSettings reread(settingsFile, QSettings::IniFormat);
    QCOMPARE(names(base, RecentCourses(reread).folders()), QString("d a"));
}

void TestCourseFolders::copyDemoOnce_data()
{
    QTest::addColumn<QStringList>("before");   // entries of the target before the copy
    QTest::addColumn<QString>("journal");      // what target/db1.sqlite holds afterwards
    QTest::addColumn<QString>("error");        // the start of the message, empty for none

    QTest::newRow("no folder yet: copied") << QStringList{} << "demo journal" << "";
    QTest::newRow("an empty folder: filled") << QStringList{"demo/"} << "demo journal" << "";
    QTest::newRow("already a course: kept with its journal")
        << QStringList{"demo/db1.sqlite"} << "demo/db1.sqlite" << "";
    QTest::newRow("a folder of something else: refused, untouched")
        << QStringList{"demo/notes.txt"} << "" << "Папка";
    QTest::newRow("a file in the way: refused") << QStringList{"demo"} << "" << "Папка";
}

void TestCourseFolders::copyDemoOnce()
{
    QFETCH(QStringList, before);
    QFETCH(QString, journal);
    QFETCH(QString, error);
    QTemporaryDir source;
    QTemporaryDir home;
    QVERIFY(QDir().mkpath(source.filePath("demo/uroki")));
    QFile db(source.filePath("demo/db1.sqlite"));
    QVERIFY(db.open(QIODevice::WriteOnly));
    db.write("demo journal");
    db.close();
    make(source.path(), {"demo/log.log", "demo/uroki/urok1.htm"});
    const QString target = home.filePath("Korvelta/demo");
    make(home.filePath("Korvelta"), before);
    const QStringList entriesBefore = QDir(home.filePath("Korvelta")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    QString message;
    try {
        CourseFolders::copyDemoOnce(source.filePath("demo"), target);
    } catch (const AppError &e) {
        message = e.message();
    }
    QVERIFY2(error.isEmpty() ? message.isEmpty() : message.startsWith(error), qPrintable(message));
    if (!error.isEmpty()) {
        QVERIFY(!CourseFolders::isCourse(target));
        // Nothing half-made is left beside it.
        QCOMPARE(QDir(home.filePath("Korvelta")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 entriesBefore);
        return;
    }
    QFile copied(QDir(target).filePath("db1.sqlite"));
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(copied.readAll()), journal);
    if (journal == QLatin1String("demo journal"))
        QVERIFY(QFile::exists(QDir(target).filePath("uroki/urok1.htm")));
    QCOMPARE(QDir(home.filePath("Korvelta")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"demo"});
}

void TestCourseFolders::demoCopyIsWritableAndRuns()
{
    // The installed course: read-only files, and its practice program a link to the installed helper.
    QTemporaryDir install;
    make(install.path(), {"demo/db1.sqlite", "demo/log.log", "demo/programmy/", "libexec/trainer"});
    QFile::setPermissions(install.filePath("libexec/trainer"), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                                     | QFile::ExeOther);
    QVERIFY(QFile::link("../../libexec/trainer", install.filePath("demo/programmy/trainer")));
    for (const char *file : {"demo/db1.sqlite", "demo/log.log"})
        QVERIFY(QFile::setPermissions(install.filePath(file), QFile::ReadOwner | QFile::ReadOther));

    QTemporaryDir home;
    const QString target = CourseFolders::demoCopyFolder(home.path());
    CourseFolders::copyDemoOnce(install.filePath("demo"), target);

    QVERIFY(CourseFolders::isCourse(target));
    // The bits, not a write: the tests may run as root, who writes anyway.
    for (const char *file : {"db1.sqlite", "log.log"})
        QVERIFY2(QFileInfo(QDir(target).filePath(file)).permissions() & QFile::WriteOwner, qPrintable(file));
    const QFileInfo trainer(QDir(target).filePath("programmy/trainer"));
    QVERIFY(!trainer.isSymLink());
    QVERIFY(trainer.isFile());
    QVERIFY(trainer.isExecutable());
}

void TestCourseFolders::bundledDemo_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("expected");

    QTest::newRow("installed: share beside bin")
        << QStringList{"usr/bin/", "usr/share/korvelta/demo/db1.sqlite"} << "usr/share/korvelta/demo";
    QTest::newRow("build tree: assembled beside the program")
        << QStringList{"usr/bin/demo-course/db1.sqlite"} << "usr/bin/demo-course";
    QTest::newRow("installed wins over a stray build copy")
        << QStringList{"usr/bin/demo-course/db1.sqlite", "usr/share/korvelta/demo/log.log"} << "usr/share/korvelta/demo";
    QTest::newRow("a demo folder that is no course") << QStringList{"usr/bin/", "usr/share/korvelta/demo/"} << "";
    QTest::newRow("none") << QStringList{"usr/bin/"} << "";
}

void TestCourseFolders::bundledDemo()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, expected);
    QTemporaryDir root;
    make(root.path(), entries);
    const QString found = CourseFolders::bundledDemo(root.filePath("usr/bin"));
    QCOMPARE(found.isEmpty() ? QString() : QDir(root.path()).relativeFilePath(found), expected);
}

QTEST_GUILESS_MAIN(TestCourseFolders)
#include "tst_coursefolders.moc"
