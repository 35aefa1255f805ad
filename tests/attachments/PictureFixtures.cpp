#include "PictureFixtures.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>
#include <QPainter>

namespace PictureFixtures {

namespace {

QImage halves(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, size.width() / 2, size.height(), Qt::red);
    painter.fillRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height(), Qt::blue);
    return image;
}

class LittleEndian
{
public:
    LittleEndian() : m_stream(&m_bytes, QIODevice::WriteOnly) { m_stream.setByteOrder(QDataStream::LittleEndian); }
    LittleEndian &w(quint16 v) { m_stream << v; return *this; }
    LittleEndian &d(quint32 v) { m_stream << v; return *this; }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    QDataStream m_stream;
};

} // namespace

QByteArray image(const char *format, QSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    halves(size).save(&buffer, format);
    return bytes;
}

QByteArray wmf(QSize size)
{
    const quint16 w = quint16(size.width());
    const quint16 h = quint16(size.height());
    LittleEndian records;
    records.d(5).w(0x020B).w(0).w(0);                         // SETWINDOWORG y, x
    records.d(5).w(0x020C).w(h).w(w);                         // SETWINDOWEXT y, x
    records.d(8).w(0x02FA).w(5).w(0).w(0).d(0);               // CREATEPENINDIRECT null pen -> object 0
    records.d(4).w(0x012D).w(0);                              // SELECTOBJECT 0
    records.d(7).w(0x02FC).w(0).d(0x000000FF).w(0);           // CREATEBRUSHINDIRECT red -> object 1
    records.d(4).w(0x012D).w(1);                              // SELECTOBJECT 1
    records.d(7).w(0x041B).w(h).w(w / 2).w(0).w(0);           // RECTANGLE bottom, right, top, left
    records.d(4).w(0x01F0).w(1);                              // DELETEOBJECT 1
    records.d(7).w(0x02FC).w(0).d(0x00FF0000).w(0);           // CREATEBRUSHINDIRECT blue -> object 1
    records.d(4).w(0x012D).w(1);                              // SELECTOBJECT 1
    records.d(7).w(0x041B).w(h).w(w).w(0).w(w / 2);           // RECTANGLE
    records.d(3).w(0x0000);                                   // EOF
    const QByteArray body = records.bytes();

    LittleEndian placeable;
    placeable.d(0x9AC6CDD7).w(0).w(0).w(0).w(w).w(h).w(96).d(0);
    QByteArray head = placeable.bytes();
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= quint16(quint8(head[2 * i]) | quint8(head[2 * i + 1]) << 8);
    LittleEndian file;
    file.w(checksum);
    LittleEndian header;
    header.w(1).w(9).w(0x0300).d(quint32((18 + body.size()) / 2)).w(2).d(8).w(0);
    return head + file.bytes() + header.bytes() + body;
}

QByteArray emf(QSize size)
{
    const quint32 w = quint32(size.width());
    const quint32 h = quint32(size.height());
    // A device of 1000 x 1000 pixels on 250 x 250 mm: 0.25 mm a pixel, 25 frame units.
    LittleEndian records;
    records.d(39).d(24).d(1).d(0).d(0x000000FF).d(0);         // CREATEBRUSHINDIRECT red -> 1
    records.d(37).d(12).d(1);                                  // SELECTOBJECT 1
    records.d(37).d(12).d(0x80000008);                         // SELECTOBJECT NULL_PEN
    records.d(43).d(24).d(0).d(0).d(w / 2).d(h);               // RECTANGLE
    records.d(39).d(24).d(2).d(0).d(0x00FF0000).d(0);         // CREATEBRUSHINDIRECT blue -> 2
    records.d(37).d(12).d(2);                                  // SELECTOBJECT 2
    records.d(43).d(24).d(w / 2).d(0).d(w).d(h);               // RECTANGLE
    records.d(14).d(20).d(0).d(16).d(20);                      // EOF
    const QByteArray body = records.bytes();

    const quint32 headerSize = 108;
    LittleEndian header;
    header.d(1).d(headerSize);
    header.d(0).d(0).d(w).d(h);                                // bounds, device pixels
    header.d(0).d(0).d(w * 25).d(h * 25);                      // frame, 0.01 mm
    header.d(0x464D4520).d(0x10000).d(quint32(headerSize + body.size())).d(9);
    header.w(3).w(0).d(0).d(0).d(0);
    header.d(1000).d(1000).d(250).d(250);                      // device pixels, millimetres
    header.d(0).d(0).d(0);                                     // no pixel format, no OpenGL
    header.d(250000).d(250000);                                // micrometres
    return header.bytes() + body;
}

} // namespace PictureFixtures
