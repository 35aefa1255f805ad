#include "PageViewer.h"

#include "LessonPaths.h"
#include "PageEngine.h"
#include "PageEngineLoader.h"

#include <QVBoxLayout>

#include <utility>

PageViewer::PageViewer(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

PageViewer::~PageViewer() = default;

void PageViewer::Navigate(const QString &path)
{
    const QString disk = LessonPaths::toDisk(path);
    if (m_view) {
        PageEngineLoader::engine()->navigate(m_view, disk);
        return;
    }
    m_waitingPage = disk;
    if (PageEngineLoader::attempted()) {
        makeView();
    } else if (!m_engineAwaited) {
        m_engineAwaited = true;
        PageEngineLoader::afterFirstPaint(this, [this] { makeView(); });
    }
}

QWebEngineView *PageViewer::view()
{
    makeView();
    return m_view;
}

bool PageViewer::makeView()
{
    if (m_view)
        return true;
    PageEngine *engine = PageEngineLoader::engine();
    if (!engine)
        return false;
    const PageEngine::View made = engine->createView(this);
    layout()->addWidget(made.widget);
    made.widget->show();
    m_view = made.view;
    if (!m_waitingPage.isEmpty())
        engine->navigate(m_view, std::exchange(m_waitingPage, QString()));
    return true;
}
