#include "LessonPaths.h"
#include "TestCourse.h"

#include <QtTest>

class TestLessonPaths : public QObject
{
    Q_OBJECT

private slots:
    void toDisk_data();
    void toDisk();
    void resolve_data();
    void resolve();
    void relativeReference_data();
    void relativeReference();
};

void TestLessonPaths::toDisk_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("disk");

    QTest::newRow("backslashes become slashes") << "/course\\uroki\\a.htm" << "/course/uroki/a.htm";
    QTest::newRow("doubled separators collapse") << "/course\\testy\\urok1\\\\otwet.txt"
                                                 << "/course/testy/urok1/otwet.txt";
    QTest::newRow("root folder") << "/\\log.log" << "/log.log";
    QTest::newRow("mixed") << "/a//b\\/c" << "/a/b/c";
}

void TestLessonPaths::toDisk()
{
    QFETCH(QString, path);
    QFETCH(QString, disk);
    QCOMPARE(LessonPaths::toDisk(path), disk);
}

void TestLessonPaths::resolve_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("set");
    QTest::addColumn<bool>("resolved");
    QTest::addColumn<bool>("exists");

    QTest::newRow("existing file") << QVariant("uroki\\a.htm") << true << true << true;
    QTest::newRow("missing file") << QVariant("uroki\\none.htm") << true << true << false;
    QTest::newRow("empty value is the folder, not a file") << QVariant(QString("")) << false << true << false;
    QTest::newRow("Null is absent") << QVariant() << false << false << false;
    QTest::newRow("a folder is not a file") << QVariant("uroki") << true << true << false;
}

void TestLessonPaths::resolve()
{
    QFETCH(QVariant, value);
    QFETCH(bool, set);
    QFETCH(bool, resolved);
    QFETCH(bool, exists);

    TestCourse course(false);
    course.writeFile("uroki/a.htm", "<p>a</p>");
    const QString appDir = LessonPaths::currentAppDir();
    QCOMPARE(LessonPaths::isSet(value), set);
    const auto path = LessonPaths::resolveLessonFile(appDir, value);
    QCOMPARE(path.has_value(), resolved);
    QCOMPARE(path && LessonPaths::fileExists(*path), exists);
}

void TestLessonPaths::relativeReference_data()
{
    QTest::addColumn<QString>("fullName");
    QTest::addColumn<QString>("stored");

    QTest::newRow("inside the folder, with backslashes") << "/srv/course/uroki/a.htm" << "uroki\\a.htm";
    QTest::newRow("the folder itself yields empty") << "/srv/course/" << "";
    QTest::newRow("shorter than the folder yields empty") << "/srv" << "";
}

void TestLessonPaths::relativeReference()
{
    QFETCH(QString, fullName);
    QFETCH(QString, stored);
    QCOMPARE(LessonPaths::relativeReference("/srv/course", fullName), stored);
}

QTEST_GUILESS_MAIN(TestLessonPaths)
#include "tst_lessonpaths.moc"
