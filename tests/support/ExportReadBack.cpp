#include "ExportReadBack.h"

#include <QDate>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

namespace ExportReadBack {

QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
            fieldStarted = true;
        } else if (c == QLatin1Char(';')) {
            record << field;
            field.clear();
            fieldStarted = true;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            if (fieldStarted || !field.isEmpty() || !record.isEmpty())
                record << field;
            records << record;
            record.clear();
            field.clear();
            fieldStarted = false;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.isEmpty() || !record.isEmpty()) {
        record << field;
        records << record;
    }
    return records;
}

namespace {

QByteArray unzipped(const QString &archive, const QString &member)
{
    QProcess process;
    process.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, member});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}

// The workbook's escape for characters XML cannot hold: _xHHHH_.
QString unescapedCellText(const QString &text)
{
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    int from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        out += QChar(m.captured(1).toUShort(nullptr, 16));
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

// The text of every <t> inside the element the reader is on, up to its end.
QString textUntilEnd(QXmlStreamReader &xml)
{
    const QString element = xml.name().toString();
    QString text;
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isEndElement() && xml.name() == element)
            break;
        if (xml.isStartElement() && xml.name() == QLatin1String("t"))
            text += xml.readElementText();
    }
    return unescapedCellText(text);
}

int columnOf(const QString &reference)
{
    int column = 0;
    for (const QChar c : reference) {
        if (!c.isLetter())
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
    }
    return column - 1;
}

struct Styles
{
    QList<bool> isDate; // per cell format (xf)
    QList<bool> isBold;
};

Styles readStyles(const QByteArray &bytes)
{
    QHash<int, QString> formats;
    QList<int> xfFormats, xfFonts;
    QList<bool> boldFonts;
    QXmlStreamReader xml(bytes);
    bool inCellXfs = false, inFonts = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("numFmt"))
                formats.insert(xml.attributes().value("numFmtId").toInt(), xml.attributes().value("formatCode").toString());
            else if (xml.name() == QLatin1String("cellXfs"))
                inCellXfs = true;
            else if (xml.name() == QLatin1String("fonts"))
                inFonts = true;
            else if (inFonts && xml.name() == QLatin1String("font"))
                boldFonts << false;
            else if (inFonts && xml.name() == QLatin1String("b"))
                boldFonts.last() = true;
            else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                xfFormats << xml.attributes().value("numFmtId").toInt();
                xfFonts << xml.attributes().value("fontId").toInt();
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("cellXfs"))
                inCellXfs = false;
            else if (xml.name() == QLatin1String("fonts"))
                inFonts = false;
        }
    }
    Styles styles;
    for (int i = 0; i < xfFormats.size(); ++i) {
        const int id = xfFormats.at(i);
        const QString code = formats.value(id).toLower();
        styles.isDate << ((id >= 14 && id <= 17) || (code.contains(QLatin1Char('d')) && code.contains(QLatin1Char('y'))));
        styles.isBold << boldFonts.value(xfFonts.at(i), false);
    }
    return styles;
}

} // namespace

QList<Sheet> readXlsx(const QString &path)
{
    QStringList shared;
    {
        QXmlStreamReader xml(unzipped(path, QStringLiteral("xl/sharedStrings.xml")));
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si"))
                shared << textUntilEnd(xml);
        }
    }
    const Styles styles = readStyles(unzipped(path, QStringLiteral("xl/styles.xml")));

    QList<Sheet> sheets;
    {
        QXmlStreamReader xml(unzipped(path, QStringLiteral("xl/workbook.xml")));
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("sheet"))
                sheets.append({xml.attributes().value("name").toString(), {}, {}, false});
        }
    }
    for (int s = 0; s < sheets.size(); ++s) {
        Sheet &sheet = sheets[s];
        QXmlStreamReader xml(unzipped(path, QStringLiteral("xl/worksheets/sheet%1.xml").arg(s + 1)));
        bool headerBold = true;
        bool headerSeen = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("col")) {
                const int min = xml.attributes().value("min").toInt();
                const int max = xml.attributes().value("max").toInt();
                for (int c = min; c <= max; ++c) {
                    while (sheet.columnWidths.size() < c)
                        sheet.columnWidths << 0.0;
                    sheet.columnWidths[c - 1] = xml.attributes().value("width").toDouble();
                }
            } else if (xml.name() == QLatin1String("row")) {
                const int r = xml.attributes().value("r").toInt();
                while (sheet.rows.size() < r)
                    sheet.rows << QVariantList();
            } else if (xml.name() == QLatin1String("c")) {
                const QString reference = xml.attributes().value("r").toString();
                const QString type = xml.attributes().value("t").toString();
                const int style = xml.attributes().value("s").toInt();
                const int column = columnOf(reference);
                const int row = reference.mid(QString(reference).remove(QRegularExpression("[0-9]+$")).size()).toInt() - 1;
                QVariant value;
                if (type == QLatin1String("inlineStr")) {
                    value = textUntilEnd(xml);
                } else {
                    QString v;
                    while (xml.readNext() != QXmlStreamReader::Invalid) {
                        if (xml.isEndElement() && xml.name() == QLatin1String("c"))
                            break;
                        if (xml.isStartElement() && xml.name() == QLatin1String("v"))
                            v = xml.readElementText();
                    }
                    if (type == QLatin1String("s"))
                        value = shared.value(v.toInt());
                    else if (type == QLatin1String("str"))
                        value = unescapedCellText(v);
                    else if (!v.isEmpty() && styles.isDate.value(style))
                        value = QDate(1899, 12, 30).addDays(qint64(v.toDouble()));
                    else if (!v.isEmpty())
                        value = v.toDouble();
                }
                if (row == 0) {
                    headerSeen = true;
                    headerBold = headerBold && styles.isBold.value(style);
                }
                while (sheet.rows.size() <= row)
                    sheet.rows << QVariantList();
                QVariantList &cells = sheet.rows[row];
                while (cells.size() <= column)
                    cells << QVariant();
                cells[column] = value;
            }
        }
        sheet.headerBold = headerSeen && headerBold;
    }
    return sheets;
}

QString pdfText(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        qFatal("pdftotext failed on %s", qPrintable(path));
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace ExportReadBack
