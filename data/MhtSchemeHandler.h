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

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    const MhtArchive *archive(const QString &path);

    // The archive last served: a page asks for its pictures one by one.
    QString m_cachedPath;
    QDateTime m_cachedTime;
    std::unique_ptr<MhtArchive> m_cached;
};
