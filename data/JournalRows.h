#pragma once

#include <QDate>
#include <QString>

class TableCursor;

// Visits and test results reach the journal through this one place, so both
// fill the row in the same order and cut texts to the journal's field widths.
namespace JournalRows {

inline constexpr int LessonWidth = 250;
inline constexpr int NameWidth = 50;
inline constexpr int GroupWidth = 50;

void append(TableCursor &journal, const QDate &date, const QString &fio, const QString &gruppa,
            const QString &urok, int ocenka);

} // namespace JournalRows
