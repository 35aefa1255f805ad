#include "MdbReader.h"

#include <QtTest>

// Access dates are read from their raw value; the library's own formatting
// goes wrong before 1900, where the fraction counts away from 1899-12-30.
class TestMdbDates final : public QObject
{
    Q_OBJECT

private slots:
    void dateText_data();
    void dateText();
};

void TestMdbDates::dateText_data()
{
    QTest::addColumn<double>("raw");
    QTest::addColumn<QString>("text");

    QTest::newRow("day zero") << 0.0 << "1899-12-30 00:00:00";
    QTest::newRow("noon of 1950-06-01") << 18415.5 << "1950-06-01 12:00:00";
    QTest::newRow("one second before midnight") << 39082.0 + 86399.0 / 86400.0 << "2006-12-31 23:59:59";
    QTest::newRow("day before day zero at six") << -1.25 << "1899-12-29 06:00:00";
    QTest::newRow("a date of 1800") << -36522.0 << "1800-01-01 00:00:00";
    QTest::newRow("rounded up to the next midnight") << 1.0 - 1e-9 << "1899-12-31 00:00:00";
}

void TestMdbDates::dateText()
{
    QFETCH(double, raw);
    QFETCH(QString, text);
    QCOMPARE(MdbReader::dateText(raw), text);
}

QTEST_GUILESS_MAIN(TestMdbDates)
#include "tst_mdbdates.moc"
