#include "LessonPaths.h"
#include "TestCourse.h"

#include <QtTest>

// Lesson references stored by courses made on Windows, against files on a
// case-sensitive disk.
class TestLessonCase final : public QObject
{
    Q_OBJECT

private slots:
    void resolvesLetterCase_data();
    void resolvesLetterCase();
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

QTEST_GUILESS_MAIN(TestLessonCase)
#include "tst_lessoncase.moc"
