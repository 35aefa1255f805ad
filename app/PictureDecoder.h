#pragma once

#include <QImage>
#include <QString>

// Decodes a lesson picture, choosing the decoder by the file's extension
// (letter case ignored): JPEG through libjpeg, bitmaps and icons through Qt's
// readers, Windows metafiles through libwmf (.wmf) and libemf2svg (.emf)
// rendered by Qt SVG. A name without an extension is sniffed by content.
namespace PictureDecoder {

enum class Kind { Jpeg, Bitmap, Icon, Wmf, Emf, Sniffed };

// The decoder a file name calls for; throws AppError
// "Unknown picture file extension (.xyz)" for any other extension.
Kind kindFor(const QString &path);

// The picture in the file; throws AppError with the decoder's own message
// when the file cannot be read or decoded. Metafiles are decoded by the
// picture reader, a child process (MetafileReader).
QImage load(const QString &path);

// The picture in a file's bytes, decoded in this process as `kind` calls for;
// throws as load() does.
QImage decode(Kind kind, const QByteArray &bytes);

// Decoders, each on the file's bytes; also used by the benchmark.
QImage decodeJpeg(const QByteArray &bytes);
QImage decodeWmf(const QByteArray &bytes);
QImage decodeEmf(const QByteArray &bytes);

} // namespace PictureDecoder
