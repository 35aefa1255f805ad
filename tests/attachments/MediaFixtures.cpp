#include "MediaFixtures.h"

#include <QDataStream>
#include <QIODevice>

namespace MediaFixtures {

QByteArray wav(int milliseconds)
{
    const quint32 rate = 8000;
    const quint32 samples = rate * quint32(milliseconds) / 1000;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << rate << quint16(1) << quint16(8);
    out.writeRawData("data", 4);
    out << samples;
    bytes.append(QByteArray(int(samples), char(0x80))); // 8-bit silence
    return bytes;
}

QByteArray midi(int milliseconds)
{
    // 96 ticks a quarter note at the default 120 beats a minute: 192 ticks a second.
    quint32 ticks = quint32(milliseconds) * 192 / 1000;
    QByteArray delta;
    delta.prepend(char(ticks & 0x7F));
    while (ticks >>= 7)
        delta.prepend(char(0x80 | (ticks & 0x7F)));

    QByteArray track;
    track += QByteArray::fromHex("00C000");       // piano
    track += QByteArray::fromHex("00903C64");     // note on, middle C
    track += delta + QByteArray::fromHex("803C40"); // note off
    track += QByteArray::fromHex("00FF2F00");     // end of track

    QByteArray bytes = QByteArray("MThd") + QByteArray::fromHex("00000006000000010060") + "MTrk";
    const quint32 length = quint32(track.size());
    bytes += char(length >> 24);
    bytes += char(length >> 16);
    bytes += char(length >> 8);
    bytes += char(length);
    return bytes + track;
}

} // namespace MediaFixtures
