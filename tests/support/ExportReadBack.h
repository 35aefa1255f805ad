#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Reads exported files back the way other programs would, without the
// program's own code: CSV by RFC 4180, a workbook by its XML, a PDF by poppler.
namespace ExportReadBack {

// The records of a CSV text: ';' between fields, CRLF (or LF) between
// records, quoted fields with doubled quotes. A byte-order mark must be
// stripped first.
QList<QStringList> parseCsv(const QString &text);

// One worksheet of an .xlsx file read from its XML: each row a list of cells,
// a text as QString, a number as double, a number in a date format as QDate,
// an empty cell as an invalid QVariant. Rows without cells are empty lists.
struct Sheet
{
    QString name;
    QList<QVariantList> rows;
    QList<double> columnWidths; // per column from the first; 0 when not set
    bool headerBold = false;    // every cell of the first row in a bold font
};
QList<Sheet> readXlsx(const QString &path);

// The text poppler finds in a PDF, in reading order.
QString pdfText(const QString &path);

} // namespace ExportReadBack
