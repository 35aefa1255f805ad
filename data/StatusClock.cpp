#include "StatusClock.h"

#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTime>

QLabel *addStatusPanel(QStatusBar *bar, const QString &objectName, int minimumWidth, int stretch)
{
    auto *panel = new QLabel(bar);
    // Tests and layouts find a panel by its name.
    panel->setObjectName(objectName);
    panel->setMinimumWidth(minimumWidth);
    bar->addWidget(panel, stretch);
    return panel;
}

StatusClock::StatusClock(QStatusBar *bar)
    : m_date(addStatusPanel(bar, QStringLiteral("statusDate"), 60))
    , m_time(addStatusPanel(bar, QStringLiteral("statusTime"), 50))
{
}

void StatusClock::show()
{
    const QLocale locale = QLocale::system();
    m_date->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    m_time->setText(locale.toString(QTime::currentTime(), QLocale::LongFormat));
}
