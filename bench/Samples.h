#pragma once

#include "BenchCases.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <algorithm>

// The times of one figure over several runs. A run that failed is noted and
// left out, so that the figure says so instead of counting a bad number.
struct Samples
{
    QList<double> values;
    bool failed = false;

    void add(double value)
    {
        if (value < 0)
            failed = true;
        else
            values.append(value);
    }
    double median() const
    {
        if (values.isEmpty())
            return -1;
        QList<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const qsizetype n = sorted.size();
        return n % 2 ? sorted.at(n / 2) : (sorted.at(n / 2 - 1) + sorted.at(n / 2)) / 2;
    }
    double fastest() const { return values.isEmpty() ? -1 : *std::min_element(values.begin(), values.end()); }
};

// Median and fastest of the runs, as two figures; the fastest stands under the median.
inline void reportSamples(const BenchReport &report, const QString &name, const Samples &samples,
                          const QString &target, const QString &unit = QStringLiteral("ms"))
{
    const QString suffix = samples.failed ? QStringLiteral(" (SOME RUNS FAILED)") : QString();
    report({name + suffix, samples.median(), unit, target});
    const QString indent(name.size() - QStringView(name).trimmed().size() + 2, QLatin1Char(' '));
    report({indent + QStringLiteral("fastest of %1").arg(samples.values.size()), samples.fastest(), unit, QString()});
}

inline double ratio(double ours, double bare)
{
    return ours >= 0 && bare > 0 ? ours / bare : -1;
}
