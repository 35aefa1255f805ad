#include "JournalPruning.h"

#include "JournalFilterText.h"

namespace JournalPruning {

void deleteRowsWithoutMarks(TableCursor &journal, const RowFilter &current, bool checkBoxChecked)
{
    JournalFilterText(current).withoutMarks(checkBoxChecked).applyTo(journal);
    journal.setFiltered(true);
    journal.first();
    journal.removeAllInView();
    journal.setFiltered(false);
}

void deleteAllInView(TableCursor &journal)
{
    journal.first();
    journal.removeAllInView();
}

} // namespace JournalPruning
