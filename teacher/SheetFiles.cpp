#include "SheetFiles.h"

#include "AppError.h"
#include "ExportFile.h"

#include <QDate>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QFontMetricsF>
#include <QPainter>

#include <xlsxwriter.h>

#include <algorithm>
#include <numeric>

namespace SheetFiles {

namespace {

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

// What a cell shows, for widths and for the PDF.
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

} // namespace

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

namespace {

// Lays sheets out as ruled tables down A4 pages, the header row repeated at
// the top of every page a table continues on. Cells keep to one line; a text
// too long for its column is cut with an ellipsis.
class SheetPainter final
{
    Q_DISABLE_COPY_MOVE(SheetPainter)

public:
    explicit SheetPainter(QPdfWriter &writer)
        : m_writer(writer)
        , m_mm(writer.resolution() / 25.4)
        , m_width(writer.width())
        , m_height(writer.height())
        , m_title(font(12, true))
        , m_heading(font(10, true))
        , m_header(font(8, true))
        , m_cell(font(8, false))
        , m_note(font(8, false, true))
        , m_cellMetrics(m_cell, &writer)
        , m_headerMetrics(m_header, &writer)
    {
        if (!m_painter.begin(&writer))
            throw AppError(QStringLiteral("Printing could not be started"), QStringLiteral("EPrinter"));
        QPen pen(Qt::black, 0);
        pen.setCosmetic(true);
        m_painter.setPen(pen);
        m_rowHeight = m_cellMetrics.height() + 1.2 * m_mm;
        m_headerHeight = 2 * m_headerMetrics.height() + 1.2 * m_mm;
    }

    void title(const QString &text)
    {
        paragraph(m_title, text);
        m_y += 2 * m_mm;
    }

    void sheet(const ExportSheet &sheet)
    {
        const int columns = int(sheet.titles.size());
        columnLayout(sheet);
        // The sheet's name, its header and a first row stay together.
        if (m_y > 0 && m_y + paragraphHeight(m_heading, sheet.name) + m_headerHeight + m_rowHeight > m_height)
            newPage();
        paragraph(m_heading, sheet.name);
        m_y += m_mm;
        m_tableTop = m_y;
        headerRow(sheet);
        for (int row = 0; row < sheet.rowCount; ++row) {
            if (m_y + m_rowHeight > m_height) {
                closeTable(columns);
                newPage();
                m_tableTop = m_y;
                headerRow(sheet);
            }
            m_painter.setFont(m_cell);
            for (int c = 0; c < columns; ++c) {
                const QVariant value = sheet.cell(row, c);
                const bool number = isWholeNumber(value) || value.typeId() == QMetaType::Double;
                cellText(c, displayText(value), number, m_cellMetrics);
            }
            endRow(m_rowHeight);
        }
        closeTable(columns);
        m_y += 2 * m_mm;
        for (const QString &note : sheet.notes)
            paragraph(m_note, note);
        m_y += 4 * m_mm;
    }

    void finish()
    {
        m_painter.drawLines(m_rules);
        m_rules.clear();
        m_painter.end();
    }

private:
    static QFont font(double points, bool bold, bool italic = false)
    {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setStyleHint(QFont::SansSerif);
        f.setPointSizeF(points);
        f.setBold(bold);
        f.setItalic(italic);
        return f;
    }

    void newPage()
    {
        // A page's rules go out as one path: a long table stays small and quick.
        m_painter.drawLines(m_rules);
        m_rules.clear();
        m_writer.newPage();
        m_y = 0;
    }

    double paragraphHeight(const QFont &f, const QString &text) const
    {
        return QFontMetricsF(f, &m_writer).boundingRect(QRectF(0, 0, m_width, 1e9), Qt::TextWordWrap, text).height();
    }

    void paragraph(const QFont &f, const QString &text)
    {
        const double height = paragraphHeight(f, text);
        if (m_y > 0 && m_y + height > m_height)
            newPage();
        m_painter.setFont(f);
        m_painter.drawText(QRectF(0, m_y, m_width, height), Qt::TextWordWrap, text);
        m_y += height;
    }

