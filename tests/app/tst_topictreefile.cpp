#include "AppError.h"
#include "TestCourse.h"
#include "TopicTreeFile.h"

#include <QStringEncoder>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// "level:text" per node, joined by " | ", so a table row reads like the tree.
QString shape(const QVector<TopicNode> &nodes)
{
    QStringList out;
    for (const TopicNode &node : nodes)
        out << QStringLiteral("%1:%2").arg(node.level).arg(node.text);
    return out.join(QLatin1String(" | "));
}

QByteArray cp1251(const QString &text)
{
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

} // namespace

class TestTopicTreeFile : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void serialize_data();
    void serialize();
    void roundTrip_data();
    void roundTrip();
    void missingFileMessage();
    void writeIntoMissingFolderFails();
    void failedWriteKeepsOldFile();
};

void TestTopicTreeFile::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("nodes");
    QTest::addColumn<QString>("error");

    QTest::newRow("empty file") << QByteArray() << QString() << QString();
    QTest::newRow("roots and children, CR LF")
        << QByteArray("A\r\n\tA1\r\n\t\tA1a\r\n\tA2\r\nB\r\n") << "0:A | 1:A1 | 2:A1a | 1:A2 | 0:B" << QString();
    QTest::newRow("back up two levels") << QByteArray("A\n\tB\n\t\tC\nD\n") << "0:A | 1:B | 2:C | 0:D" << QString();
    QTest::newRow("spaces and tabs count one level each")
        << QByteArray("A\n B\n\t C\n \tD\n") << "0:A | 1:B | 2:C | 2:D" << QString();
    QTest::newRow("lone LF, lone CR and CR LF all end lines")
        << QByteArray("A\nB\rC\r\nD") << "0:A | 0:B | 0:C | 0:D" << QString();
    QTest::newRow("LF then CR is two line ends") << QByteArray("A\n\rB") << "0:A | 0: | 0:B" << QString();
    QTest::newRow("last line needs no line end") << QByteArray("A\r\n\tB") << "0:A | 1:B" << QString();
    QTest::newRow("NUL ends the text") << QByteArray("A\r\n\tB\0\r\nC\r\n", 11) << "0:A | 1:B" << QString();
    QTest::newRow("empty line is a root wherever it stands")
        << QByteArray("A\n\tB\n\n\tC\n") << "0:A | 1:B | 0: | 1:C" << QString();
    QTest::newRow("blank-only line is an empty node at its depth")
        << QByteArray("A\n\t\nB\n") << "0:A | 1: | 0:B" << QString();
    QTest::newRow("trailing spaces stay in the text") << QByteArray("A  \n") << "0:A  " << QString();
    QTest::newRow("indented first line is still a root")
        << QByteArray("\t\tA\n\tB\n") << "0:A | 1:B" << QString();
    QTest::newRow("one tab on every line: a root and its children")
        << QByteArray("\tA\n\tB\n\tC\n") << "0:A | 1:B | 1:C" << QString();
    QTest::newRow("two tabs on every line stop at the second")
        << QByteArray("\t\tA\n\t\tB\n\t\tC\n") << "0:A" << "Invalid level (2) for item \"B\"";
    QTest::newRow("a jump of two levels keeps the nodes before it")
        << QByteArray("A\n\tB\n\t\t\tDeep\nC\n") << "0:A | 1:B" << "Invalid level (3) for item \"Deep\"";
    QTest::newRow("windows-1251 text")
        << cp1251(QStringLiteral("Электрический ток\r\n\tУрок 1\r\n")) << "0:Электрический ток | 1:Урок 1"
        << QString();
    QTest::newRow("UTF-8 with a byte-order mark")
        << QByteArray("\xEF\xBB\xBF\xE2\x98\x83 snow\r\n\t\xD0\xAF\r\n") << QString::fromUtf8("0:☃ snow | 1:Я")
        << QString();
}

void TestTopicTreeFile::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, nodes);
    QFETCH(QString, error);

    const TopicTreeFile::ReadResult result = TopicTreeFile::parse(bytes);
    QCOMPARE(shape(result.nodes), nodes);
    QCOMPARE(result.error.value_or(QString()), error);
}

