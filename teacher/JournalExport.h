#pragma once

#include "ExportFile.h"
#include "GridColumn.h"
#include "SheetFiles.h"

#include <QString>
#include <QVector>

class TableCursor;

// The journal rows in view, as its filter lets them through and in the order
// the journal shows them, written to a file for other programs: CSV and Excel
// with the grid's columns and titles, PDF as the printed report.
namespace JournalExport {

// The journal's columns as its grid shows them, in order, and as the files
// write them.
const QVector<GridColumn> &columns();

// Finishes a pending edit of the journal: posted when a value changed,
// cancelled otherwise, so that a file holds what the database holds.
void finishPendingEdit(TableCursor &journal);

// The journal's rows in view as a sheet, the grid's columns in its order.
ExportSheet sheetOf(const TableCursor &journal);

// Finishes a pending edit of the journal, then writes the rows in view in
// the format of the file's extension. Returns the number of rows written.
// AppError for an unknown extension or a file that cannot be written.
int write(TableCursor &journal, const QString &path);
int write(TableCursor &journal, const QString &path, ExportFile::Format format);

} // namespace JournalExport
