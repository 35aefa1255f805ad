#include "PageViewer.h"

#include "LessonPaths.h"
#include "MhtSchemeHandler.h"

#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineView>

PageViewer::PageViewer(QWidget *parent)
    : QWidget(parent)
    , m_view(new QWebEngineView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    // One handler per profile, owned by it; both viewers share the profile.
    QWebEngineProfile *profile = m_view->page()->profile();
    m_archives = const_cast<MhtSchemeHandler *>(
        static_cast<const MhtSchemeHandler *>(profile->urlSchemeHandler(MhtSchemeHandler::schemeName())));
    if (!m_archives) {
        m_archives = new MhtSchemeHandler(profile);
        profile->installUrlSchemeHandler(MhtSchemeHandler::schemeName(), m_archives);
    }
}

PageViewer::~PageViewer() = default;

void PageViewer::Navigate(const QString &path)
{
    const QString disk = LessonPaths::toDisk(path);
    if (QFileInfo(disk).suffix().compare(QLatin1String("mht"), Qt::CaseInsensitive) == 0) {
        // Archives WebEngine shows by itself stay with its own loader. The
        // handler keeps the archive parsed here for the page's own requests.
        const QString absolute = QFileInfo(disk).absoluteFilePath();
        const MhtArchive *archive = m_archives->archive(absolute);
        if (archive && !archive->loadsNatively()) {
            m_view->load(MhtSchemeHandler::pageUrl(absolute, *archive));
            return;
        }
    }
    m_view->load(QUrl::fromLocalFile(disk));
}
