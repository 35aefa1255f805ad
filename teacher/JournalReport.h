#pragma once

#include <QPageLayout>
#include <QPageRanges>
#include <QString>
#include <QtGlobal>

class QPagedPaintDevice;
class TableCursor;

// The ruled journal report "Результаты учебной деятельности учащихся": a
// heading band once, a row band for every journal row in view and a closing
// band with the signature rule, laid out top to bottom in millimetres on
// A4 portrait pages with 10 mm margins. The heading is not repeated on later
// pages. An empty journal still gets one row band, showing only its rules.
//
// Producing the report walks the journal from its first row in view to its
// last: a pending edit is finished first (posted when a value changed) and
// afterwards the journal's current row is its last row in view.
class JournalReport final
{
    Q_DISABLE_COPY_MOVE(JournalReport)

public:
    JournalReport() = default;

    // The page the report is laid out for.
    static QPageLayout pageLayout();

    // Paints on whatever page the device is set to (the layout's top-left is
    // the paint area's top-left); only the pages in `pages` when it is not
    // empty. Returns the number of pages the whole report takes.
    int paint(TableCursor &journal, QPagedPaintDevice &device, const QPageRanges &pages = {}) const;
    // Writes the report to a PDF file laid out on pageLayout(), with no
    // printer involved; AppError when the file cannot be written (an earlier
    // file of that name is then left as it was).
    int renderToPdf(TableCursor &journal, const QString &path) const;
};
