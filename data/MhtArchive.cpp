#include "MhtArchive.h"

#include <QFile>
#include <QList>
#include <QUrl>

// GLib names a struct member "signals", which Qt defines as a keyword.
#undef signals
#include <gmime/gmime.h>
#define signals Q_SIGNALS

namespace {

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

QString lowerKey(const QString &key)
{
    return key.toLower();
}

// The key of a part location, resolved against the page's own location.
QString keyOf(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("file")) {
        // "file:page.htm" has a path without its slash; the served address needs one.
        const QString path = url.path();
        return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
    }
    return QLatin1Char('/') + scheme + QLatin1Char('/') + url.host() + url.path();
}

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

QByteArray partData(GMimePart *part)
{
    GMimeDataWrapper *content = g_mime_part_get_content(part);
    if (!content)
        return QByteArray();
    GPtr<GMimeStream> out(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(content, out.get());
    GByteArray *bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.get()));
    return QByteArray(reinterpret_cast<const char *>(bytes->data), static_cast<qsizetype>(bytes->len));
}

struct RawPart
{
    QByteArray location;
    QByteArray contentId;
    QByteArray mimeType;
    QByteArray charset;
    QByteArray data;
};

void collect(GMimeObject *object, QList<RawPart> &parts)
{
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart *multipart = GMIME_MULTIPART(object);
        for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i)
            collect(g_mime_multipart_get_part(multipart, i), parts);
        return;
    }
    if (!GMIME_IS_PART(object))
        return;
    GMimePart *part = GMIME_PART(object);
    RawPart raw;
    raw.location = QByteArray(g_mime_part_get_content_location(part)).trimmed();
    raw.contentId = QByteArray(g_mime_object_get_content_id(object));
    if (GMimeContentType *type = g_mime_object_get_content_type(object)) {
        gchar *mime = g_mime_content_type_get_mime_type(type);
        raw.mimeType = QByteArray(mime).toLower();
        g_free(mime);
        raw.charset = QByteArray(g_mime_content_type_get_parameter(type, "charset"));
    }
    raw.data = partData(part);
    parts.append(raw);
}

// Replaces the absolute references `prefix` that open an attribute value or
// a CSS url() with `replacement`.
void redirect(QByteArray &html, const QByteArray &prefix, const QByteArray &replacement)
{
    qsizetype at = 0;
    while ((at = html.indexOf(prefix, at)) >= 0) {
        const char before = at > 0 ? html.at(at - 1) : ' ';
        if (before == '"' || before == '\'' || before == '(' || before == '=') {
            html.replace(at, prefix.size(), replacement);
            at += replacement.size();
        } else {
            at += prefix.size();
        }
    }
}

} // namespace

std::unique_ptr<MhtArchive> MhtArchive::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return parse(file.readAll());
}

std::unique_ptr<MhtArchive> MhtArchive::parse(const QByteArray &bytes)
{
    // Counted by the library itself: each call after the first does nothing.
    g_mime_init();
    GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.constData(), static_cast<size_t>(bytes.size())));
    GPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    GPtr<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
    if (!message || !g_mime_message_get_mime_part(message.get()))
        return nullptr;

    GMimeObject *body = g_mime_message_get_mime_part(message.get());
    QByteArray start;
    if (GMIME_IS_MULTIPART(body)) {
        if (const char *value = g_mime_object_get_content_type_parameter(body, "start"))
            start = QByteArray(value).trimmed();
        if (start.startsWith('<') && start.endsWith('>'))
            start = start.mid(1, start.size() - 2);
    }
    QList<RawPart> parts;
    collect(body, parts);

    // The page: the part named by "start", else the first HTML part.
    qsizetype rootIndex = -1;
    for (qsizetype i = 0; i < parts.size() && rootIndex < 0; ++i) {
        if (!start.isEmpty() ? parts.at(i).contentId == start : parts.at(i).mimeType == "text/html")
            rootIndex = i;
    }
    if (rootIndex < 0)
        return nullptr;

    std::unique_ptr<MhtArchive> archive(new MhtArchive);
    // A page without a location of its own stands in a folder of its own,
    // where its relative references are looked for.
    QUrl rootUrl(QString::fromUtf8(parts.at(rootIndex).location));
    if (rootUrl.isEmpty())
        rootUrl = QUrl(QStringLiteral("file:///page.htm"));
    else if (rootUrl.isRelative())
        rootUrl = QUrl(QStringLiteral("file:///")).resolved(rootUrl);

    for (qsizetype i = 0; i < parts.size(); ++i) {
        const RawPart &raw = parts.at(i);
        QString key;
        if (!raw.location.isEmpty()) {
            const QUrl url = rootUrl.resolved(QUrl(QString::fromUtf8(raw.location)));
            key = keyOf(url);
            if (!isWebAddress(url))
                archive->m_native = false;
        } else if (!raw.contentId.isEmpty()) {
            key = QStringLiteral("/cid/") + QString::fromUtf8(raw.contentId);
        } else if (i == rootIndex) {
            key = keyOf(rootUrl);
        } else {
            continue;
        }
        if (i == rootIndex)
            archive->m_rootKey = key;
        // Of two parts with one location, the first is the one a browser shows.
        const QString lower = lowerKey(key);
        if (!archive->m_parts.contains(lower))
            archive->m_parts.insert(lower, {raw.mimeType, raw.charset, raw.data});
        if (!raw.contentId.isEmpty() && !raw.location.isEmpty())
            archive->m_parts.insert(lowerKey(QStringLiteral("/cid/") + QString::fromUtf8(raw.contentId)),
                                    {raw.mimeType, raw.charset, raw.data});
    }
    return archive;
}

const MhtArchive::Part *MhtArchive::part(const QString &key) const
{
    const auto it = m_parts.constFind(lowerKey(key));
    return it == m_parts.constEnd() ? nullptr : &it.value();
}

QByteArray MhtArchive::rootHtml(const QString &base) const
{
    const Part *root = part(m_rootKey);
    if (!root)
        return QByteArray();
    QByteArray html = root->data;
    const QByteArray prefix = base.toUtf8();
    redirect(html, QByteArrayLiteral("file:///"), prefix + '/');
    redirect(html, QByteArrayLiteral("cid:"), prefix + "/cid/");
    return html;
}
