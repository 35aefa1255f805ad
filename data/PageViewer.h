#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <QWidget>

#include <memory>

class QWebEngineView;

// A web archive (.mht) as Word and Internet Explorer save it: the page and
// the files it shows, each part named by its location or content id.
class MhtArchive final
{
    Q_DISABLE_COPY_MOVE(MhtArchive)

public:
    struct Part
    {
        QByteArray mimeType;
        QByteArray charset;
        QByteArray data;
    };

    // Parses the archive; null when it is not one.
    static std::unique_ptr<MhtArchive> read(const QString &path);
    static std::unique_ptr<MhtArchive> parse(const QByteArray &bytes);

    // Whether WebEngine's own loader shows every part: true when the parts
    // are located by http(s) addresses or content ids only. Word names its
    // parts by file:///C:/ and relative locations, which it refuses.
    bool loadsNatively() const { return m_native; }

    // The page's part key, in the form the keys of rootKey()/part() use:
    // "/C:/dir/page.htm" for file locations, "/http/host/path" for web ones,
    // "/cid/ID" for parts known only by content id.
    QString rootKey() const { return m_rootKey; }
    const Part *part(const QString &key) const;

    // The page's HTML with its absolute file: and cid: references pointing
    // into `base` (the served address of the archive's folder of parts).
    QByteArray rootHtml(const QString &base) const;

private:
    MhtArchive() = default;

    QHash<QString, Part> m_parts; // by lower-case key: Windows names ignore case
    QString m_rootKey;
    bool m_native = true;
};

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

private:
    const MhtArchive *archive(const QString &path);

    // The archive last served: a page asks for its pictures one by one.
    QString m_cachedPath;
    QDateTime m_cachedTime;
    std::unique_ptr<MhtArchive> m_cached;
};

// The embedded page viewer: shows a local .htm, .html or .mht file named by a
// backslash path built from the application folder.
class PageViewer final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageViewer)

public:
    explicit PageViewer(QWidget *parent = nullptr);
    ~PageViewer() override;

    // Returns at once; the page loads in the background.
    void Navigate(const QString &path);

    QWebEngineView *view() const { return m_view; }

private:
    QWebEngineView *m_view;
};
