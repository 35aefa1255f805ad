#include "Messages.h"
#include "TableCursor.h"
#include "TestCourse.h"
#include "Unit2.h"

#include <QtTest>

class TestDataModule : public QObject
{
    Q_OBJECT

private slots:
    void opensAllThreeTables();
    void missingDatabaseReportsFiveTimesAndRunsClosed_data();
    void missingDatabaseReportsFiveTimesAndRunsClosed();
};

void TestDataModule::opensAllThreeTables()
{
    TestCourse course;
    course.exec("INSERT INTO urok (urok) VALUES ('First')");
    course.exec("INSERT INTO pas (pas) VALUES ('secret')");
    Messages::Recorder messages;
    TDataModule2 module;
    QCOMPARE(messages.errors, QStringList());
    QVERIFY(module.Turok->isActive() && module.Tjurnal->isActive() && module.Tpas->isActive());
    QCOMPARE(module.Turok->value("urok").toString(), QString("First"));
    QCOMPARE(module.Tpas->value("pas").toString(), QString("secret"));
}

void TestDataModule::missingDatabaseReportsFiveTimesAndRunsClosed_data()
{
    QTest::addColumn<QByteArray>("fileContent");
    QTest::addColumn<bool>("createFile");

    QTest::newRow("no db1.sqlite") << QByteArray() << false;
    QTest::newRow("not a database") << QByteArray(4096, 'x') << true;
}

void TestDataModule::missingDatabaseReportsFiveTimesAndRunsClosed()
{
    QFETCH(QByteArray, fileContent);
    QFETCH(bool, createFile);

    TestCourse course(false);
    if (createFile)
        course.writeFile("db1.sqlite", fileContent);
    Messages::Recorder messages;
    TDataModule2 module;
    QCOMPARE(messages.errors.size(), 5);
    QVERIFY(!module.Turok->isActive());
    QVERIFY(!module.Tjurnal->isActive());
    QCOMPARE(QFile(course.filePath("db1.sqlite")).size(), qint64(fileContent.size()));
    if (!createFile)
        QVERIFY(!QFile::exists(course.filePath("db1.sqlite")));

    // Later commands fail with the data layer's text, prefixed by the table's name.
    messages.errors.clear();
    Messages::guarded([&] { module.Tjurnal->insert(); });
    QCOMPARE(messages.errors, QStringList{"Tjurnal: Cannot perform this operation on a closed dataset."});
}

QTEST_MAIN(TestDataModule)
#include "tst_datamodule.moc"
