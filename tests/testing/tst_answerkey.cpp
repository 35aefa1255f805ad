#include "AnswerKeyFile.h"
#include "TestCourse.h"

#include <QtTest>

#include <cerrno>
#include <sys/resource.h>

namespace {

// The answers of the lines read, one digit per line ("0" for none), so a row reads like the file.
QString digits(const std::vector<quint8> &answers)
{
    QString out;
    for (quint8 answer : answers)
        out += QChar(u'0' + answer);
    return out;
}

} // namespace

class TestAnswerKey : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseInPieces();
    void answersBeyondTheCapacityAreCountedNotKept();
    void readsTheFile();
    void openErrors_data();
    void openErrors();
    void tooManyOpenFiles();
    void readErrorKeepsTheLinesBeforeIt();
    void errorMessages_data();
    void errorMessages();
};

void TestAnswerKey::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QList<int>>("linesWithoutAnswer");

    QTest::newRow("empty file") << QByteArray() << 0 << "" << QList<int>{};
    QTest::newRow("one letter a line, CR LF") << QByteArray("A\r\nB\r\nC\r\nD\r\nE\r\n") << 5 << "12345" << QList<int>{};
    QTest::newRow("LF alone ends a line") << QByteArray("B\nD\n") << 2 << "24" << QList<int>{};
    QTest::newRow("no line break after the last line") << QByteArray("A\r\nC") << 2 << "13" << QList<int>{};
    QTest::newRow("final line break starts no line") << QByteArray("E\n") << 1 << "5" << QList<int>{};
    QTest::newRow("empty line inside the file is a question without answer")
        << QByteArray("A\r\n\r\nB\r\n") << 3 << "102" << QList<int>{2};
    QTest::newRow("two line breaks at the end make an empty last line") << QByteArray("A\n\n") << 2 << "10" << QList<int>{2};
    QTest::newRow("latest letter of the line wins, wherever it stands")
        << QByteArray("1) E, A\r\nBAD\r\nC-B\r\n") << 3 << "543" << QList<int>{};
    QTest::newRow("line without any of A to E") << QByteArray("xyz 123\r\nF G\r\n") << 2 << "00" << QList<int>{1, 2};
    QTest::newRow("lower-case letters do not count") << QByteArray("a b c d e\r\nb E\r\n") << 2 << "05" << QList<int>{1};
    QTest::newRow("Cyrillic look-alikes in windows-1251 do not count")
        << QByteArray("\xC0\r\n\xC2\xD1\xC5\r\n") << 2 << "00" << QList<int>{1, 2};
    QTest::newRow("Cyrillic look-alikes in UTF-8 do not count")
        << QByteArray("\xD0\x90\r\n\xD0\x92 \xD0\xA1\r\n") << 2 << "00" << QList<int>{1, 2};
    QTest::newRow("lone CR is dropped and does not end the line") << QByteArray("A\rC\r\nB") << 2 << "32" << QList<int>{};
    QTest::newRow("file of a lone CR is one empty line") << QByteArray("\r") << 1 << "0" << QList<int>{1};
    QTest::newRow("CR before the line feed at the end") << QByteArray("D\r") << 1 << "4" << QList<int>{};
    QTest::newRow("Ctrl-Z at the start of a line ends the file")
        << QByteArray("A\r\nB\r\n\x1A" "C\r\nD\r\n") << 2 << "12" << QList<int>{};
    QTest::newRow("Ctrl-Z as the first byte: no lines") << QByteArray("\x1A" "A\r\n") << 0 << "" << QList<int>{};
    QTest::newRow("Ctrl-Z inside a line ends its text, the rest is skipped")
        << QByteArray("A\x1A" "E\r\nB\r\n") << 2 << "12" << QList<int>{};
    QTest::newRow("Ctrl-Z after a CR is inside the line") << QByteArray("A\n\r\x1A" "E\nC") << 3 << "103" << QList<int>{2};
    QTest::newRow("Ctrl-Z inside the last line without line break") << QByteArray("A\nB\x1A" "E") << 2 << "12" << QList<int>{};
    QTest::newRow("very long line") << (QByteArray(100000, 'x') + "C" + QByteArray(100000, 'A') + "\r\nD")
                                    << 2 << "34" << QList<int>{};
    QTest::newRow("NUL bytes are ordinary") << QByteArray("\0B\0\nE", 5) << 2 << "25" << QList<int>{};
}

void TestAnswerKey::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    QFETCH(QString, answers);
    QFETCH(QList<int>, linesWithoutAnswer);

    const AnswerKeyFile::ReadResult key = AnswerKeyFile::parse(bytes);
    QCOMPARE(key.lineCount, lines);
    QCOMPARE(digits(key.answers), answers);
    QVERIFY(!key.error);
    // What the lesson editor reports to the teacher when the test is attached.
    const std::vector<int> missing = AnswerKeyFile::linesWithoutAnswer(key.answers);
    QCOMPARE(QList<int>(missing.begin(), missing.end()), linesWithoutAnswer);
}

