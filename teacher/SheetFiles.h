#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

// One table an export writes: a header row of titles, then the rows. A cell
// is a QString (text), an int (whole number), a double (shown with one
// decimal), a QDate, or null (left empty).
struct ExportSheet
{
    QString name; // the sheet's tab in a workbook, the table's heading elsewhere
    QStringList titles;
    int rowCount = 0;
    std::function<QVariant(int row, int column)> cell;
    QStringList notes; // lines under the table
};

// Writers of tables for spreadsheet programs and for reading; each writes
// through ExportFile and throws AppError when the file cannot be written.
namespace SheetFiles {

// UTF-8 with a byte-order mark, ';' between fields, CRLF between records,
// fields quoted as RFC 4180 asks, dates as DD.MM.YYYY, decimals with a comma.
// Several sheets follow one another, an empty line apart, each with its header
// row; a sheet's notes follow it, one to a line, after an empty line.
void writeCsv(const QString &path, const QVector<ExportSheet> &sheets);
// One field as written to CSV. A text that a spreadsheet program would take
// for a formula (it begins with '=', '+', '-', '@', a tab or a CR) gets a
// leading apostrophe, so that opening the file runs nothing a learner typed.
QByteArray csvField(const QVariant &value);

// An Excel workbook, one worksheet per sheet: a bold header row that stays in
// view, real numbers and dates, an autofilter, column widths that fit the
// texts, the notes under the table.
void writeXlsx(const QString &path, const QVector<ExportSheet> &sheets);

// A PDF on A4 pages: the title, then each sheet as a ruled table under its
// name, with its notes.
void writePdf(const QString &path, const QString &title, const QVector<ExportSheet> &sheets);

// What a cell shows, for widths and for the PDF: other numbers than whole ones
// with one decimal and a comma, dates as DD.MM.YYYY, null as nothing.
QString displayText(const QVariant &value);
bool isWholeNumber(const QVariant &value);
// One decimal, with a point.
QString decimalText(double value);

} // namespace SheetFiles
