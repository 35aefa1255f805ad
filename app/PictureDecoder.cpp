#include "PictureDecoder.h"

#include "AppError.h"
#include "LessonPaths.h"
#include "MetafileReader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/svg.h>
#include <emf2svg.h>
}

namespace PictureDecoder {

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw AppError(message, ErrorKind::InvalidGraphic);
}

// ---- JPEG -------------------------------------------------------------------
//
// libjpeg reports a fatal error through error_exit, which must not return.
// Unwinding a C++ exception through the library's C frames is not safe, so the
// error exit long-jumps back into the two small C-style functions below; they
// hold no objects with destructors, and the decompress struct itself is owned
// by JpegDecompressor, which destroys it on every path.

struct JpegErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void jpegErrorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<JpegErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (a truncated file, say) are not fatal: the rest is padded, as other readers do.
extern "C" void jpegSilentMessage(j_common_ptr) {}

struct JpegDecompressor
{
    jpeg_decompress_struct info;
    JpegErrorManager error;
    bool created = false;

    JpegDecompressor()
    {
        std::memset(&info, 0, sizeof info);
        std::memset(&error, 0, sizeof error);
        info.err = jpeg_std_error(&error.pub);
        error.pub.error_exit = jpegErrorExit;
        error.pub.output_message = jpegSilentMessage;
    }
    ~JpegDecompressor()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }
    JpegDecompressor(const JpegDecompressor &) = delete;
    JpegDecompressor &operator=(const JpegDecompressor &) = delete;
};

// Reads the header and fixes the output format; false with error.message set on failure.
bool jpegStart(JpegDecompressor *d, const unsigned char *data, unsigned long size)
{
    if (setjmp(d->error.jump))
        return false;
    jpeg_create_decompress(&d->info);
    d->created = true;
    jpeg_mem_src(&d->info, data, size);
    jpeg_read_header(&d->info, TRUE);
    if (d->info.jpeg_color_space == JCS_CMYK || d->info.jpeg_color_space == JCS_YCCK)
        d->info.out_color_space = JCS_CMYK;
    else
        d->info.out_color_space = JCS_EXT_RGBX;
    jpeg_calc_output_dimensions(&d->info);
    return true;
}

// Decodes every scanline into rows of `stride` bytes, four bytes a pixel.
bool jpegDecode(JpegDecompressor *d, unsigned char *rows, long stride)
{
    if (setjmp(d->error.jump))
        return false;
    jpeg_start_decompress(&d->info);
    while (d->info.output_scanline < d->info.output_height) {
        JSAMPROW row = rows + stride * static_cast<long>(d->info.output_scanline);
        jpeg_read_scanlines(&d->info, &row, 1);
    }
    jpeg_finish_decompress(&d->info);
    return true;
}

// Adobe writes CMYK JPEGs inverted; the product with K gives the RGB value.
void cmykToRgbx(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        uchar *p = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, p += 4) {
            const int k = p[3];
            p[0] = static_cast<uchar>(p[0] * k / 255);
            p[1] = static_cast<uchar>(p[1] * k / 255);
            p[2] = static_cast<uchar>(p[2] * k / 255);
            p[3] = 255;
        }
    }
}

// A damaged header can claim a picture of gigabytes: refused, as Qt's own
// readers refuse one past their allocation limit.
void checkSize(qint64 width, qint64 height)
{
    const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    // Divided, not multiplied: the claimed sizes can overflow any product.
    if (width <= 0 || height <= 0 || (limitBytes > 0 && width > limitBytes / 4 / height))
        fail(QStringLiteral("The picture is too large or has no size (%1 x %2)").arg(width).arg(height));
}

// ---- metafiles --------------------------------------------------------------

QImage renderSvg(const QByteArray &svg, const QString &what)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        fail(QStringLiteral("%1: the converted drawing cannot be rendered").arg(what));
    QSize size = renderer.defaultSize();
    if (size.isEmpty())
        size = renderer.viewBoxF().size().toSize();
    if (size.isEmpty())
        fail(QStringLiteral("%1: the picture has no size").arg(what));
    checkSize(size.width(), size.height());
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        fail(QStringLiteral("Not enough memory for a picture of %1 x %2").arg(size.width()).arg(size.height()));
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

QString wmfErrorText(wmf_error_t error)
{
    switch (error) {
    case wmf_E_InsMem: return QStringLiteral("Windows metafile: out of memory");
    case wmf_E_BadFile: return QStringLiteral("Windows metafile: the file cannot be read");
    case wmf_E_BadFormat: return QStringLiteral("Windows metafile: the file is not a metafile or is corrupted");
    case wmf_E_EOF: return QStringLiteral("Windows metafile: unexpected end of file");
    case wmf_E_DeviceError: return QStringLiteral("Windows metafile: drawing failed");
    default: return QStringLiteral("Windows metafile: the file cannot be converted (error %1)").arg(int(error));
    }
}

// Owns a libwmf API instance for one conversion.
class WmfApi final
{
public:
    WmfApi()
    {
        wmfAPI_Options options;
        std::memset(&options, 0, sizeof options);
        options.function = wmf_svg_function;
        const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR
            | WMF_OPT_NO_DEBUG;
        const wmf_error_t error = wmf_api_create(&m_api, flags, &options);
        if (error != wmf_E_None) {
            // wmf_api_create leaves a half-made instance to destroy.
            if (m_api)
                wmf_api_destroy(m_api);
            m_api = nullptr;
            fail(wmfErrorText(error));
        }
    }
    ~WmfApi()
    {
        if (m_api)
            wmf_api_destroy(m_api);
    }
    WmfApi(const WmfApi &) = delete;
    WmfApi &operator=(const WmfApi &) = delete;

