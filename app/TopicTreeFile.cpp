#include "TopicTreeFile.h"

#include "AppError.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char CourseEncoding[] = "windows-1251";
const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);


// Splits at CR LF, a lone LF or a lone CR; a line end at the very end starts no line.
QVector<QByteArray> splitLines(const QByteArray &text)
{
    QVector<QByteArray> lines;
    int start = 0;
    const int n = text.size();
    int i = 0;
    while (i < n) {
        const char c = text.at(i);
        if (c == '\r' || c == '\n') {
            lines.append(text.mid(start, i - start));
            i += (c == '\r' && i + 1 < n && text.at(i + 1) == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString systemReason(const QFileDevice &file)
{
    return file.errorString();
}

} // namespace

TopicTreeFile::ReadResult TopicTreeFile::parse(const QByteArray &bytes)
{
    ReadResult result;
    QByteArray text = bytes;
    const bool utf8 = text.startsWith(Utf8Bom);
    if (utf8)
        text.remove(0, Utf8Bom.size());
    const int nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);

    // Each line decoded on its own: a broken sequence at the end of one line
    // does not reach into the next, and a U+FEFF is text wherever it stands
    // (the file's own mark is gone already).
    QStringDecoder decoder(utf8 ? "UTF-8" : CourseEncoding, QStringConverter::Flag::ConvertInitialBom);
    int previousLevel = -1;
    for (const QByteArray &raw : splitLines(text)) {
        int depth = 0;
        while (depth < raw.size() && (raw.at(depth) == '\t' || raw.at(depth) == ' '))
            ++depth;
        decoder.resetState();
        const QString nodeText = decoder.decode(raw.mid(depth));
        int level = depth;
        if (previousLevel < 0) {
            level = 0;
        } else if (depth > previousLevel + 1) {
            result.error = QStringLiteral("Invalid level (%1) for item \"%2\"").arg(depth).arg(nodeText);
            return result;
        }
        result.nodes.append({level, nodeText});
        previousLevel = level;
    }
    return result;
}

QByteArray TopicTreeFile::serialize(const QVector<TopicNode> &nodes)
{
    QString all;
    for (const TopicNode &node : nodes)
        all += QString(node.level, QLatin1Char('\t')) + node.text + QLatin1String("\r\n");

    QStringEncoder encoder(CourseEncoding);
    const QByteArray legacy = encoder.encode(all);
    QStringDecoder decoder(CourseEncoding);
    // Windows-1251 text that begins "п»ї" has the byte-order mark's bytes and
    // would be read back as UTF-8: such a tree is written as UTF-8 too.
    if (!encoder.hasError() && QString(decoder.decode(legacy)) == all && !legacy.startsWith(Utf8Bom))
        return legacy;
    return Utf8Bom + all.toUtf8();
}

TopicTreeFile::ReadResult TopicTreeFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw AppError(QStringLiteral("Cannot open file \"%1\". %2")
                           .arg(path, systemReason(file)),
                       ErrorKind::FileOpen);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw AppError(QStringLiteral("Cannot open file \"%1\". %2")
                           .arg(path, systemReason(file)),
                       ErrorKind::FileOpen);
    }
    return parse(bytes);
}

void TopicTreeFile::write(const QString &path, const QVector<TopicNode> &nodes)
{
    QSaveFile file(path);
    const QByteArray bytes = serialize(nodes);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2")
                           .arg(path, systemReason(file)),
                       ErrorKind::FileCreate);
    }
}
