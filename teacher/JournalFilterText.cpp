#include "JournalFilterText.h"

#include <QStringList>

namespace {

const QString NameColumn = QStringLiteral("fio");
const QString GroupColumn = QStringLiteral("gruppa");
const QString MarkColumn = QStringLiteral("ocenka");
const QString DateColumn = QStringLiteral("data");

QLatin1String relationText(FieldCondition::Compare compare)
{
    switch (compare) {
    case FieldCondition::Compare::AtLeast:
        return QLatin1String(">=");
    case FieldCondition::Compare::AtMost:
        return QLatin1String("<=");
    case FieldCondition::Compare::Equal:
        break;
    }
    return QLatin1String("=");
}

QString conditionText(const FieldCondition &condition)
{
    // Numbers stand bare, everything else in quotes, as the expressions always read.
    const bool number = condition.value.typeId() == QMetaType::Int
        || condition.value.typeId() == QMetaType::LongLong;
    const QString value = number ? condition.value.toString()
                                 : QLatin1Char('\'') + condition.value.toString() + QLatin1Char('\'');
    return condition.column + relationText(condition.compare) + value;
}

} // namespace

JournalFilterText::JournalFilterText(const RowFilter &conditions)
    : m_conditions(conditions)
{
}

JournalFilterText JournalFilterText::fromBoxes(const QString &name, const QString &group)
{
    RowFilter conditions;
    if (!name.isEmpty())
        conditions.append({NameColumn, name});
    if (!group.isEmpty())
        conditions.append({GroupColumn, group});
    return JournalFilterText(conditions);
}

JournalFilterText JournalFilterText::withoutMarks(bool checkBoxChecked) const
{
    RowFilter conditions = checkBoxChecked ? m_conditions : RowFilter();
    conditions.append({MarkColumn, 0});
    return JournalFilterText(conditions);
}

JournalFilterText JournalFilterText::withDates(const QDate &from, const QDate &to) const
{
    RowFilter conditions = m_conditions;
    if (from.isValid())
        conditions.append({DateColumn, from, FieldCondition::Compare::AtLeast});
    if (to.isValid())
        conditions.append({DateColumn, to, FieldCondition::Compare::AtMost});
    return JournalFilterText(conditions);
}

void JournalFilterText::applyTo(TableCursor &journal) const
{
    journal.setFilter(m_conditions);
}

QString JournalFilterText::text() const
{
    QStringList parts;
    for (const FieldCondition &condition : m_conditions)
        parts << conditionText(condition);
    return parts.join(QLatin1String(" and "));
}
