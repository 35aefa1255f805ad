#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>

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

    // Parses the archive file; null when it cannot be read or is not one.
    static std::unique_ptr<MhtArchive> read(const QString &path);
    // Parses an archive's bytes; null when they are not one.
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
