#include "MhtSchemeHandler.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QWebEngineUrlRequestJob>

QByteArray MhtSchemeHandler::schemeName()
{
    return QByteArrayLiteral("korvelta-mht");
}

MhtSchemeHandler::MhtSchemeHandler(QObject *parent)
    : QWebEngineUrlSchemeHandler(parent)
{
}

MhtSchemeHandler::~MhtSchemeHandler() = default;

namespace {

// korvelta-mht:/<archive path in hex><part key>: the archive's path is one
// segment, so that a page's relative references stay inside its archive.
QString archiveBase(const QString &archivePath)
{
    return QString::fromLatin1(MhtSchemeHandler::schemeName() + ":/" + QFile::encodeName(archivePath).toHex());
}

} // namespace

QUrl MhtSchemeHandler::pageUrl(const QString &archivePath, const MhtArchive &archive)
{
    return QUrl(archiveBase(archivePath) + QString::fromUtf8(QUrl::toPercentEncoding(archive.rootKey(), "/:")));
}

const MhtArchive *MhtSchemeHandler::archive(const QString &path)
{
    const QDateTime modified = QFileInfo(path).lastModified();
    if (!m_cached || m_cachedPath != path || m_cachedTime != modified) {
        m_cached = MhtArchive::read(path);
        m_cachedPath = path;
        m_cachedTime = modified;
    }
    return m_cached.get();
}

MhtSchemeHandler::Request MhtSchemeHandler::parseRequest(const QUrl &url)
{
    const QString path = url.path(QUrl::FullyEncoded);
    const qsizetype slash = path.indexOf(QLatin1Char('/'), 1);
    const QByteArray hex = (slash < 0 ? path.mid(1) : path.mid(1, slash - 1)).toLatin1();
    const QString key = slash < 0 ? QString() : QUrl::fromPercentEncoding(path.mid(slash).toUtf8());
    return {QFile::decodeName(QByteArray::fromHex(hex)), key};
}

void MhtSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job)
{
    const Request request = parseRequest(job->requestUrl());
    const QString &key = request.key;
    const MhtArchive *mht = archive(request.archivePath);
    if (!mht) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const bool page = key.isEmpty() || key.compare(mht->rootKey(), Qt::CaseInsensitive) == 0;
    const MhtArchive::Part *part = mht->part(page ? mht->rootKey() : key);
    if (!part) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto *buffer = new QBuffer(job);
    buffer->setData(page ? mht->rootHtml(archiveBase(m_cachedPath)) : part->data);
    QByteArray type = part->mimeType.isEmpty() ? QByteArrayLiteral("application/octet-stream") : part->mimeType;
    if (!part->charset.isEmpty())
        type += "; charset=" + part->charset;
    job->reply(type, buffer);
}
