#include "JournalReport.h"

#include "AppError.h"
#include "ExportFile.h"
#include "TableCursor.h"

#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <vector>

namespace {

const QString FontFamily = QStringLiteral("Liberation Sans"); // metric-compatible with Arial

constexpr double BandWidth = 190.0;
constexpr double HeadingHeight = 14.8;
constexpr double RowHeight = 6.1;
constexpr double ClosingHeight = 18.5;
// Where the table's vertical rules stand, across the heading and every row.
constexpr double ColumnRules[] = {0.1, 49.1, 80.3, 159.1, 170.3, 189.6};
// Allows for the rounding of sums of tenths when a band just fits a page.
constexpr double Tolerance = 1e-6;

enum class Band { Heading, Row, Closing };

struct PlacedBand
{
    int page;    // from 1
    double top;  // mm below the paint area's top
    Band band;
    int row;     // row in view for a row band, -1 for the empty journal's row band
};

// Bands go down the page one after another; one that does not fit starts the next page.
std::vector<PlacedBand> layOut(int rows, double pageHeight)
{
    std::vector<PlacedBand> placed;
    placed.reserve(size_t(rows) + 3);
    int page = 1;
    double y = 0.0;
    auto place = [&](Band band, double height, int row) {
        if (y > 0.0 && y + height > pageHeight + Tolerance) {
            ++page;
            y = 0.0;
        }
        placed.push_back({page, y, band, row});
        y += height;
    };
    place(Band::Heading, HeadingHeight, -1);
    if (rows == 0)
        place(Band::Row, RowHeight, -1);
    for (int row = 0; row < rows; ++row)
        place(Band::Row, RowHeight, row);
    place(Band::Closing, ClosingHeight, -1);
    return placed;
}

QFont reportFont(double points, bool bold)
{
    QFont font(FontFamily);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString cellText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDate)
        return QLocale::system().toString(value.toDate(), QLocale::ShortFormat);
    return value.toString();
}

// Paints in millimetres on one device: positions are given from the top-left
// of the band being painted.
class BandPainter final
{
    Q_DISABLE_COPY_MOVE(BandPainter)

public:
    BandPainter(QPagedPaintDevice &device, const QPointF &originMm)
        : m_device(device)
        , m_scale(device.logicalDpiY() / 25.4)
        , m_title(reportFont(14, true))
        , m_heading(reportFont(10, true))
        , m_small(reportFont(8, true))
        , m_field(reportFont(8, true))
        , m_fieldRegular(reportFont(8, false))
        , m_caption(reportFont(8, false))
    {
        if (!m_painter.begin(&device))
            throw AppError(QStringLiteral("Printing could not be started"), ErrorKind::Printer);
        // One cosmetic pixel on every device: the same hairline in preview, PDF and print.
        QPen pen(Qt::black, 0);
        pen.setCosmetic(true);
        m_painter.setPen(pen);
        m_painter.translate(px(originMm.x()), px(originMm.y()));
    }

    void newPage()
    {
        flushRules();
        m_device.newPage();
    }
    // The rules of a page go out as one path: a PDF of thousands of rows stays small and quick.
    void flushRules()
    {
        m_painter.drawLines(m_rules);
        m_rules.clear();
    }
    void setBandTop(double top) { m_top = top; }

    void hRule(double y, double x1, double x2)
    {
        m_rules.append(QLineF(px(x1), px(m_top + y), px(x2), px(m_top + y)));
    }
    void vRule(double x, double y1, double y2)
    {
        m_rules.append(QLineF(px(x), px(m_top + y1), px(x), px(m_top + y2)));
    }

    // A label as wide as its text, its top at `y`.
    void label(double x, double y, const QFont &font, const QString &text)
    {
        if (text.isEmpty())
            return;
        m_painter.setFont(font);
        const QFontMetricsF metrics(font, &m_device);
        m_painter.drawText(QPointF(px(x), px(m_top + y) + metrics.ascent()), text);
    }

    // A field of fixed size: the text wraps at word boundaries within the
    // width, and only the lines that fit wholly within the height are painted.
    void field(double x, double y, double width, double height, const QFont &font, const QString &text)
    {
        if (text.isEmpty())
            return;
        QTextLayout layout(text, font, &m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.setCacheEnabled(true);
        const double limit = px(height) + Tolerance;
        double used = 0.0;
        layout.beginLayout();
        QVector<QTextLine> fitting;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(px(width));
            line.setPosition(QPointF(0.0, used));
            used += line.height();
            if (used > limit)
                break;
            fitting.append(line);
        }
        layout.endLayout();
        const QPointF origin(px(x), px(m_top + y));
        for (const QTextLine &line : std::as_const(fitting))
            line.draw(&m_painter, origin);
    }

    const QFont &title() const { return m_title; }
    const QFont &heading() const { return m_heading; }
    const QFont &small() const { return m_small; }
    const QFont &fieldBold() const { return m_field; }
    const QFont &fieldRegular() const { return m_fieldRegular; }
    const QFont &caption() const { return m_caption; }

private:
    double px(double mm) const { return mm * m_scale; }

    QPagedPaintDevice &m_device;
    QPainter m_painter;
    double m_scale;
    double m_top = 0.0;
    QVector<QLineF> m_rules;
    QFont m_title, m_heading, m_small, m_field, m_fieldRegular, m_caption;
};

