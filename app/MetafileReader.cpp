#include "MetafileReader.h"

#include "AppError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

#include <sys/resource.h>

namespace {

constexpr char ReaderName[] = "korvelta-picture-reader";
const QByteArray Magic("KPIC");
constexpr int HeaderSize = 12;

QString defaultReader()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(QString::fromLatin1(ReaderName));
    if (QFileInfo(beside).isExecutable())
        return beside;
#ifdef KORVELTA_HELPERS_FROM_PROGRAM
    // An installed program keeps its helpers in a folder of their own, off PATH.
    const QString installed = QDir(programDir.filePath(QStringLiteral(KORVELTA_HELPERS_FROM_PROGRAM)))
                                  .filePath(QString::fromLatin1(ReaderName));
    if (QFileInfo(installed).isExecutable())
        return installed;
#endif
#ifdef KORVELTA_PICTURE_READER_BUILT
    // Tests and benchmarks run from their own folders of the build tree.
    return QStringLiteral(KORVELTA_PICTURE_READER_BUILT);
#else
    return beside;
#endif
}

[[noreturn]] void fail(const QString &message)
{
    throw AppError(message, ErrorKind::InvalidGraphic);
}

} // namespace

MetafileReader::MetafileReader(const QString &readerProgram, int timeoutMs)
    : m_readerProgram(readerProgram.isEmpty() ? defaultReader() : readerProgram)
    , m_timeoutMs(timeoutMs)
{
}

QImage MetafileReader::decode(PictureDecoder::Kind kind, const QByteArray &bytes) const
{
    const bool wmf = kind == PictureDecoder::Kind::Wmf;
    const QString what = wmf ? QStringLiteral("Windows metafile") : QStringLiteral("Enhanced metafile");
    QProcess reader;
    reader.setChildProcessModifier([] {
        // A damaged file must not let the library take all the machine's memory.
        const rlimit limit{rlim_t(AddressSpaceLimit), rlim_t(AddressSpaceLimit)};
        setrlimit(RLIMIT_AS, &limit);
    });
    reader.start(m_readerProgram, {wmf ? QStringLiteral("wmf") : QStringLiteral("emf")});
    if (!reader.waitForStarted())
        fail(QStringLiteral("%1: the picture reader %2 cannot be started").arg(what, m_readerProgram));
    reader.write(bytes);
    reader.closeWriteChannel();
    if (!reader.waitForFinished(m_timeoutMs)) {
        reader.kill();
        reader.waitForFinished();
        fail(QStringLiteral("%1: the file could not be decoded in %2 s").arg(what).arg(m_timeoutMs / 1000.0));
    }
    if (reader.exitStatus() == QProcess::CrashExit)
        fail(QStringLiteral("%1: the file is damaged (the decoder stopped on it)").arg(what));
    if (reader.exitCode() != 0) {
        // Warnings of the libraries come first; the reader's message is the last line.
        const QString message = QString::fromUtf8(reader.readAllStandardError()).trimmed().split(QLatin1Char('\n')).last();
        fail(message.isEmpty() ? QStringLiteral("%1: the file is not a metafile or is corrupted").arg(what) : message);
    }
    const QImage image = decodeOutput(reader.readAllStandardOutput());
    if (image.isNull())
        fail(QStringLiteral("%1: the picture reader gave an incomplete picture").arg(what));
    return image;
}

QByteArray MetafileReader::encode(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray bytes = Magic;
    bytes.resize(HeaderSize);
    qToLittleEndian<quint32>(quint32(argb.width()), bytes.data() + 4);
    qToLittleEndian<quint32>(quint32(argb.height()), bytes.data() + 8);
    const qsizetype row = qsizetype(argb.width()) * 4;
    bytes.reserve(HeaderSize + row * argb.height());
    for (int y = 0; y < argb.height(); ++y)
        bytes.append(reinterpret_cast<const char *>(argb.constScanLine(y)), row);
    return bytes;
}

QImage MetafileReader::decodeOutput(const QByteArray &bytes)
{
    if (bytes.size() < HeaderSize || !bytes.startsWith(Magic))
        return QImage();
    const quint32 width = qFromLittleEndian<quint32>(bytes.constData() + 4);
    const quint32 height = qFromLittleEndian<quint32>(bytes.constData() + 8);
    const qint64 row = qint64(width) * 4;
    if (width == 0 || height == 0 || width > 1u << 16 || height > 1u << 16
        || bytes.size() - HeaderSize != row * qint64(height))
        return QImage();
    QImage image(int(width), int(height), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return QImage();
    for (int y = 0; y < int(height); ++y)
        memcpy(image.scanLine(y), bytes.constData() + HeaderSize + row * y, size_t(row));
    return image;
}