void TestTopicTreeFile::serialize_data()
{
    QTest::addColumn<QVector<TopicNode>>("nodes");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty tree is an empty file") << QVector<TopicNode>() << QByteArray();
    QTest::newRow("tabs by level, CR LF after each")
        << QVector<TopicNode>{{0, "A"}, {1, "B"}, {2, "C"}, {0, "D"}} << QByteArray("A\r\n\tB\r\n\t\tC\r\nD\r\n");
    QTest::newRow("Cyrillic stays windows-1251")
        << QVector<TopicNode>{{0, QStringLiteral("Закон Ома")}} << cp1251(QStringLiteral("Закон Ома\r\n"));
    QTest::newRow("a text windows-1251 cannot hold turns the file to UTF-8")
        << QVector<TopicNode>{{0, QStringLiteral("Ток")}, {1, QStringLiteral("Ω и ☃")}}
        << QByteArray("\xEF\xBB\xBF") + QStringLiteral("Ток\r\n\tΩ и ☃\r\n").toUtf8();
}

void TestTopicTreeFile::serialize()
{
    QFETCH(QVector<TopicNode>, nodes);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TopicTreeFile::serialize(nodes), bytes);
}

void TestTopicTreeFile::roundTrip_data()
{
    QTest::addColumn<QVector<TopicNode>>("written");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("plain texts come back unchanged")
        << QVector<TopicNode>{{0, QStringLiteral("Ток")}, {1, QStringLiteral("Урок 1")}, {1, "x"}, {0, "B"}}
        << "0:Ток | 1:Урок 1 | 1:x | 0:B";
    QTest::newRow("a root beginning with a space lands under the node before")
        << QVector<TopicNode>{{0, "A"}, {0, " B"}} << "0:A | 1:B";
    QTest::newRow("a line break inside a text comes back as two nodes")
        << QVector<TopicNode>{{0, "A\nB"}} << "0:A | 0:B";
    QTest::newRow("unencodable text survives") << QVector<TopicNode>{{0, QStringLiteral("Σ ☃")}, {1, "y"}}
                                               << QString::fromUtf8("0:Σ ☃ | 1:y");
}

void TestTopicTreeFile::roundTrip()
{
    QFETCH(QVector<TopicNode>, written);
    QFETCH(QString, readBack);

    TestCourse course(false);
    TopicTreeFile::write(course.filePath("log.log"), written);
    const TopicTreeFile::ReadResult result = TopicTreeFile::read(course.filePath("log.log"));
    QVERIFY(!result.error);
    QCOMPARE(shape(result.nodes), readBack);
}

void TestTopicTreeFile::missingFileMessage()
{
    TestCourse course(false);
    const QString path = course.filePath("log.log");
    try {
        TopicTreeFile::read(path);
        QFAIL("reading a missing file must fail");
    } catch (const AppError &error) {
        QVERIFY2(error.message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(path)),
                 qPrintable(error.message()));
        QVERIFY(error.message().size() > QStringLiteral("Cannot open file \"%1\". ").arg(path).size());
    }
}

void TestTopicTreeFile::writeIntoMissingFolderFails()
{
    TestCourse course(false);
    const QString path = course.filePath("no-such-folder/log.log");
    QVERIFY_THROWS_EXCEPTION(AppError, TopicTreeFile::write(path, {{0, "A"}}));
    try {
        TopicTreeFile::write(path, {{0, "A"}});
    } catch (const AppError &error) {
        QVERIFY(error.message().startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path)));
    }
}

void TestTopicTreeFile::failedWriteKeepsOldFile()
{
    // A file-size limit makes the write run out of room, as on a full disk.
    TestCourse course(false);
    const QByteArray old("Old root\r\n\tOld child\r\n");
    course.writeFile("log.log", old);

    QVector<TopicNode> big;
    for (int i = 0; i < 2000; ++i)
        big.append({0, QStringLiteral("Topic number %1").arg(i)});

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    bool failed = false;
    try {
        TopicTreeFile::write(course.filePath("log.log"), big);
    } catch (const AppError &error) {
        failed = error.message().startsWith(QLatin1String("Cannot create file"));
    }
    setrlimit(RLIMIT_FSIZE, &saved);

    QVERIFY(failed);
    QCOMPARE(course.readFile("log.log"), old);
    QCOMPARE(QDir(course.path()).entryList(QDir::Files), QStringList{"log.log"});
}

QTEST_GUILESS_MAIN(TestTopicTreeFile)
#include "tst_topictreefile.moc"
