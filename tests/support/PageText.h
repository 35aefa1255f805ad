#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

// The text of the page a viewer shows now, waited for up to ten seconds;
// empty when it did not come.
inline QString pageText(QWebEngineView *view)
{
    QString text;
    bool done = false;
    view->page()->toPlainText([&](const QString &t) {
        text = t;
        done = true;
    });
    QDeadlineTimer deadline(10000);
    while (!done && !deadline.hasExpired())
        QTest::qWait(20);
    return text;
}
