#include "SheetFiles.h"

#include "AppError.h"
#include "ExportFile.h"

#include <QDate>
#include <QIODevice>

#include <xlsxwriter.h>

#include <algorithm>

namespace SheetFiles {

QString decimalText(double value)
{
    return QString::number(value, 'f', 1);
}

bool isWholeNumber(const QVariant &value)
{
    const int type = value.typeId();
    return type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt
        || type == QMetaType::ULongLong;
}

QString displayText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    if (value.typeId() == QMetaType::Double)
        return decimalText(value.toDouble()).replace(QLatin1Char('.'), QLatin1Char(','));
    return value.toString();
}

QByteArray csvField(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return displayText(value).toUtf8();
    QString text = value.toString();
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        text.prepend(QLatin1Char('\''));
    static const QString needQuotes = QStringLiteral(";\"\r\n");
    if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return needQuotes.contains(c); }))
        text = QLatin1Char('"') + text.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return text.toUtf8();
}

void writeCsv(const QString &path, const QVector<ExportSheet> &sheets)
{
    ExportFile::save(path, [&sheets](QIODevice &out) {
        QByteArray buffer("\xEF\xBB\xBF");
        auto record = [&buffer](const QList<QByteArray> &fields) {
            for (int i = 0; i < fields.size(); ++i) {
                if (i > 0)
                    buffer += ';';
                buffer += fields.at(i);
            }
            buffer += "\r\n";
        };
        auto flush = [&buffer, &out] {
            if (out.write(buffer) != buffer.size())
                throw AppError(out.errorString());
            buffer.clear();
        };
        for (int s = 0; s < sheets.size(); ++s) {
            const ExportSheet &sheet = sheets.at(s);
            if (s > 0)
                buffer += "\r\n";
            QList<QByteArray> fields;
            for (const QString &title : sheet.titles)
                fields << csvField(title);
            record(fields);
            for (int row = 0; row < sheet.rowCount; ++row) {
                fields.clear();
                for (int column = 0; column < sheet.titles.size(); ++column)
                    fields << csvField(sheet.cell(row, column));
                record(fields);
                if (buffer.size() > (1 << 20))
                    flush();
            }
            if (!sheet.notes.isEmpty()) {
                buffer += "\r\n";
                for (const QString &note : sheet.notes)
                    record({csvField(note)});
            }
        }
        flush();
    });
}

namespace {

// The workbook is always closed, so libxlsxwriter's own temporary files go too.
class Workbook final
{
    Q_DISABLE_COPY_MOVE(Workbook)

public:
    explicit Workbook(const QString &path)
    {
        lxw_workbook_options options = {};
        // Rows go straight to disk as they are written: a large journal does
        // not have to fit in memory twice.
        options.constant_memory = LXW_TRUE;
        m_book = workbook_new_opt(path.toLocal8Bit().constData(), &options);
    }
    ~Workbook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    lxw_workbook *get() const { return m_book; }
    lxw_error close()
    {
        const lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        return error;
    }

private:
    lxw_workbook *m_book = nullptr;
};

// Widths in characters of the default font, as the workbook stores them.
constexpr double MinimumWidth = 6;
constexpr double MaximumWidth = 60;

double widthOf(const QString &text)
{
    qsizetype longest = 0;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n')))
        longest = std::max(longest, line.size());
    return double(longest) + 2;
}

} // namespace

