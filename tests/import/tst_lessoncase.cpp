#include "LessonPaths.h"
#include "TestCourse.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

// Lesson references stored by courses made on Windows, against files on a
// case-sensitive disk.
class TestLessonCase final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void resolvesLetterCase_data();
    void resolvesLetterCase();
    void seesFolderChanges_data();
    void seesFolderChanges();

private:
    QTemporaryDir m_folders;
};

void TestLessonCase::resolvesLetterCase_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("onDisk"); // empty: no file is found
    QTest::addColumn<QString>("written"); // what toDisk() gives for a missing file

    QTest::newRow("file name in other case") << "uroki\\Urok1.HTM" << "uroki/urok1.htm" << "";
    QTest::newRow("folder in other case") << "UROKI\\urok1.htm" << "uroki/urok1.htm" << "";
    QTest::newRow("every level in other case") << "KURS\\glava\\RIS.jpg" << "Kurs/Glava/ris.JPG" << "";
    QTest::newRow("exact name wins over case twin") << "dup\\A.htm" << "dup/A.htm" << "";
    QTest::newRow("exact lower name wins over case twin") << "dup\\a.htm" << "dup/a.htm" << "";
    QTest::newRow("exact folder wins over case twin") << "Twin\\only.txt" << "Twin/only.txt" << "";
    QTest::newRow("file only in the case twin folder") << "twin\\Only.TXT" << "twin/only.txt" << "";
    QTest::newRow("Cyrillic name in other case") << "htm\\УРОК1.htm" << "htm/урок1.htm" << "";
    QTest::newRow("missing file keeps its name") << "Uroki\\None.htm" << "" << "Uroki/None.htm";
    QTest::newRow("missing folder keeps its name") << "Nowhere\\urok1.htm" << "" << "Nowhere/urok1.htm";
    QTest::newRow("file name used as a folder") << "uroki\\urok1.htm\\x" << "" << "uroki/urok1.htm/x";
}

void TestLessonCase::resolvesLetterCase()
{
    QFETCH(QString, stored);
    QFETCH(QString, onDisk);
    QFETCH(QString, written);

    TestCourse course(false);
    for (const char *file : {"uroki/urok1.htm", "Kurs/Glava/ris.JPG", "dup/a.htm", "dup/A.htm",
                             "Twin/only.txt", "twin/only.txt", "htm/урок1.htm"})
        course.writeFile(QString::fromUtf8(file), QByteArray(file));

    const QString path = LessonPaths::join(course.path(), stored);
    const QString disk = LessonPaths::toDisk(path);
    if (onDisk.isEmpty()) {
        QCOMPARE(disk, course.path() + QLatin1Char('/') + written);
        QVERIFY(!LessonPaths::fileExists(path));
    } else {
        QCOMPARE(disk, course.path() + QLatin1Char('/') + onDisk);
        QVERIFY(LessonPaths::fileExists(path));
        // The file found is the one named, not its case twin.
        QFile file(disk);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), onDisk);
    }
}

namespace {

// A folder whose listing is kept must have stood unchanged for 2 s.
constexpr int SettleMs = 2100;

struct FolderChange
{
    const char *name;
    const char *before; // the file in the folder at the first look, if any
    const char *after;  // the file there at the second look, if any
    bool settled;       // the folder stood unchanged before the first look
    bool sameTime;      // the change sets the folder's modification time back
    bool replaced;      // the folder is removed and made anew
};

const FolderChange FolderChanges[] = {
    {"file added", "", "urok1.htm", true, false, false},
    {"file removed", "urok1.htm", "", true, false, false},
    {"file renamed to other case", "Urok1.htm", "urok1.HTM", true, false, false},
    {"file added, folder's time set back", "", "urok1.htm", true, true, false},
    {"folder made anew, its time set back", "Urok1.htm", "urok1.HTM", true, true, true},
    {"file added to a folder changed just now", "", "urok1.htm", false, false, false},
};

timespec modifiedTime(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mtim;
}

bool setModifiedTime(const QString &path, timespec time)
{
    const timespec times[2] = {time, time};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

// Every case's folder is made here, so that one wait lets them all stand unchanged.
void TestLessonCase::initTestCase()
{
    QVERIFY(m_folders.isValid());
    for (const FolderChange &change : FolderChanges) {
        const QString folder = m_folders.filePath(QString::fromLatin1(change.name));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/uroki")));
        if (change.before[0])
            writeFile(folder + QStringLiteral("/uroki/") + QString::fromLatin1(change.before), "page");
        writeFile(folder + QStringLiteral("/uroki/other.htm"), "other");
    }
    QTest::qWait(SettleMs);
}

// Names in other letter case are found from a listing of the folder kept
// between looks; a folder changed since must be listed again.
void TestLessonCase::seesFolderChanges_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(FolderChanges)); ++i)
        QTest::newRow(FolderChanges[i].name) << i;
}

void TestLessonCase::seesFolderChanges()
{
    QFETCH(int, index);
    const FolderChange &change = FolderChanges[index];
    const QString course = m_folders.filePath(QString::fromLatin1(change.name));
    const QString folder = course + QStringLiteral("/uroki");
    const QString before = QString::fromLatin1(change.before);
    const QString after = QString::fromLatin1(change.after);
    if (!change.settled)
        writeFile(folder + QStringLiteral("/just-now.htm"), "new");

    const QString stored = LessonPaths::join(course, QStringLiteral("uroki\\UROK1.htm"));
    QCOMPARE(LessonPaths::fileExists(stored), !before.isEmpty());

    const timespec firstLook = modifiedTime(folder);
    if (change.replaced) {
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(QDir(course).mkpath(QStringLiteral("uroki")));
    } else if (!before.isEmpty()) {
        QVERIFY(QFile::remove(folder + QLatin1Char('/') + before));
    }
    if (!after.isEmpty())
        writeFile(folder + QLatin1Char('/') + after, "page");
    if (change.sameTime)
        QVERIFY(setModifiedTime(folder, firstLook));

    const QString expected = folder + QLatin1Char('/') + (after.isEmpty() ? QStringLiteral("UROK1.htm") : after);
    QCOMPARE(LessonPaths::toDisk(stored), expected);
    QCOMPARE(LessonPaths::fileExists(stored), !after.isEmpty());
}

QTEST_GUILESS_MAIN(TestLessonCase)
#include "tst_lessoncase.moc"
