#pragma once

#include "TableCursor.h"

#include <QDate>
#include <QString>

// The journal's filter as the name and group boxes compose it: the conditions
// the cursor evaluates on its loaded rows, and the same filter written out as
// text for display and for anyone who reads the old filter expressions. The
// text is never handed to the database, so a name with an apostrophe filters
// like any other and typed text cannot widen a deletion.
class JournalFilterText final
{
public:
    JournalFilterText() = default;
    explicit JournalFilterText(const RowFilter &conditions);

    // What the boxes compose: the name condition, " and ", the group
    // condition; an empty box adds no condition.
    static JournalFilterText fromBoxes(const QString &name, const QString &group);

    // The filter of "Удалить записи без оценок": this filter followed by
    // "ocenka=0" when the check box is checked and this filter is not empty,
    // "ocenka=0" alone otherwise.
    JournalFilterText withoutMarks(bool checkBoxChecked) const;

    // This filter narrowed to the dates from `from` to `to`, both included;
    // an invalid date leaves that end open. Rows whose date cannot be read
    // fall outside any range.
    JournalFilterText withDates(const QDate &from, const QDate &to) const;

    // Sets the journal's filter to this one. It narrows the rows only while the
    // journal's filter switch is on; the switch is not touched. A change of the
    // filter in force posts a pending edit and moves to the first row in view;
    // the same filter again changes nothing.
    void applyTo(TableCursor &journal) const;

    const RowFilter &conditions() const { return m_conditions; }
    // e.g. "fio='Иванов' and gruppa='ПИ-21' and data>='2026-03-01'"; typed
    // texts appear unchanged.
    QString text() const;
    bool isEmpty() const { return m_conditions.isEmpty(); }

private:
    RowFilter m_conditions;
};