void writeXlsx(const QString &path, const QVector<ExportSheet> &sheets)
{
    for (const ExportSheet &sheet : sheets) {
        // The header, the rows, an empty row and the notes must fit a worksheet.
        if (qint64(sheet.rowCount) + 2 + sheet.notes.size() > LXW_ROW_MAX) {
            throw AppError(ExportFile::cannotWrite(
                path, QStringLiteral("в листе книги Excel не больше %1 строк, а строк %2")
                          .arg(LXW_ROW_MAX - 1)
                          .arg(sheet.rowCount)));
        }
    }
    ExportFile::saveByName(path, [&](const QString &temporary) {
        Workbook book(temporary);
        if (!book.get())
            throw AppError(ExportFile::cannotWrite(path, QStringLiteral("книга Excel не создана")));
        lxw_format *bold = workbook_add_format(book.get());
        format_set_bold(bold);
        lxw_format *date = workbook_add_format(book.get());
        format_set_num_format(date, "dd.mm.yyyy");
        lxw_format *decimal = workbook_add_format(book.get());
        format_set_num_format(decimal, "0.0");
        lxw_format *note = workbook_add_format(book.get());
        format_set_italic(note);

        lxw_error failed = LXW_NO_ERROR;
        auto check = [&failed](lxw_error error) {
            if (error != LXW_NO_ERROR && failed == LXW_NO_ERROR)
                failed = error;
        };
        for (const ExportSheet &sheet : sheets) {
            lxw_worksheet *worksheet = workbook_add_worksheet(book.get(), sheet.name.toUtf8().constData());
            if (!worksheet)
                throw AppError(ExportFile::cannotWrite(path, QStringLiteral("лист «%1» не создан").arg(sheet.name)));
            const int columns = int(sheet.titles.size());
            QVector<double> widths(columns, MinimumWidth);
            for (int c = 0; c < columns; ++c) {
                check(worksheet_write_string(worksheet, 0, lxw_col_t(c), sheet.titles.at(c).toUtf8().constData(), bold));
                widths[c] = std::max(widths[c], widthOf(sheet.titles.at(c)));
            }
            for (int row = 0; row < sheet.rowCount; ++row) {
                const auto r = lxw_row_t(row + 1);
                for (int c = 0; c < columns; ++c) {
                    const QVariant value = sheet.cell(row, c);
                    const auto column = lxw_col_t(c);
                    if (value.isNull())
                        continue;
                    if (value.typeId() == QMetaType::QDate) {
                        const QDate day = value.toDate();
                        if (!day.isValid())
                            continue;
                        lxw_datetime when = {day.year(), day.month(), day.day(), 0, 0, 0.0};
                        check(worksheet_write_datetime(worksheet, r, column, &when, date));
                        widths[c] = std::max(widths[c], 12.0);
                    } else if (isWholeNumber(value)) {
                        check(worksheet_write_number(worksheet, r, column, value.toDouble(), nullptr));
                        widths[c] = std::max(widths[c], widthOf(value.toString()));
                    } else if (value.typeId() == QMetaType::Double) {
                        check(worksheet_write_number(worksheet, r, column, value.toDouble(), decimal));
                        widths[c] = std::max(widths[c], widthOf(decimalText(value.toDouble())));
                    } else {
                        const QString text = value.toString();
                        if (text.isEmpty())
                            continue;
                        check(worksheet_write_string(worksheet, r, column, text.toUtf8().constData(), nullptr));
                        widths[c] = std::max(widths[c], widthOf(text));
                    }
                }
            }
            // Rows go out in order: the filter's range is set before the notes below it.
            if (columns > 0)
                check(worksheet_autofilter(worksheet, 0, 0, lxw_row_t(sheet.rowCount), lxw_col_t(columns - 1)));
            for (int n = 0; n < sheet.notes.size(); ++n) {
                check(worksheet_write_string(worksheet, lxw_row_t(sheet.rowCount + 2 + n), 0,
                                             sheet.notes.at(n).toUtf8().constData(), note));
            }
            for (int c = 0; c < columns; ++c)
                check(worksheet_set_column(worksheet, lxw_col_t(c), lxw_col_t(c), std::min(widths[c], MaximumWidth), nullptr));
            worksheet_freeze_panes(worksheet, 1, 0);
        }
        const lxw_error closed = book.close();
        if (failed == LXW_NO_ERROR)
            failed = closed;
        if (failed != LXW_NO_ERROR)
            throw AppError(ExportFile::cannotWrite(path, QString::fromUtf8(lxw_strerror(failed))));
    });
}

} // namespace SheetFiles
