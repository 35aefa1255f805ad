#include "TestCourse.h"
#include "TestFolder.h"

#include <QProcess>
#include <QtTest>

// korvelta-tests as a teacher runs it in a course folder: its commands, its
// messages and its exit codes.
class TestTestsTool : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void run_data();
    void run();

private:
    std::unique_ptr<TestCourse> m_course;
};

void TestTestsTool::init()
{
    m_course = std::make_unique<TestCourse>(false);
    m_course->writeFile("good.txt", "Единица тока?\nA. ампер\nB. вольт\nANSWER: A\n\n"
                                    "Единица напряжения?\nA. ампер\nB. вольт\nANSWER: B\n");
    m_course->writeFile("bad.txt", "Первый\nA. 1\nF. 2\nANSWER: A\n\n"
                                   "Второй\nA. 1\nB. 2\nANSWER: C\n");
    TestFolder::write(m_course->filePath("made"), {{"Вопрос", {"да", "нет"}, 2, 0}}, false);
    m_course->writeFile("handmade/otwet.txt", "A\r\n");
    m_course->writeFile("handmade/1.htm", "<html><body>Вопрос? A) да B) нет</body></html>");
    m_course->writeFile("broken/otwet.txt", "A\r\n\r\n");
    m_course->writeFile("broken/1.htm", "<html></html>");
    m_course->writeFile("broken/2.htm", "<html></html>");
    m_course->writeFile("file.txt", "not a folder");
    QVERIFY(QDir(m_course->path()).mkdir("dir.txt"));
}

void TestTestsTool::cleanup()
{
    m_course.reset();
}

void TestTestsTool::run_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<QString>("made");      // a file there afterwards
    QTest::addColumn<QString>("notMade");   // a path not there afterwards

    QTest::newRow("no arguments") << QStringList() << 1 << QStringList{"usage: korvelta-tests import"} << ""
                                  << "";
    QTest::newRow("unknown command") << QStringList{"convert", "good.txt", "new"} << 1 << QStringList{"usage:"}
                                     << "" << "new";
    QTest::newRow("import without a folder") << QStringList{"import", "good.txt"} << 1 << QStringList{"usage:"}
                                             << "" << "";
    QTest::newRow("unknown option") << QStringList{"import", "good.txt", "new", "--fast"} << 1
                                    << QStringList{"usage:"} << "" << "new";
    QTest::newRow("check takes no --force") << QStringList{"check", "made", "--force"} << 1
                                            << QStringList{"usage:"} << "" << "";
    QTest::newRow("help") << QStringList{"--help"} << 0 << QStringList{"Exit codes: 0 done, 1 usage"} << "" << "";

    QTest::newRow("import") << QStringList{"import", "good.txt", "testy/new"} << 0
                            << QStringList{"testy/new: записано вопросов: 2"} << "testy/new/2.htm" << "";
    QTest::newRow("import: the bank is missing") << QStringList{"import", "missing.txt", "new"} << 2
                                                 << QStringList{"missing.txt: файл не читается"} << "" << "new";
    QTest::newRow("import: the bank is a folder") << QStringList{"import", "dir.txt", "new"} << 2
                                                  << QStringList{"dir.txt: файл не читается"} << "" << "new";
    QTest::newRow("import: every error of the bank, nothing written")
        << QStringList{"import", "bad.txt", "new"} << 3
        << QStringList{"bad.txt:3: вариант F вне A–E", "bad.txt:9: ANSWER: C",
                       "korvelta-tests: ошибок: 2; ничего не записано."}
        << "" << "new";
    QTest::newRow("import: the folder holds a test")
        << QStringList{"import", "good.txt", "made"} << 4
        << QStringList{"made: в папке уже есть тест", "korvelta-tests import good.txt made --force"} << ""
        << "made/2.htm";
    QTest::newRow("import: --force replaces the test") << QStringList{"--force", "import", "good.txt", "made"} << 0
                                                       << QStringList{"made: записано вопросов: 2"} << "made/2.htm"
                                                       << "";
    QTest::newRow("import: a folder of other files, even with --force")
        << QStringList{"import", "good.txt", ".", "--force"} << 4 << QStringList{"папка не пуста, а теста в ней нет"}
        << "" << "1.htm";
    QTest::newRow("import: the folder cannot be made") << QStringList{"import", "good.txt", "file.txt/new"} << 4
                                                       << QStringList{"file.txt: папка не создаётся"} << "" << "";

    QTest::newRow("check: key and pages agree") << QStringList{"check", "made"} << 0
                                                << QStringList{"made: файл ответов и страницы вопросов согласованы."}
                                                << "" << "";
    QTest::newRow("check: problems by line") << QStringList{"check", "broken"} << 3
                                             << QStringList{"broken/otwet.txt:2: строка без ответа"} << "" << "";
    QTest::newRow("check: no such folder") << QStringList{"check", "nothing"} << 2
                                           << QStringList{"nothing: папки нет"} << "" << "";
    QTest::newRow("check: no key") << QStringList{"check", "dir.txt"} << 2
                                   << QStringList{"dir.txt: в папке нет файла ответов otwet.txt"} << "" << "";

    QTest::newRow("export") << QStringList{"export", "made", "out.txt"} << 0
                            << QStringList{"out.txt: записано вопросов: 1."} << "out.txt" << "";
    QTest::newRow("export: pages made by hand") << QStringList{"export", "handmade", "out.txt"} << 3
                                                << QStringList{"handmade/1.htm: страница другого вида"} << ""
                                                << "out.txt";
    QTest::newRow("export: the bank exists") << QStringList{"export", "made", "good.txt"} << 4
                                             << QStringList{"good.txt: файл уже есть", "export made good.txt --force"}
                                             << "" << "";
    QTest::newRow("export: --force replaces the bank") << QStringList{"export", "made", "good.txt", "--force"} << 0
                                                       << QStringList{"good.txt: записано вопросов: 1."} << "" << "";
    QTest::newRow("export: no such folder") << QStringList{"export", "nothing", "out.txt"} << 2
                                            << QStringList{"nothing: папки нет"} << "" << "out.txt";
}

void TestTestsTool::run()
{
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QStringList, said);
    QFETCH(QString, made);
    QFETCH(QString, notMade);
    const QByteArray madeKey = m_course->readFile("made/otwet.txt");

    QProcess tool;
    tool.setWorkingDirectory(m_course->path());
    tool.start(QStringLiteral(KORVELTA_TESTS_TOOL), args);
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    const QString output = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    QVERIFY2(tool.exitCode() == code, qPrintable(QStringLiteral("exit code %1:\n%2").arg(tool.exitCode()).arg(output)));
    for (const QString &text : said)
        QVERIFY2(output.contains(text), qPrintable(QStringLiteral("no \"%1\" in:\n%2").arg(text, output)));
    if (!made.isEmpty())
        QVERIFY(QFileInfo::exists(m_course->filePath(made)));
    if (!notMade.isEmpty())
        QVERIFY(!QFileInfo::exists(m_course->filePath(notMade)));
    if (code != 0)
        QCOMPARE(m_course->readFile("made/otwet.txt"), madeKey);
}

QTEST_GUILESS_MAIN(TestTestsTool)
#include "tst_teststool.moc"
