#include "JournalFilterText.h"

#include <QStringList>

namespace {

const QString NameColumn = QStringLiteral("fio");
const QString GroupColumn = QStringLiteral("gruppa");
const QString MarkColumn = QStringLiteral("ocenka");

QString conditionText(const FieldCondition &condition)
{
    // Numbers stand bare, everything else in quotes, as the expressions always read.
    const bool number = condition.value.typeId() == QMetaType::Int
        || condition.value.typeId() == QMetaType::LongLong;
    const QString value = number ? condition.value.toString()
                                 : QLatin1Char('\'') + condition.value.toString() + QLatin1Char('\'');
    return condition.column + QLatin1Char('=') + value;
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
