#include "AppError.h"
#include "MdbImport.h"
#include "Messages.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "Unit2.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

// The import of a course folder made for the Windows program, against the
// fixture whose contents are known row by row.
class TestMdbImport final : public QObject
{
    Q_OBJECT

private slots:
    void importsEveryRowOfTheFixture();
    void leavesFoldersAlone_data();
    void leavesFoldersAlone();
    void refusesDamagedFiles_data();
    void refusesDamagedFiles();
    void readerFailures_data();
    void readerFailures();
    void startupImportsBeforeTheConnectionOpens();
    void startupWithDamagedFileRunsWithTablesClosed();
};

namespace {

QByteArray fixture()
{
    QFile file(QStringLiteral(KORVELTA_FIXTURES "/mdb/db1.mdb"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("fixture db1.mdb is missing");
    return file.readAll();
}

// Rows of a query on the course's db1.sqlite, values joined by '|', Null as "<null>".
QStringList rows(const QString &folder, const QString &sql)
{
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(QDir(folder).filePath(QStringLiteral("db1.sqlite")));
        if (!db.open())
            qFatal("db1.sqlite does not open");
        QSqlQuery query(db);
        if (!query.exec(sql))
            qFatal("check query failed: %s", qPrintable(sql));
        while (query.next()) {
            QStringList cells;
            for (int i = 0; i < query.record().count(); ++i)
                cells << (query.value(i).isNull() ? QStringLiteral("<null>") : query.value(i).toString());
            out << cells.join(QLatin1Char('|'));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return out;
}

QStringList folderEntries(const TestCourse &course)
{
    return QDir(course.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray withGarbage(QByteArray bytes, qsizetype from, qsizetype to)
{
    quint32 state = 12345;
    for (qsizetype i = from; i < to && i < bytes.size(); ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<char>(state >> 16);
    }
    return bytes;
}

} // namespace

void TestMdbImport::importsEveryRowOfTheFixture()
{
    TestCourse course(false);
    const QByteArray original = fixture();
    course.writeFile(QStringLiteral("db1.mdb"), original);

    const std::optional<QString> message = MdbImport().importFolder(course.path());
    QVERIFY(message);
    QCOMPARE(*message, QStringLiteral("Курс перенесён из db1.mdb в db1.sqlite: уроков — 3, записей журнала — 5, "
                                      "пароль найден."));

    const QStringList lessons = rows(course.path(), QStringLiteral("SELECT urok, htm, jpg, avi, test, mid, wav, exe "
                                                                   "FROM urok ORDER BY rowid"));
    QCOMPARE(lessons, QStringList({
        QStringLiteral("Урок 1. Введение в предмет|htm\\урок1.htm|jpg\\рис1.jpg|avi\\film1.avi|test\\тест1.txt|"
                       "mid\\music1.mid|wav\\звук1.wav|exe\\demo1.exe"),
        // The narration is an empty string, the others Null: the two stay apart.
        QStringLiteral("Урок 2. Ёжик и «кавычки» — тире|htm\\urok2.htm|<null>|<null>|test\\test2.txt|<null>||<null>"),
        QStringLiteral("Lesson 3 ASCII only|htm\\u3.htm|jpg\\u3.jpg|<null>|<null>|<null>|<null>|<null>"),
    }));
    QCOMPARE(rows(course.path(), QStringLiteral("SELECT count(*) FROM urok WHERE wav = ''")), QStringList{"1"});

    const QStringList journal = rows(course.path(), QStringLiteral("SELECT \"код\", urok, data, ocenka, typeof(ocenka), "
                                                                   "fio, gruppa FROM jurnal ORDER BY \"код\""));
    QCOMPARE(journal, QStringList({
        QStringLiteral("1|Урок 1. Введение в предмет|2005-03-14|5|integer|Иванов Иван Иванович|ПИ-21"),
        QStringLiteral("2|Урок 2. Ёжик и «кавычки» — тире|2006-12-31|3|integer|Петрова Анна|ЭК-3"),
        QStringLiteral("3|Урок 1. Введение в предмет|<null>|<null>|null|Сидоров|<null>"),
        QStringLiteral("4|Lesson 3 ASCII only|1899-12-30|0|integer|Smith John|GR-1"),
        QStringLiteral("5|Урок 1. Введение в предмет|1950-06-01|-1|integer|Щукин Ъ|ПИ-21"),
    }));
    // New journal rows continue after the imported identities.
    QCOMPARE(rows(course.path(), QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = 'jurnal'")),
             QStringList{"5"});

    const QStringList passwords = rows(course.path(), QStringLiteral("SELECT pas FROM pas ORDER BY rowid"));
    QCOMPARE(passwords.size(), 2);
    QCOMPARE(passwords.first(), QStringLiteral("пароль123"));

    QCOMPARE(course.readFile(QStringLiteral("db1.mdb")), original);
    QCOMPARE(folderEntries(course), QStringList({"db1.mdb", "db1.sqlite"}));
}

void TestMdbImport::leavesFoldersAlone_data()
{
    QTest::addColumn<bool>("withMdb");
    QTest::addColumn<bool>("withSqlite");

    QTest::newRow("db1.sqlite already there") << true << true;
    QTest::newRow("no db1.mdb") << false << false;
}

void TestMdbImport::leavesFoldersAlone()
{
    QFETCH(bool, withMdb);
    QFETCH(bool, withSqlite);

    TestCourse course(false);
    if (withMdb)
        course.writeFile(QStringLiteral("db1.mdb"), fixture());
    if (withSqlite)
        course.writeFile(QStringLiteral("db1.sqlite"), QByteArray("kept as it is"));
    const QStringList before = folderEntries(course);

    QVERIFY(!MdbImport().importFolder(course.path()));
    QCOMPARE(folderEntries(course), before);
    if (withSqlite)
        QCOMPARE(course.readFile(QStringLiteral("db1.sqlite")), QByteArray("kept as it is"));
}

void TestMdbImport::refusesDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QByteArray good = fixture();
    constexpr qsizetype page = 4096;
    QTest::newRow("cut inside a page") << good.left(good.size() - 1000) << "обрезан";
    QTest::newRow("cut at a page boundary") << good.left(20 * page) << "не читается таблица urok";
    QTest::newRow("empty file") << QByteArray() << "это не файл базы данных Access";
    QTest::newRow("garbage over the header") << withGarbage(good, 0, 64) << "это не файл базы данных Access";
    QTest::newRow("garbage after the header") << withGarbage(good, page, good.size()) << "не читается список таблиц";
    // Page 26 holds the lesson rows: the table declares 3 and none can be read.
    QTest::newRow("garbage over the lesson rows") << withGarbage(good, 26 * page, 27 * page)
                                                  << "в таблице urok прочитано строк: 0 из 3";
    QByteArray jet3 = good;
    jet3[0x14] = 0;
    QTest::newRow("older Jet 3 file") << jet3 << "Jet 4";
    QTest::newRow("text file") << QByteArray("urok;htm\nУрок 1;htm\\a.htm\n").leftJustified(2 * page, ' ')
                               << "это не файл базы данных Access";
}

void TestMdbImport::refusesDamagedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);

    TestCourse course(false);
    course.writeFile(QStringLiteral("db1.mdb"), bytes);
    try {
        MdbImport().importFolder(course.path());
        QFAIL("a damaged db1.mdb was imported");
    } catch (const AppError &error) {
        QVERIFY2(error.message().contains(course.filePath(QStringLiteral("db1.mdb"))), qPrintable(error.message()));
        QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
    }
    QCOMPARE(folderEntries(course), QStringList{"db1.mdb"});
    QCOMPARE(course.readFile(QStringLiteral("db1.mdb")), bytes);
}

void TestMdbImport::readerFailures_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("reason");

    QTest::newRow("reader crashes") << QByteArray("kill -SEGV $$\n") << "аварийно";
    QTest::newRow("reader crashes after output") << QByteArray("printf '[{\"name\":'; kill -ABRT $$\n") << "аварийно";
    QTest::newRow("reader gives a reason") << QByteArray("echo 'library noise' >&2; echo 'своя причина' >&2; exit 1\n")
                                           << "своя причина";
    QTest::newRow("reader output cut short") << QByteArray("printf '[{\"name\":\"urok\",'\n") << "неполные данные";
    QTest::newRow("reader gives no tables") << QByteArray("printf '[]'\n") << "не найдена таблица urok";
    QTest::newRow("reader hangs") << QByteArray("printf '[{'; sleep 30\n") << "не закончилось за отведённое время";
}

void TestMdbImport::readerFailures()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, reason);