    wmfAPI *get() const { return m_api; }
    void check(wmf_error_t error) const
    {
        if (error != wmf_E_None)
            fail(wmfErrorText(error));
    }

private:
    wmfAPI *m_api = nullptr;
};

// Frees what libemf2svg hands back with malloc.
struct MallocText
{
    char *data = nullptr;
    ~MallocText() { std::free(data); }
};

} // namespace

Kind kindFor(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot == name.size() - 1)
        return Kind::Sniffed;
    const QString extension = name.mid(dot + 1);
    const QString lower = extension.toLower();
    if (lower == QLatin1String("jpg") || lower == QLatin1String("jpeg"))
        return Kind::Jpeg;
    if (lower == QLatin1String("bmp"))
        return Kind::Bitmap;
    if (lower == QLatin1String("ico"))
        return Kind::Icon;
    if (lower == QLatin1String("wmf"))
        return Kind::Wmf;
    if (lower == QLatin1String("emf"))
        return Kind::Emf;
    fail(QStringLiteral("Unknown picture file extension (.%1)").arg(extension));
}

QImage decodeJpeg(const QByteArray &bytes)
{
    JpegDecompressor d;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    if (!jpegStart(&d, data, static_cast<unsigned long>(bytes.size())))
        fail(QString::fromLocal8Bit(d.error.message));
    checkSize(d.info.output_width, d.info.output_height);
    QImage image(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height),
                 QImage::Format_RGBX8888);
    if (image.isNull())
        fail(QStringLiteral("Not enough memory for a picture of %1 x %2")
                 .arg(d.info.output_width)
                 .arg(d.info.output_height));
    if (!jpegDecode(&d, image.bits(), static_cast<long>(image.bytesPerLine())))
        fail(QString::fromLocal8Bit(d.error.message));
    if (d.info.out_color_space == JCS_CMYK)
        cmykToRgbx(image);
    return image;
}

QImage decodeWmf(const QByteArray &bytes)
{
    WmfApi api;
    wmfAPI *API = api.get();
    QByteArray input = bytes; // libwmf wants a writable buffer
    api.check(wmf_mem_open(API, reinterpret_cast<unsigned char *>(input.data()), static_cast<long>(input.size())));
    wmfD_Rect bbox;
    api.check(wmf_scan(API, 0, &bbox));
    unsigned int width = 0;
    unsigned int height = 0;
    api.check(wmf_display_size(API, &width, &height, 96, 96));
    if (width == 0 || height == 0)
        fail(wmfErrorText(wmf_E_BadFormat));

    wmf_svg_t *device = WMF_SVG_GetData(API);
    device->bbox = bbox;
    device->width = width;
    device->height = height;
    device->flags |= WMF_SVG_INLINE_IMAGES;
    device->out = wmf_stream_create(API, nullptr);
    if (!device->out)
        fail(wmfErrorText(wmf_E_InsMem));
    const wmf_error_t played = wmf_play(API, 0, &bbox);
    char *text = nullptr;
    unsigned long length = 0;
    // The memory stream's buffer belongs to the API instance and goes with it.
    wmf_stream_destroy(API, device->out, &text, &length);
    device->out = nullptr;
    api.check(played);
    wmf_mem_close(API);
    if (!text || length == 0)
        fail(wmfErrorText(wmf_E_DeviceError));
    return renderSvg(QByteArray(text, static_cast<qsizetype>(length)), QStringLiteral("Windows metafile"));
}

QImage decodeEmf(const QByteArray &bytes)
{
    generatorOptions options;
    std::memset(&options, 0, sizeof options);
    options.svgDelimiter = true;
    QByteArray input = bytes; // the converter wants a writable buffer
    MallocText svg;
    size_t length = 0;
    const int ok = emf2svg(input.data(), static_cast<size_t>(input.size()), &svg.data, &length, &options);
    if (!ok || !svg.data || length == 0)
        fail(QStringLiteral("Enhanced metafile: the file is not a metafile or is corrupted"));
    return renderSvg(QByteArray(svg.data, static_cast<qsizetype>(length)), QStringLiteral("Enhanced metafile"));
}

QImage decode(Kind kind, const QByteArray &bytes)
{
    switch (kind) {
    case Kind::Jpeg: return decodeJpeg(bytes);
    case Kind::Wmf: return decodeWmf(bytes);
    case Kind::Emf: return decodeEmf(bytes);
    case Kind::Bitmap:
    case Kind::Icon:
    case Kind::Sniffed: break;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, kind == Kind::Bitmap ? QByteArray("bmp")
                                 : kind == Kind::Icon ? QByteArray("ico")
                                                      : QByteArray());
    // Only a name without an extension may be recognised by its content.
    reader.setDecideFormatFromContent(kind == Kind::Sniffed);
    QImage image = reader.read();
    if (image.isNull())
        fail(reader.errorString());
    return image;
}

QImage load(const QString &path)
{
    const Kind kind = kindFor(path);
    QFile file(LessonPaths::toDisk(path));
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    // The metafile libraries are not trusted with a damaged file in this process.
    if (kind == Kind::Wmf || kind == Kind::Emf)
        return MetafileReader().decode(kind, file.readAll());
    return decode(kind, file.readAll());
}

} // namespace PictureDecoder
