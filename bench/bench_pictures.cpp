#include "BenchCases.h"

#include "MetafileReader.h"
#include "PictureDecoder.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>

namespace {

// A photograph-like 4000 x 3000 picture: gradients and detail, so the
// entropy decoder has real work, saved at quality 90.
QByteArray bigJpeg()
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 4000, 3000);
    gradient.setColorAt(0, QColor(20, 60, 160));
    gradient.setColorAt(0.5, QColor(230, 200, 90));
    gradient.setColorAt(1, QColor(40, 140, 60));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QPen(Qt::black, 3));
    for (int i = 0; i < 400; ++i)
        painter.drawEllipse(QPoint((i * 397) % 4000, (i * 233) % 3000), 20 + i % 90, 15 + i % 70);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "jpg", 90);
    return bytes;
}

void pictureJpeg(const BenchReport &report)
{
    const QByteArray bytes = bigJpeg();
    const double ours = fastestMs(5, [&] { PictureDecoder::decodeJpeg(bytes); });
    const double qt = fastestMs(5, [&] {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "jpg");
        reader.read();
    });
    report({"decode a 4000 x 3000 JPEG through libjpeg", ours, "ms", ""});
    report({"decode the same JPEG through QImageReader", qt, "ms", ""});
    report({"QImageReader time / libjpeg time", qt / ours, "x", ""});
}

// A small placeable Windows metafile (32 x 16, two filled halves): its
// decoding costs little, so the figure is what the reader child adds.
const char SmallWmf[] =
    "\xd7\xcd\xc6\x9a\x00\x00\x00\x00\x00\x00\x20\x00\x10\x00\x60\x00"
    "\x00\x00\x00\x00\x41\x57\x01\x00\x09\x00\x00\x03\x4a\x00\x00\x00"
    "\x02\x00\x08\x00\x00\x00\x00\x00\x05\x00\x00\x00\x0b\x02\x00\x00"
    "\x00\x00\x05\x00\x00\x00\x0c\x02\x10\x00\x20\x00\x08\x00\x00\x00"
    "\xfa\x02\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x04\x00\x00\x00"
    "\x2d\x01\x00\x00\x07\x00\x00\x00\xfc\x02\x00\x00\xff\x00\x00\x00"
    "\x00\x00\x04\x00\x00\x00\x2d\x01\x01\x00\x07\x00\x00\x00\x1b\x04"
    "\x10\x00\x10\x00\x00\x00\x00\x00\x04\x00\x00\x00\xf0\x01\x01\x00"
    "\x07\x00\x00\x00\xfc\x02\x00\x00\x00\x00\xff\x00\x00\x00\x04\x00"
    "\x00\x00\x2d\x01\x01\x00\x07\x00\x00\x00\x1b\x04\x10\x00\x20\x00"
    "\x00\x00\x10\x00\x03\x00\x00\x00\x00\x00";

void pictureMetafile(const BenchReport &report)
{
    const QByteArray bytes(SmallWmf, sizeof SmallWmf - 1);
    const double inProcess = fastestMs(5, [&] { PictureDecoder::decode(PictureDecoder::Kind::Wmf, bytes); });
    const double child = fastestMs(5, [&] { MetafileReader().decode(PictureDecoder::Kind::Wmf, bytes); });
    report({"decode a small WMF in this process (libwmf, Qt SVG)", inProcess, "ms", ""});
    report({"decode the same WMF in the picture reader child", child, "ms", ""});
}

} // namespace

std::vector<BenchCase> pictureBenchCases()
{
    return {{"picture-jpeg", pictureJpeg}, {"picture-metafile", pictureMetafile}};
}
