#include "AnswerKeyFile.h"
#include "AppError.h"
#include "TestCourse.h"
#include "TestFolder.h"
#include "TestFolderCommands.h"
#include "TestPage.h"

#include <QDirIterator>
#include <QTextDocument>
#include <QtTest>

#include <csignal>
#include <map>
#include <sys/resource.h>

namespace {

using Snapshot = std::map<QString, QByteArray>;

// Every file and folder under `root` (hidden ones too), with the bytes of the files.
Snapshot snapshot(const QString &root)
{
    Snapshot files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files[QDir(root).relativeFilePath(path)] = it.fileInfo().isDir() || !file.open(QIODevice::ReadOnly)
            ? QByteArray("<folder>")
            : file.readAll();
    }
    return files;
}

QStringList names(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

const std::vector<BankQuestion> ThreeQuestions = {
    {"Что больше: 2 < 3 & \"4\"?", {"два", "три", "четыре"}, 3, 0},
    {"Единица тока?", {"ампер", "вольт"}, 1, 0},
    {"Единица сопротивления?", {"вольт", "ом", "ватт", "ампер", "джоуль"}, 2, 0},
};

// A page of two options, as an import writes it.
QByteArray twoOptionPage(int number)
{
    return TestPage::write(number, {QStringLiteral("Вопрос %1").arg(number), {"да", "нет"}, 1, 0});
}

// While it lives, a file cannot grow beyond `bytes`: writes past it fail as on
// a full disk, whoever runs the test.
class FileSizeLimit final
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace

// Test folders written from questions, checked, and read back into a bank.
class TestTestFolder : public QObject
{
    Q_OBJECT

private slots:
    void writesWhatTheTestWindowReads();
    void refusesAFolder_data();
    void refusesAFolder();
    void writesIntoAnEmptyFolder();
    void replacingKeepsTheOldTestsOtherFiles();
    void failedWriteLeavesEverythingAsItWas_data();
    void failedWriteLeavesEverythingAsItWas();
    void check_data();
    void check();
    void roundTrip_data();
    void roundTrip();
    void exportRefuses_data();
    void exportRefuses();
    void exportReplacesABankOnlyWhenTold();
};

void TestTestFolder::writesWhatTheTestWindowReads()
{
    TestCourse course(false);
    const QString folder = course.filePath("testy/новый тест");
    QVERIFY(TestFolder::write(folder, ThreeQuestions, false).isEmpty());

    QCOMPARE(names(course.filePath("testy")), QStringList{"новый тест"});
    QCOMPARE(names(folder), (QStringList{"1.htm", "2.htm", "3.htm", "otwet.txt"}));
    QCOMPARE(course.readFile("testy/новый тест/otwet.txt"), QByteArray("C\r\nA\r\nB\r\n"));
    const AnswerKeyFile::ReadResult key = AnswerKeyFile::read(folder + "/otwet.txt");
    QCOMPARE(key.lineCount, 3);
    QCOMPARE(key.answers, (std::vector<quint8>{3, 1, 2}));

    const QByteArray page = course.readFile("testy/новый тест/1.htm");
    QVERIFY(page.contains("<meta charset=\"utf-8\">"));
    QTextDocument shown;
    shown.setHtml(QString::fromUtf8(page));
    QStringList lines = shown.toPlainText().split(u'\n', Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    QCOMPARE(lines,
             (QStringList{"Что больше: 2 < 3 & \"4\"?", "A) два", "B) три", "C) четыре"}));
    QCOMPARE(shown.metaInformation(QTextDocument::DocumentTitle), QString("Вопрос 1"));

    for (int i = 0; i < 3; ++i) {
        auto read = TestPage::read(course.readFile(QStringLiteral("testy/новый тест/%1.htm").arg(i + 1)));
        QVERIFY(read);
        QCOMPARE(read->text, ThreeQuestions[i].text);
        QCOMPARE(read->options, ThreeQuestions[i].options);
    }
}

void TestTestFolder::refusesAFolder_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<bool>("test");

    QTest::newRow("an answer key") << "otwet.txt" << false << true;
    QTest::newRow("an answer key named in capitals") << "OTWET.TXT" << false << true;
    QTest::newRow("a question page") << "7.htm" << false << true;
    QTest::newRow("a question page named in capitals") << "1.HTM" << false << true;
    QTest::newRow("other files without a test") << "urok1.htm" << false << false;
    QTest::newRow("other files without a test, even to be replaced") << "01.htm" << true << false;
}

void TestTestFolder::refusesAFolder()
{
    QFETCH(QString, file);
    QFETCH(bool, replace);
    QFETCH(bool, test);
    TestCourse course(false);
    course.writeFile("testy/old/" + file, "old");
    const Snapshot before = snapshot(course.path());
    QCOMPARE(TestFolder::holdsTest(course.filePath("testy/old")), test);

    QVERIFY_THROWS_EXCEPTION(AppError, TestFolder::write(course.filePath("testy/old"), ThreeQuestions, replace));
    QCOMPARE(snapshot(course.path()), before);
}

void TestTestFolder::writesIntoAnEmptyFolder()
{
    // As a folder dialog makes it.
    TestCourse course(false);
    QVERIFY(QDir(course.path()).mkpath("testy/t"));
    TestFolder::write(course.filePath("testy/t"), ThreeQuestions, false);
    QCOMPARE(names(course.filePath("testy/t")), (QStringList{"1.htm", "2.htm", "3.htm", "otwet.txt"}));
    QCOMPARE(names(course.filePath("testy")), QStringList{"t"});
}

void TestTestFolder::replacingKeepsTheOldTestsOtherFiles()
{
    TestCourse course(false);
    for (int i = 1; i <= 5; ++i)
        course.writeFile(QStringLiteral("testy/t/%1.htm").arg(i), "old page");
    course.writeFile("testy/t/otwet.txt", "A\r\nB\r\nC\r\nD\r\nE\r\n");
    course.writeFile("testy/t/picture.png", "picture");
    course.writeFile("testy/t/1.files/image001.png", "word's picture");
    course.writeFile("testy/t/.hidden", "hidden");

    QVERIFY(TestFolder::write(course.filePath("testy/t"), {ThreeQuestions[0], ThreeQuestions[1]}, true).isEmpty());
    QCOMPARE(names(course.filePath("testy/t")),
             (QStringList{".hidden", "1.files", "1.htm", "2.htm", "otwet.txt", "picture.png"}));
    QCOMPARE(course.readFile("testy/t/otwet.txt"), QByteArray("C\r\nA\r\n"));
    QCOMPARE(course.readFile("testy/t/1.files/image001.png"), QByteArray("word's picture"));
    QCOMPARE(course.readFile("testy/t/picture.png"), QByteArray("picture"));
    QCOMPARE(names(course.filePath("testy")), QStringList{"t"});
}

void TestTestFolder::failedWriteLeavesEverythingAsItWas_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message");

    QTest::newRow("new folder, disk full at the third page") << false << "testy/t" << "3.htm: файл не записан";
    QTest::newRow("replaced test, disk full at the third page") << true << "testy/t" << "3.htm: файл не записан";
    QTest::newRow("the folder's name is taken by a file") << false << "testy/file" << "это файл, а не папка";
    QTest::newRow("a file where a parent folder should be") << false << "testy/file/t" << "папка не создаётся";
}

