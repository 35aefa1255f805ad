#pragma once

#include <QString>

class QWebEngineView;
class QWidget;

// The page viewer's engine. It lives in a module of its own, loaded once the
// start screen is on the screen: the web engine's libraries alone take longer
// to load than the rest of the program takes to start.
class PageEngine
{
public:
    struct View
    {
        QWidget *widget = nullptr;
        QWebEngineView *view = nullptr; // the same object as `widget`
    };

    virtual ~PageEngine() = default;

    // A new view, child of `parent`, that can show the course's web archives.
    virtual View createView(QWidget *parent) = 0;
    // Shows the .htm, .html or .mht file at `diskPath` in a view made by createView().
    virtual void navigate(QWebEngineView *view, const QString &diskPath) = 0;
};

// The module's one exported function; it returns the same engine every time.
using PageEngineEntry = PageEngine *(*)();
#define KORVELTA_PAGE_ENGINE_ENTRY "korvelta_page_engine"
