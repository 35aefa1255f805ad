#pragma once

#include <QString>
#include <QWidget>

class MhtSchemeHandler;
class QWebEngineView;

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
    MhtSchemeHandler *m_archives; // owned by the view's profile
};