void TestAnswerKey::parseInPieces()
{
    // A piece boundary can fall between CR and LF, or right before a Ctrl-Z.
    const QByteArray bytes("A\r\nBC\r\n\r\nD\x1A" "E\r\nE\r\n\x1A" "A\r\n");
    for (int size = 1; size <= 4; ++size) {
        AnswerKeyFile::Parser parser;
        for (int at = 0; at < bytes.size(); at += size)
            parser.feed(QByteArrayView(bytes).sliced(at, std::min<qsizetype>(size, bytes.size() - at)));
        parser.finish();
        QCOMPARE(parser.lineCount(), 5);
        QCOMPARE(digits(parser.answers()), QString("13045"));
    }
}

void TestAnswerKey::answersBeyondTheCapacityAreCountedNotKept()
{
    QByteArray bytes;
    for (int i = 0; i < AnswerKeyFile::Capacity + 5; ++i)
        bytes += "B\r\n";
    const AnswerKeyFile::ReadResult key = AnswerKeyFile::parse(bytes);
    QCOMPARE(key.lineCount, AnswerKeyFile::Capacity + 5);
    QCOMPARE(int(key.answers.size()), AnswerKeyFile::Capacity);
}

void TestAnswerKey::readsTheFile()
{
    TestCourse course(false);
    // Larger than one read of the file, so its pieces are joined.
    QByteArray bytes;
    for (int i = 0; i < 30000; ++i)
        bytes += "  E  \r\n";
    bytes += "A";
    course.writeFile("testy/otwet.txt", bytes);
    const AnswerKeyFile::ReadResult key = AnswerKeyFile::read(course.filePath("testy/otwet.txt"));
    QVERIFY(!key.error);
    QCOMPARE(key.lineCount, 30001);
    QCOMPARE(int(key.answers.size()), AnswerKeyFile::Capacity);
    QCOMPARE(int(key.answers.front()), 5);
}

void TestAnswerKey::openErrors_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");

    QTest::newRow("no such file in an existing folder") << "testy/nothing.txt" << "File not found";
    QTest::newRow("no such folder") << "missing/otwet.txt" << "Invalid filename";
    QTest::newRow("a file where a folder should be") << "testy/1.htm/otwet.txt" << "Invalid filename";
    QTest::newRow("a folder in place of the file") << "testy/otwet.txt" << "File access denied";
}

void TestAnswerKey::openErrors()
{
    QFETCH(QString, path);
    QFETCH(QString, message);

    TestCourse course(false);
    course.writeFile("testy/1.htm", "<html></html>");
    QVERIFY(QDir(course.path()).mkpath("testy/otwet.txt"));
    const AnswerKeyFile::ReadResult key = AnswerKeyFile::read(course.filePath(path));
    QCOMPARE(key.error.value_or(QString()), message);
    QCOMPARE(key.lineCount, 0);
}

void TestAnswerKey::tooManyOpenFiles()
{
    TestCourse course(false);
    course.writeFile("otwet.txt", "A\r\n");
    rlimit saved{};
    getrlimit(RLIMIT_NOFILE, &saved);
    rlimit none = saved;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_NOFILE, &none);
    const AnswerKeyFile::ReadResult key = AnswerKeyFile::read(course.filePath("otwet.txt"));
    setrlimit(RLIMIT_NOFILE, &saved);
    QCOMPARE(key.error.value_or(QString()), QString("Too many open files"));
}

void TestAnswerKey::readErrorKeepsTheLinesBeforeIt()
{
    int calls = 0;
    const AnswerKeyFile::ReadResult key = AnswerKeyFile::read([&calls](char *buffer, qint64 size) -> qint64 {
        if (++calls > 1)
            return -EIO;
        const QByteArray part("C\r\nD\r\nE"); // the last line is cut off by the failure
        Q_ASSERT(size >= part.size());
        memcpy(buffer, part.constData(), size_t(part.size()));
        return part.size();
    });
    QCOMPARE(key.error.value_or(QString()), QString("I/O error %1").arg(EIO));
    QCOMPARE(key.lineCount, 2);
    QCOMPARE(digits(key.answers), QString("34"));
}

void TestAnswerKey::errorMessages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing file") << ENOENT << true << "File not found";
    QTest::newRow("missing folder") << ENOENT << false << "Invalid filename";
    QTest::newRow("name too long") << ENAMETOOLONG << true << "Invalid filename";
    QTest::newRow("process out of file handles") << EMFILE << true << "Too many open files";
    QTest::newRow("system out of file handles") << ENFILE << true << "Too many open files";
    QTest::newRow("permission") << EACCES << true << "File access denied";
    QTest::newRow("operation not permitted") << EPERM << true << "File access denied";
    QTest::newRow("any other failure gives its code") << EIO << true << QString("I/O error %1").arg(EIO);
}

void TestAnswerKey::errorMessages()
{
    QFETCH(int, code);
    QFETCH(bool, folderExists);
    QFETCH(QString, message);
    QCOMPARE(AnswerKeyFile::errorMessage(code, folderExists), message);
}

QTEST_GUILESS_MAIN(TestAnswerKey)
#include "tst_answerkey.moc"