void TestTestFolder::failedWriteLeavesEverythingAsItWas()
{
    QFETCH(bool, existing);
    QFETCH(QString, target);
    QFETCH(QString, message);
    TestCourse course(false);
    course.writeFile("testy/file", "not a folder");
    if (existing) {
        course.writeFile("testy/t/1.htm", "old page");
        course.writeFile("testy/t/otwet.txt", "E\r\n");
        course.writeFile("testy/t/picture.png", "picture");
    }
    const Snapshot before = snapshot(course.path());

    // The third page is far larger than the others.
    std::vector<BankQuestion> questions = ThreeQuestions;
    questions[2].text = QString(6000, u'ж');
    QString error;
    {
        FileSizeLimit limit(4000);
        try {
            TestFolder::write(course.filePath(target), questions, true);
        } catch (const AppError &e) {
            error = e.message();
        }
    }
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(snapshot(course.path()), before);
}

void TestTestFolder::check_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QStringList>("problems");

    QTest::newRow("key and pages agree") << QByteArray("A\r\nB\r\n") << QStringList{"1.htm", "2.htm"} << QStringList();
    QTest::newRow("pages named in capitals are pages") << QByteArray("A\r\n") << QStringList{"1.HTM"}
                                                       << QStringList();
    QTest::newRow("lines without an answer")
        << QByteArray("A\r\n\r\nx y\r\nb\r\nB") << QStringList{"1.htm", "2.htm", "3.htm", "4.htm", "5.htm"}
        << QStringList{"otwet.txt:2: строка без ответа", "otwet.txt:3: строка без ответа",
                       "otwet.txt:4: строка без ответа"};
    QTest::newRow("page missing") << QByteArray("A\r\nA\r\nA\r\n") << QStringList{"1.htm", "3.htm"}
                                  << QStringList{"otwet.txt:2: нет страницы вопроса 2.htm"};
    QTest::newRow("a page with a leading zero is not the page")
        << QByteArray("A\r\n") << QStringList{"01.htm"} << QStringList{"otwet.txt:1: нет страницы вопроса 1.htm"};
    QTest::newRow("extra pages") << QByteArray("A\r\nB\r\n") << QStringList{"1.htm", "2.htm", "3.htm", "10.htm"}
                                 << QStringList{"3.htm: лишняя страница: в файле ответов 2 строк",
                                                "10.htm: лишняя страница"};
    QTest::newRow("empty key") << QByteArray() << QStringList{"1.htm"}
                               << QStringList{"otwet.txt: в файле ответов нет ни одной строки",
                                              "1.htm: лишняя страница"};
    QTest::newRow("answer naming an option the page does not show")
        << QByteArray("A\r\nC\r\n") << QStringList{"1.htm", "2.htm"}
        << QStringList{"otwet.txt:2: ответ C, а на странице 2.htm варианты только A–B"};
    QByteArray many;
    QStringList manyPages;
    for (int i = 1; i <= 256; ++i) {
        many += "B\r\n";
        manyPages << QStringLiteral("%1.htm").arg(i);
    }
    QTest::newRow("more questions than a test holds")
        << many << manyPages << QStringList{"otwet.txt:256: в файле ответов 256 строк: в тесте может быть не больше 255"};
}

