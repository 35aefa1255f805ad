#pragma once

#include "MhtArchive.h"

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

// Serves the parts of .mht archives under the korvelta-mht: scheme, so that
// the relative and file:///C:/ references of Word-saved pages find them.
class MhtSchemeHandler final : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MhtSchemeHandler)

public:
    static QByteArray schemeName();

    explicit MhtSchemeHandler(QObject *parent = nullptr);
    ~MhtSchemeHandler() override;

    // The address that shows the archive's page.
    static QUrl pageUrl(const QString &archivePath, const MhtArchive &archive);

    // What a request address names: the archive's path and the part's key
    // (empty for the page itself).
    struct Request
    {
        QString archivePath;
        QString key;
    };
    static Request parseRequest(const QUrl &url);

    void requestStarted(QWebEngineUrlRequestJob *job) override;

    // The archive at `path`, parsed once while the file stays unchanged: the
    // viewer asks before it shows a page, and the page then asks for itself
    // and for its pictures one by one. Null when the file is no archive.
    const MhtArchive *archive(const QString &path);

private:
    // The archive last asked for.
    QString m_cachedPath;
    QDateTime m_cachedTime;
    std::unique_ptr<MhtArchive> m_cached;
};