    TestCourse course(false);
    course.writeFile(QStringLiteral("db1.mdb"), fixture());
    QTemporaryDir tools;
    const QString reader = QDir(tools.path()).filePath(QStringLiteral("reader.sh"));
    {
        QFile file(reader);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script);
    }
    QFile::setPermissions(reader, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    try {
        MdbImport(reader, 1000).importFolder(course.path());
        QFAIL("a failed reader gave an import");
    } catch (const AppError &error) {
        QVERIFY2(error.message().contains(course.filePath(QStringLiteral("db1.mdb"))), qPrintable(error.message()));
        QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
    }
    QCOMPARE(folderEntries(course), QStringList{"db1.mdb"});
}

void TestMdbImport::startupImportsBeforeTheConnectionOpens()
{
    TestCourse course(false);
    course.writeFile(QStringLiteral("db1.mdb"), fixture());
    Messages::Recorder recorder;

    TDataModule2 module(course.path());
    QCOMPARE(recorder.errors, QStringList());
    QCOMPARE(recorder.infos.size(), 1);
    QVERIFY(recorder.infos.first().contains(QStringLiteral("уроков — 3")));
    QVERIFY(module.Turok->isActive());
    QCOMPARE(module.Turok->value(QStringLiteral("urok")).toString(), QStringLiteral("Урок 1. Введение в предмет"));
    QCOMPARE(module.Tpas->value(QStringLiteral("pas")).toString(), QStringLiteral("пароль123"));
}

void TestMdbImport::startupWithDamagedFileRunsWithTablesClosed()
{
    TestCourse course(false);
    course.writeFile(QStringLiteral("db1.mdb"), fixture().left(20 * 4096));
    Messages::Recorder recorder;

    TDataModule2 module(course.path());
    QVERIFY(!recorder.errors.isEmpty());
    QVERIFY(recorder.errors.first().contains(course.filePath(QStringLiteral("db1.mdb"))));
    // Then the boxes of a database that cannot be opened: the connection, the three tables, Turok again.
    QCOMPARE(recorder.errors.size(), 6);
    QCOMPARE(recorder.infos, QStringList());
    QVERIFY(!module.Turok->isActive());
    QCOMPARE(folderEntries(course), QStringList{"db1.mdb"});
}

QTEST_MAIN(TestMdbImport)
#include "tst_mdbimport.moc"
