#include "RowFilter.h"

#include <QDate>

#include <optional>

namespace RowFilters {

namespace {

bool isWholeNumber(const QVariant &value)
{
    const int type = value.typeId();
    return type == QMetaType::Int || type == QMetaType::LongLong;
}

} // namespace

bool sameValue(const QVariant &cell, const QVariant &wanted)
{
    if (cell.isNull() || wanted.isNull())
        return false;
    // Whole numbers compare as their text would, without making the text.
    if (isWholeNumber(cell) && isWholeNumber(wanted))
        return cell.toLongLong() == wanted.toLongLong();
    if (cell.typeId() == QMetaType::QDate || wanted.typeId() == QMetaType::QDate)
        return cell.toDate() == wanted.toDate();
    return cell.toString() == wanted.toString();
}

namespace {

// <0, 0 or >0 as `cell` orders before, with or after `bound`; nullopt when
// they cannot be ordered (a date column's cell that holds no valid date).
std::optional<int> order(const QVariant &cell, const QVariant &bound)
{
    if (cell.typeId() == QMetaType::QDate || bound.typeId() == QMetaType::QDate) {
        const QDate a = cell.toDate(), b = bound.toDate();
        if (!a.isValid() || !b.isValid())
            return std::nullopt;
        return a < b ? -1 : (a == b ? 0 : 1);
    }
    bool numberA = false, numberB = false;
    const double a = cell.toDouble(&numberA), b = bound.toDouble(&numberB);
    if (numberA && numberB)
        return a < b ? -1 : (a == b ? 0 : 1);
    return cell.toString().compare(bound.toString());
}

} // namespace

bool meets(const QVariant &cell, const FieldCondition &condition)
{
    if (condition.compare == FieldCondition::Compare::Equal)
        return sameValue(cell, condition.value);
    if (cell.isNull() || condition.value.isNull())
        return false;
    const std::optional<int> o = order(cell, condition.value);
    if (!o)
        return false;
    return condition.compare == FieldCondition::Compare::AtLeast ? *o >= 0 : *o <= 0;
}

} // namespace RowFilters