void TestTestFolder::check()
{
    QFETCH(QByteArray, key);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, problems);
    TestCourse course(false);
    course.writeFile("t/otwet.txt", key);
    for (const QString &page : pages)
        course.writeFile("t/" + page, twoOptionPage(page.section(u'.', 0, 0).toInt()));

    const std::vector<FileRemark> found = TestFolder::check(course.filePath("t"));
    QStringList shown;
    for (const FileRemark &remark : found)
        shown << remark.toString();
    QVERIFY2(shown.size() == problems.size(), qPrintable(shown.join(u'\n')));
    // Each expected problem is the start of the message after the folder's path.
    for (int i = 0; i < problems.size(); ++i) {
        QVERIFY2(shown.at(i).startsWith(course.filePath("t/") + problems.at(i)),
                 qPrintable(QStringLiteral("expected %1, got %2").arg(problems.at(i), shown.at(i))));
    }
    QCOMPARE(TestFolderCommands::checkFolder(course.filePath("t")).status,
             problems.isEmpty() ? TestFolderCommands::Status::Done : TestFolderCommands::Status::HasErrors);
}

void TestTestFolder::roundTrip_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bank");
    QTest::addColumn<int>("count");

    QTest::newRow("Aiken") << "bank.txt"
                           << QByteArray("Что больше: 2 < 3 & 4 > 1?\nA. <да>\nB) \"нет\"\nC. &amp;\nANSWER: C\n\n"
                                         "Единица тока?\nA. ампер\nB. вольт\nC. ом\nD. ватт\nE. джоуль\nANSWER: A\n")
                           << 2;
    QTest::newRow("GIFT")
        << "bank.gift"
        << QByteArray("// тема\n::Q1:: Что значат \\{ и \\}? {=скобки ~ничего}\n\n"
                      "::Q2::[html]<p>Ток <b>в металлах</b></p> создают {~протоны =электроны ~ионы ~нейтроны ~кварки}.\n\n"
                      "Земля круглая {T}\n")
        << 2;
}

