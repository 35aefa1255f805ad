#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

// One condition of a row filter: the column's value equals the given value,
// or lies on the given side of it (dates by date, numbers by number, bounds
// included). A Null cell meets no condition.
struct FieldCondition
{
    enum class Compare { Equal, AtLeast, AtMost };

    QString column;
    QVariant value;
    Compare compare = Compare::Equal;
};
using RowFilter = QVector<FieldCondition>;

namespace RowFilters {

// Whether a cell holds the wanted value: dates compare as dates, everything
// else as text; Null equals nothing.
bool sameValue(const QVariant &cell, const QVariant &wanted);
// Whether a cell meets one condition of a filter.
bool meets(const QVariant &cell, const FieldCondition &condition);

} // namespace RowFilters