void paintHeading(BandPainter &p)
{
    p.label(31.8, 0.0, p.title(), QStringLiteral("Результаты учебной деятельности учащихся"));
    p.hRule(8.6, 0.0, BandWidth);
    p.hRule(14.7, 0.0, BandWidth);
    for (double x : ColumnRules) {
        if (x == 170.3)
            p.vRule(x, 8.7, 15.3);
        else
            p.vRule(x, 8.5, 15.1);
    }
    p.label(2.1, 9.8, p.heading(), QStringLiteral("ФИО  учащихся"));
    p.label(50.8, 9.8, p.heading(), QStringLiteral("Учебная группа"));
    p.label(81.8, 9.8, p.heading(), QStringLiteral("Тема учебного занятия"));
    p.label(159.3, 9.8, p.small(), QStringLiteral("Баллы"));
    p.label(176.2, 9.8, p.heading(), QStringLiteral("Дата"));
}

struct RowTexts
{
    QString fio, gruppa, urok, ocenka, data;
};

void paintRow(BandPainter &p, const RowTexts &row)
{
    constexpr double top = 0.5;
    constexpr double height = 4.5;
    p.field(1.3, top, 46.6, height, p.fieldBold(), row.fio);
    p.field(49.7, top, 28.8, height, p.fieldBold(), row.gruppa);
    p.field(81.5, top, 77.5, height, p.fieldRegular(), row.urok);
    p.field(159.8, top, 9.5, height, p.fieldBold(), row.ocenka);
    p.label(172.2, top, p.fieldRegular(), row.data);
    p.hRule(5.4, 0.0, BandWidth);
    for (double x : ColumnRules) {
        if (x == 159.1 || x == 170.3)
            p.vRule(x, -0.3, 5.6);
        else
            p.vRule(x, -0.5, 5.3);
    }
}

void paintClosing(BandPainter &p)
{
    p.hRule(11.4, 130.7, 190.2);
    p.label(147.6, 11.6, p.caption(), QStringLiteral("Роспись преподавателя"));
}

} // namespace

QPageLayout JournalReport::pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

int JournalReport::paint(TableCursor &journal, QPagedPaintDevice &device, const QPageRanges &pages) const
{
    // Finishes a pending edit before anything is read, so the report shows it.
    journal.first();
    const int rows = journal.recordCount();
    const int fio = journal.columnIndex(QStringLiteral("fio"));
    const int gruppa = journal.columnIndex(QStringLiteral("gruppa"));
    const int urok = journal.columnIndex(QStringLiteral("urok"));
    const int ocenka = journal.columnIndex(QStringLiteral("ocenka"));
    const int data = journal.columnIndex(QStringLiteral("data"));

    // On a full-page device the margins are ours to keep, to the hundredth of
    // a millimetre; otherwise the device's paint area begins at its margins
    // (the PDF engine rounds them to whole points).
    const QPageLayout page = device.pageLayout();
    const QMarginsF margins = page.margins(QPageLayout::Millimeter);
    const bool fullPage = page.mode() == QPageLayout::FullPageMode;
    const QPointF origin = fullPage ? QPointF(margins.left(), margins.top()) : QPointF();
    const double pageHeight = fullPage
        ? page.fullRect(QPageLayout::Millimeter).height() - margins.top() - margins.bottom()
        : page.paintRect(QPageLayout::Millimeter).height();
    const std::vector<PlacedBand> placed = layOut(rows, pageHeight);
    const int pageCount = placed.back().page;

    {
        BandPainter painter(device, origin);
        int painting = 0; // the page the painter is on, 0 before the first painted one
        for (const PlacedBand &band : placed) {
            if (!pages.isEmpty() && !pages.contains(band.page))
                continue;
            if (painting != 0 && band.page != painting)
                painter.newPage();
            painting = band.page;
            painter.setBandTop(band.top);
            switch (band.band) {
            case Band::Heading:
                paintHeading(painter);
                break;
            case Band::Row: {
                RowTexts texts;
                if (band.row >= 0) {
                    texts = {cellText(journal.valueAt(band.row, fio)), cellText(journal.valueAt(band.row, gruppa)),
                             cellText(journal.valueAt(band.row, urok)), cellText(journal.valueAt(band.row, ocenka)),
                             cellText(journal.valueAt(band.row, data))};
                }
                paintRow(painter, texts);
                break;
            }
            case Band::Closing:
                paintClosing(painter);
                break;
            }
        }
        painter.flushRules();
    }
    // The walk ends on the last row in view.
    if (rows > 0)
        journal.last();
    return pageCount;
}

int JournalReport::renderToPdf(TableCursor &journal, const QString &path) const
{
    int pages = 0;
    ExportFile::save(path, [&](QIODevice &out) {
        QPdfWriter writer(&out);
        QPageLayout layout = pageLayout();
        layout.setMode(QPageLayout::FullPageMode);
        writer.setPageLayout(layout);
        writer.setResolution(1200);
        writer.setTitle(QStringLiteral("Результаты учебной деятельности учащихся"));
        pages = paint(journal, writer);
    });
    return pages;
}