void TestTestFolder::roundTrip()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bank);
    QFETCH(int, count);
    TestCourse course(false);
    course.writeFile(fileName, bank);

    const auto first = TestFolderCommands::importBank(course.filePath(fileName), course.filePath("first"), false);
    QCOMPARE(first.status, TestFolderCommands::Status::Done);
    QCOMPARE(first.questionCount, count);
    const auto exported =
        TestFolderCommands::exportFolder(course.filePath("first"), course.filePath("exported.txt"), false);
    QVERIFY2(exported.status == TestFolderCommands::Status::Done, qPrintable(exported.errors.join(u'\n')));
    QCOMPARE(exported.questionCount, count);
    const auto second =
        TestFolderCommands::importBank(course.filePath("exported.txt"), course.filePath("second"), false);
    QCOMPARE(second.status, TestFolderCommands::Status::Done);
    QVERIFY(second.notes.isEmpty());

    const Snapshot a = snapshot(course.filePath("first"));
    QCOMPARE(int(a.size()), count + 1);
    QCOMPARE(snapshot(course.filePath("second")), a);
}

void TestTestFolder::exportRefuses_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("error");

    QTest::newRow("a page made by hand")
        << "<html><body><p>Вопрос</p><p>A) да</p></body></html>" << QByteArray("A\r\nB\r\n")
        << "2.htm: страница другого вида";
    QTest::newRow("a question that Aiken would read as an option")
        << "<p class=\"vopros\">A. Ньютон?</p><p class=\"otvet\">A) да</p><p class=\"otvet\">B) нет</p>"
        << QByteArray("A\r\nB\r\n") << "2.htm: вопрос не записывается в формате Aiken";
    QTest::newRow("a key line without an answer") << QString() << QByteArray("A\r\n-\r\n")
                                                  << "otwet.txt:2: строка без ответа";
}

void TestTestFolder::exportRefuses()
{
    QFETCH(QString, page);
    QFETCH(QByteArray, key);
    QFETCH(QString, error);
    TestCourse course(false);
    course.writeFile("t/1.htm", twoOptionPage(1));
    course.writeFile("t/2.htm", page.isEmpty() ? twoOptionPage(2) : page.toUtf8());
    course.writeFile("t/otwet.txt", key);

    const auto outcome = TestFolderCommands::exportFolder(course.filePath("t"), course.filePath("bank.txt"), false);
    QCOMPARE(outcome.status, TestFolderCommands::Status::HasErrors);
    QCOMPARE(outcome.errors.size(), 1);
    QVERIFY2(outcome.errors.first().contains(error), qPrintable(outcome.errors.first()));
    QVERIFY(!QFile::exists(course.filePath("bank.txt")));
}

void TestTestFolder::exportReplacesABankOnlyWhenTold()
{
    TestCourse course(false);
    TestFolder::write(course.filePath("t"), ThreeQuestions, false);
    course.writeFile("bank.txt", "written by hand");

    const auto refused = TestFolderCommands::exportFolder(course.filePath("t"), course.filePath("bank.txt"), false);
    QCOMPARE(refused.status, TestFolderCommands::Status::CannotWrite);
    QVERIFY(refused.refusedToReplace);
    QCOMPARE(course.readFile("bank.txt"), QByteArray("written by hand"));

    const auto replaced = TestFolderCommands::exportFolder(course.filePath("t"), course.filePath("bank.txt"), true);
    QCOMPARE(replaced.status, TestFolderCommands::Status::Done);
    QVERIFY(course.readFile("bank.txt").startsWith("Что больше: 2 < 3 & \"4\"?\nA. два\nB. три\nC. четыре\nANSWER: C\n"));
}

QTEST_MAIN(TestTestFolder)
#include "tst_testfolder.moc"
