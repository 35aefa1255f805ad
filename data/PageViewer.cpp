#include "PageViewer.h"

#include "LessonPaths.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

PageViewer::PageViewer(QWidget *parent)
    : QWidget(parent)
    , m_view(new QWebEngineView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

PageViewer::~PageViewer() = default;

void PageViewer::Navigate(const QString &path)
{
    m_view->load(QUrl::fromLocalFile(LessonPaths::toDisk(path)));
}
