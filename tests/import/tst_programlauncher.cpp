#include "ProgramLauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// How a lesson's practice program is started on this system.
class TestProgramLauncher final : public QObject
{
    Q_OBJECT

private slots:
    void command_data();
    void command();
    void startsDetachedInTheCurrentDirectory();
};

namespace {

void writeScript(const QString &path, const QByteArray &body)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("#!/bin/sh\n" + body);
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

void TestProgramLauncher::command_data()
{
    QTest::addColumn<bool>("wineInstalled");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("expected"); // "WINE" stands for the Wine found

    QTest::newRow("exe through Wine") << true << "/course/exe/demo1.exe" << QStringList{"WINE", "/course/exe/demo1.exe"};
    QTest::newRow("EXE in capitals through Wine") << true << "/course/exe/DEMO.EXE" << QStringList{"WINE", "/course/exe/DEMO.EXE"};
    QTest::newRow("exe without Wine is not started") << false << "/course/exe/demo1.exe" << QStringList();
    QTest::newRow("native program directly") << false << "/course/exe/trainer" << QStringList{"/course/exe/trainer"};
    QTest::newRow("native program directly with Wine there") << true << "/course/exe/trainer.sh"
                                                             << QStringList{"/course/exe/trainer.sh"};
}

void TestProgramLauncher::command()
{
    QFETCH(bool, wineInstalled);
    QFETCH(QString, program);
    QFETCH(QStringList, expected);

    QTemporaryDir bin;
    const QString wine = QDir(bin.path()).filePath(QStringLiteral("wine"));
    if (wineInstalled)
        writeScript(wine, "exit 0\n");
    expected.replaceInStrings(QStringLiteral("WINE"), wine);
    QCOMPARE(ProgramLauncher(bin.path()).command(program), expected);
}

void TestProgramLauncher::startsDetachedInTheCurrentDirectory()
{
    QTemporaryDir bin;
    QTemporaryDir course;
    // A stand-in Wine that records its command line and working folder.
    writeScript(QDir(bin.path()).filePath(QStringLiteral("wine")), "echo \"$@\" > started.txt; pwd >> started.txt\n");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(course.path());
    const QString program = QDir(course.path()).filePath(QStringLiteral("exe/demo1.exe"));
    QVERIFY(ProgramLauncher(bin.path()).start(program));
    QDir::setCurrent(previous);

    const QString record = QDir(course.path()).filePath(QStringLiteral("started.txt"));
    const auto recorded = [&record] {
        QFile file(record);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_COMPARE(recorded().count('\n'), 2);
    const QList<QByteArray> lines = recorded().split('\n');
    QCOMPARE(QString::fromLocal8Bit(lines.at(0)), program);
    QCOMPARE(QDir(QString::fromLocal8Bit(lines.at(1))).canonicalPath(), QDir(course.path()).canonicalPath());
}

QTEST_GUILESS_MAIN(TestProgramLauncher)
#include "tst_programlauncher.moc"
