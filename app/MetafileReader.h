#pragma once

#include "PictureDecoder.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes Windows metafiles (.wmf, .emf) in a child process, the picture
// reader: a crash, a runaway allocation or an endless loop of the converting
// library on a damaged file ends the child, and the user gets a message.
class MetafileReader final
{
public:
    // How long the reader may take, and how much memory it may map.
    static constexpr int DefaultTimeoutMs = 30000;
    static constexpr qint64 AddressSpaceLimit = qint64(4) * 1024 * 1024 * 1024;

    // `readerProgram` is the reader to run; empty means the one beside this program.
    explicit MetafileReader(const QString &readerProgram = QString(), int timeoutMs = DefaultTimeoutMs);

    // Throws AppError with the decoder's message, or one saying that the
    // decoder stopped, ran out of memory or time.
    QImage decode(PictureDecoder::Kind kind, const QByteArray &bytes) const;

    // The picture as the reader hands it over: "KPIC", width and height as
    // 32-bit little-endian numbers, then the premultiplied ARGB rows.
    static QByteArray encode(const QImage &image);
    // The picture back; null when the bytes are not a whole picture.
    static QImage decodeOutput(const QByteArray &bytes);

private:
    QString m_readerProgram;
    int m_timeoutMs;
};
