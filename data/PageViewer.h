#pragma once

#include <QString>
#include <QWidget>

class QWebEngineView;

// The embedded page viewer: shows a local .htm, .html or .mht file named by a
// backslash path built from the application folder. Its engine is loaded
// after the program's first window has painted itself; a page asked for
// before then shows as soon as the engine is there.
class PageViewer final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageViewer)

public:
    explicit PageViewer(QWidget *parent = nullptr);
    ~PageViewer() override;

    // Returns at once; the page loads in the background.
    void Navigate(const QString &path);

    // The engine's view, made now (the engine loaded first) when it was not
    // yet; null when the engine's module cannot be loaded.
    QWebEngineView *view();

private:
    bool makeView();

    QWebEngineView *m_view = nullptr;
    QString m_waitingPage; // asked for before the view existed, as a disk path
    bool m_engineAwaited = false;
};
