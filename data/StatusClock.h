#pragma once

#include <QString>

class QLabel;
class QStatusBar;

// The date and time panels of a window's status bar: today's date in the
// system's short date format and the time in its long time format.
class StatusClock final
{
    Q_DISABLE_COPY_MOVE(StatusClock)

public:
    // Adds the two panels (60 and 50 pixels) to the left of the bar.
    explicit StatusClock(QStatusBar *bar);

    // Shows the date and time of now.
    void show();

private:
    QLabel *m_date;
    QLabel *m_time;
};

// A further panel of a status bar, `minimumWidth` pixels or, stretched, the rest of the bar.
QLabel *addStatusPanel(QStatusBar *bar, const QString &objectName, int minimumWidth, int stretch = 0);
