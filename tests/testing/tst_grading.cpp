#include "AppError.h"
#include "Grading.h"

#include <QtTest>

class TestGrading : public QObject
{
    Q_OBJECT

private slots:
    void roundHalfEven_data();
    void roundHalfEven();
    void percent_data();
    void percent();
    void markOfFortySlots_data();
    void markOfFortySlots();
    void nothingToGrade();
};

void TestGrading::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");

    QTest::newRow("half goes down to even") << 2.5 << 2;
    QTest::newRow("half goes up to even") << 3.5 << 4;
    QTest::newRow("half of zero") << 0.5 << 0;
    QTest::newRow("below half") << 7.49 << 7;
    QTest::newRow("above half") << 7.51 << 8;
    QTest::newRow("whole number") << 50.0 << 50;
    QTest::newRow("negative half to even") << -2.5 << -2;
}

void TestGrading::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(Grading::roundHalfEven(value), rounded);
}

void TestGrading::percent_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("percent");

    const std::pair<int, int> rows[] = {{0, 0}, {1, 2}, {3, 8}, {4, 10}, {5, 12}, {7, 18}, {20, 50},
                                        {28, 70}, {36, 90}, {39, 98}, {40, 100}};
    for (const auto &[right, percent] : rows)
        QTest::addRow("%d of 40", right) << right << percent;
}

void TestGrading::percent()
{
    QFETCH(int, right);
    QFETCH(int, percent);
    QCOMPARE(Grading::percent(right, 40), percent);
}

void TestGrading::markOfFortySlots_data()
{
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("mark");

    // Right answers from..to give the mark.
    const int bands[][3] = {{0, 4, 0}, {5, 11, 1}, {12, 20, 2}, {21, 27, 3}, {28, 36, 4}, {37, 40, 5}};
    for (const auto &band : bands) {
        for (int right = band[0]; right <= band[1]; ++right)
            QTest::addRow("%d of 40", right) << right << band[2];
    }
}

void TestGrading::markOfFortySlots()
{
    QFETCH(int, right);
    QFETCH(int, mark);
    QCOMPARE(Grading::mark(right, 40), mark);
}

void TestGrading::nothingToGrade()
{
    for (const auto &grade : {Grading::percent, Grading::mark}) {
        try {
            grade(0, 0);
            QFAIL("a total of 0 was graded");
        } catch (const AppError &error) {
            QCOMPARE(error.message(), QString("Invalid floating point operation"));
        }
    }
}

QTEST_GUILESS_MAIN(TestGrading)
#include "tst_grading.moc"
