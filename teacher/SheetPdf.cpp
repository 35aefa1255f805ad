// The PDF writer of SheetFiles: sheets as ruled tables on A4 pages.
#include "SheetFiles.h"

#include "AppError.h"
#include "ExportFile.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <numeric>

namespace SheetFiles {

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
            throw AppError(QStringLiteral("Printing could not be started"), ErrorKind::Printer);
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