    // Columns as wide as their widest text, stretched to the width of the
    // page; on a page too narrow the columns with long texts give way first,
    // down to the longest word of their titles.
    void columnLayout(const ExportSheet &sheet)
    {
        const int columns = int(sheet.titles.size());
        const double padding = 2 * Padding * m_mm;
        QVector<double> title(columns), natural(columns);
        for (int c = 0; c < columns; ++c) {
            natural[c] = m_headerMetrics.horizontalAdvance(sheet.titles.at(c)) + padding;
            for (const QString &word : sheet.titles.at(c).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                title[c] = std::max(title[c], m_headerMetrics.horizontalAdvance(word) + padding);
        }
        for (int row = 0; row < sheet.rowCount; ++row) {
            for (int c = 0; c < columns; ++c) {
                const QString text = displayText(sheet.cell(row, c));
                if (!text.isEmpty())
                    natural[c] = std::max(natural[c], m_cellMetrics.horizontalAdvance(oneLine(text)) + padding);
            }
        }
        const double naturalTotal = std::accumulate(natural.cbegin(), natural.cend(), 0.0);
        const double titleTotal = std::accumulate(title.cbegin(), title.cend(), 0.0);
        QVector<double> widths(columns);
        for (int c = 0; c < columns; ++c) {
            if (naturalTotal <= m_width || titleTotal >= m_width)
                widths[c] = natural[c] * m_width / naturalTotal;
            else
                widths[c] = title[c] + (natural[c] - title[c]) * (m_width - titleTotal) / (naturalTotal - titleTotal);
        }
        m_columnLeft.clear();
        double x = 0;
        for (int c = 0; c < columns; ++c) {
            m_columnLeft << x;
            x += widths[c];
        }
        m_columnLeft << m_width;
    }

    static QString oneLine(QString text)
    {
        return text.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    }

    void cellText(int column, const QString &text, bool alignRight, const QFontMetricsF &metrics)
    {
        if (text.isEmpty())
            return;
        const double pad = Padding * m_mm;
        const QRectF box(m_columnLeft.at(column) + pad, m_y, m_columnLeft.at(column + 1) - m_columnLeft.at(column) - 2 * pad,
                         m_rowHeight);
        QString shown = oneLine(text);
        if (metrics.horizontalAdvance(shown) > box.width())
            shown = metrics.elidedText(shown, Qt::ElideRight, box.width());
        m_painter.drawText(box, Qt::AlignVCenter | (alignRight ? Qt::AlignRight : Qt::AlignLeft), shown);
    }

    // Titles may take two lines, so that narrow columns of numbers keep them whole.
    void headerRow(const ExportSheet &sheet)
    {
        m_painter.setFont(m_header);
        m_rules.append(QLineF(0, m_y, m_width, m_y));
        const double pad = Padding * m_mm;
        for (int c = 0; c < sheet.titles.size(); ++c) {
            const QRectF box(m_columnLeft.at(c) + pad, m_y, m_columnLeft.at(c + 1) - m_columnLeft.at(c) - 2 * pad,
                             m_headerHeight);
            m_painter.drawText(box, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, sheet.titles.at(c));
        }
        endRow(m_headerHeight);
    }

    void endRow(double height)
    {
        m_y += height;
        m_rules.append(QLineF(0, m_y, m_width, m_y));
    }

    void closeTable(int columns)
    {
        for (int c = 0; c <= columns; ++c)
            m_rules.append(QLineF(m_columnLeft.at(c), m_tableTop, m_columnLeft.at(c), m_y));
    }

    static constexpr double Padding = 1.0; // mm inside each side of a cell

    QPdfWriter &m_writer;
    QPainter m_painter;
    double m_mm;
    double m_width;
    double m_height;
    double m_y = 0;
    double m_rowHeight = 0;
    double m_headerHeight = 0;
    double m_tableTop = 0;
    QVector<double> m_columnLeft;
    QVector<QLineF> m_rules;
    QFont m_title, m_heading, m_header, m_cell, m_note;
    QFontMetricsF m_cellMetrics;
    QFontMetricsF m_headerMetrics;
};

} // namespace

void writePdf(const QString &path, const QString &title, const QVector<ExportSheet> &sheets)
{
    ExportFile::save(path, [&](QIODevice &out) {
        QPdfWriter writer(&out);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                         QPageLayout::Millimeter));
        writer.setResolution(1200);
        writer.setTitle(title);
        SheetPainter painter(writer);
        painter.title(title);
        for (const ExportSheet &sheet : sheets)
            painter.sheet(sheet);
        painter.finish();
    });
}

} // namespace SheetFiles
