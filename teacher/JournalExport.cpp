#include "JournalExport.h"

#include "AppError.h"
#include "JournalReport.h"
#include "TableCursor.h"

namespace JournalExport {

namespace {

struct Column
{
    const char *column;
    const char *title;
};

// As the journal grid shows them.
const Column GridColumns[] = {
    {"fio", "ФИО  учащихся"}, {"gruppa", "Учебная группа"}, {"urok", "Тема занятия"},
    {"ocenka", "Баллы"},      {"data", "Дата занятия"},
};

} // namespace

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
    for (const Column &c : GridColumns) {
        sheet.titles << QString::fromUtf8(c.title);
        columns << journal.columnIndex(QString::fromLatin1(c.column));
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
                       QStringLiteral("EDatabaseError"));
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
