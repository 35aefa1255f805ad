#include "JournalExport.h"

#include "AppError.h"
#include "JournalReport.h"
#include "TableCursor.h"

namespace JournalExport {

const QVector<GridColumn> &columns()
{
    // Names and groups may be corrected in the grid; the rest is the record.
    static const QVector<GridColumn> journalColumns = {
        {QStringLiteral("fio"), QStringLiteral("ФИО  учащихся"), 218, true},
        {QStringLiteral("gruppa"), QStringLiteral("Учебная группа"), 116, true},
        {QStringLiteral("urok"), QStringLiteral("Тема занятия"), 267, false},
        {QStringLiteral("ocenka"), QStringLiteral("Баллы"), 43, false},
        {QStringLiteral("data"), QStringLiteral("Дата занятия"), 87, false},
    };
    return journalColumns;
}

void finishPendingEdit(TableCursor &journal)
{
    if (!journal.isEditing())
        return;
    if (journal.isModified())
        journal.post();
    else
        journal.cancel();
}

ExportSheet sheetOf(const TableCursor &journal)
{
    ExportSheet sheet;
    sheet.name = QStringLiteral("Журнал");
    QVector<int> columns;
    for (const GridColumn &c : JournalExport::columns()) {
        sheet.titles << c.title;
        columns << journal.columnIndex(c.column);
    }
    sheet.rowCount = journal.recordCount();
    sheet.cell = [&journal, columns](int row, int column) { return journal.valueAt(row, columns.at(column)); };
    return sheet;
}

int write(TableCursor &journal, const QString &path)
{
    const std::optional<ExportFile::Format> format = ExportFile::formatOf(path);
    if (!format) {
        throw AppError(ExportFile::cannotWrite(path, QStringLiteral("выгрузить журнал можно в файл .csv, .xlsx или .pdf")));
    }
    return write(journal, path, *format);
}

int write(TableCursor &journal, const QString &path, ExportFile::Format format)
{
    if (!journal.isActive())
        throw AppError(journal.objectName() + QStringLiteral(": Cannot perform this operation on a closed dataset"),
                       ErrorKind::Database);
    finishPendingEdit(journal);
    switch (format) {
    case ExportFile::Format::Csv:
        SheetFiles::writeCsv(path, {sheetOf(journal)});
        break;
    case ExportFile::Format::Xlsx:
        SheetFiles::writeXlsx(path, {sheetOf(journal)});
        break;
    case ExportFile::Format::Pdf:
        JournalReport().renderToPdf(journal, path);
        break;
    }
    return journal.recordCount();
}

} // namespace JournalExport
