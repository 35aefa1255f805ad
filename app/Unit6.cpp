#include "Unit6.h"
#include "ui_Unit6.h"

#include "CourseSession.h"
#include "Platform.h"
#include "Unit1.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QTimer>

TForm6 *Form6 = nullptr;

namespace {
const QRgb TransparentKey = qRgb(255, 0, 0);
}

TForm6::TForm6(CourseSession &session, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::TForm6>())
    , Timer1(new QTimer(this))
    , Timer2(new QTimer(this))
{
    ui->setupUi(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2->setObjectName(QStringLiteral("Timer2"));
    setFixedSize(941, 617);
    setWindowIcon(QIcon(QStringLiteral(":/icons/app-icon.svg")));

    // Only the non-red pixels of the title plate belong to the window.
    const QImage plate(QStringLiteral(":/title.png"));
    ui->Image1->setPixmap(QPixmap::fromImage(plate));
    setMask(QBitmap::fromImage(plate.createMaskFromColor(TransparentKey, Qt::MaskInColor)));

    WindowPlacement::centreOnDesktop(this);

    ui->Image1->installEventFilter(this);
    ui->Image2->installEventFilter(this);
    connect(ui->Panel1, &QPushButton::clicked, this, &TForm6::Panel1Click);
    const auto learnerTyped = [this, &session] { session.setLearner(ui->Edit1->text(), ui->Edit2->text()); };
    connect(ui->Edit1, &QLineEdit::textChanged, this, learnerTyped);
    connect(ui->Edit2, &QLineEdit::textChanged, this, learnerTyped);
    connect(Timer1, &QTimer::timeout, this, &TForm6::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm6::Timer2Timer);

    setOpacity(0);
    Timer1->setInterval(100);
    Timer2->setInterval(100);
    Timer1->start();
}

TForm6::~TForm6() = default;

void TForm6::setOpacity(int opacity)
{
    m_fade.setOpacity(opacity);
    showOpacity();
}

void TForm6::showOpacity()
{
    setWindowOpacity(m_fade.opacity() / 255.0);
    // Each step must reach the screen now, not with the next mouse move.
    Platform::flushWindowSystem();
}

void TForm6::Timer1Timer()
{
    const bool goOn = m_fade.fadeInTick();
    showOpacity();
    if (!goOn)
        Timer1->stop();
}

void TForm6::Timer2Timer()
{
    Timer1->stop();
    const bool handOver = m_fade.fadeOutTick();
    showOpacity();
    if (handOver) {
        if (Form1)
            Form1->showMaximized();
        hide();
        Timer2->stop();
    }
}

void TForm6::Panel1Click()
{
    Timer2->start();
}

void TForm6::Image2Click()
{
    Timer2->start();
}

void TForm6::Image1MouseDown(const QPoint &position)
{
    DragActive = true;
    DragOrigin = position;
}

void TForm6::Image1MouseMove(const QPoint &position)
{
    // The origin stays: the picture moves with the mouse, so the grabbed point stays under it.
    if (DragActive)
        move(pos() + (position - DragOrigin));
}

void TForm6::Image1MouseUp()
{
    DragActive = false;
}

bool TForm6::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->Image1) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Image1MouseDown(static_cast<QMouseEvent *>(event)->position().toPoint());
            return true;
        case QEvent::MouseMove:
            Image1MouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
            return true;
        case QEvent::MouseButtonRelease:
            Image1MouseUp();
            return true;
        default:
            break;
        }
    } else if (watched == ui->Image2 && event->type() == QEvent::MouseButtonRelease) {
        Image2Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm6::closeEvent(QCloseEvent *event)
{
    // The start screen is the program's main window: closing it ends the run.
    event->accept();
    QCoreApplication::quit();
}
