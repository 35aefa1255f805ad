// The page viewer's engine module: everything that needs the web engine.
#include "MhtSchemeHandler.h"
#include "PageEngine.h"

#include <QFileInfo>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>

namespace {

class WebPageEngine final : public PageEngine
{
public:
    WebPageEngine()
    {
        // All course pages in one page process: they are the course's own
        // files, and a new process for each change between a page and an
        // archive costs a lesson click a tenth of a second and more memory.
        // Read when the engine starts, which is after this.
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!flags.contains("--renderer-process-limit")) {
            flags += flags.isEmpty() ? "" : " ";
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + "--renderer-process-limit=1");
        }
        // The engine takes schemes only before its first object exists.
        const QByteArray name = MhtSchemeHandler::schemeName();
        if (QWebEngineUrlScheme::schemeByName(name).name().isEmpty()) {
            QWebEngineUrlScheme scheme(name);
            scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
            // Local like file: pages, so that the pages it serves show no
            // warnings about insecure content; it reaches nothing outside the archive.
            scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
            QWebEngineUrlScheme::registerScheme(scheme);
        }
    }

    View createView(QWidget *parent) override
    {
        auto *view = new QWebEngineView(parent);
        archivesOf(view);
        return {view, view};
    }

    void navigate(QWebEngineView *view, const QString &diskPath) override
    {
        if (QFileInfo(diskPath).suffix().compare(QLatin1String("mht"), Qt::CaseInsensitive) == 0) {
            // Archives WebEngine shows by itself stay with its own loader. The
            // handler keeps the archive parsed here for the page's own requests.
            const QString absolute = QFileInfo(diskPath).absoluteFilePath();
            const MhtArchive *archive = archivesOf(view)->archive(absolute);
            if (archive && !archive->loadsNatively()) {
                view->load(MhtSchemeHandler::pageUrl(absolute, *archive));
                return;
            }
        }
        view->load(QUrl::fromLocalFile(diskPath));
    }

private:
    // One handler per profile, owned by it; both viewers share the profile.
    static MhtSchemeHandler *archivesOf(QWebEngineView *view)
    {
        QWebEngineProfile *profile = view->page()->profile();
        auto *handler = const_cast<MhtSchemeHandler *>(
            static_cast<const MhtSchemeHandler *>(profile->urlSchemeHandler(MhtSchemeHandler::schemeName())));
        if (!handler) {
            handler = new MhtSchemeHandler(profile);
            profile->installUrlSchemeHandler(MhtSchemeHandler::schemeName(), handler);
        }
        return handler;
    }
};

} // namespace

extern "C" Q_DECL_EXPORT PageEngine *korvelta_page_engine()
{
    static WebPageEngine engine;
    return &engine;
}
