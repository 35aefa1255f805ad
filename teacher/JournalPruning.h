#pragma once

#include "TableCursor.h"

// The two deletions of the journal tab. Each deletes the rows in one
// transaction: all of them, or on an engine error none, which is then thrown
// as AppError with the engine's text.
namespace JournalPruning {

// "Удалить записи без оценок": the journal's filter becomes `current` (normally
// journal.filter()) followed by ocenka=0 when the check box is checked, or
// ocenka=0 alone otherwise; the filter is switched on, every row in view is
// deleted, and the filter is switched off again.
// Afterwards: the switch is off, so the whole journal is in view with its
// first row current, although the filter conditions stay set to the ocenka=0
// filter until a box or the check box composes a new one (the check box itself
// is not touched and may still show checked). On an error the switch stays on
// and the journal shows the rows without a mark that were not deleted.
void deleteRowsWithoutMarks(TableCursor &journal, const RowFilter &current, bool checkBoxChecked);

// "Удалить все записи": deletes every row in view (only those the filter lets
// through while it is on, the whole journal while it is off). The filter is
// left as it was; the journal is empty in view afterwards.
void deleteAllInView(TableCursor &journal);

} // namespace JournalPruning
