#include "Unit13.h"
#include "ui_Unit13.h"

#include "LessonPaths.h"
#include "Messages.h"
#include "TableCursor.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit5.h"

#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTime>
#include <QTimer>

TForm13 *Form13 = nullptr;

const QColor TForm13::Black(0, 0, 0);
const QColor TForm13::Red(255, 0, 0);

TForm13::TForm13(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::TForm13>())
    , Timer1(new QTimer(this))
    , statusDate(new QLabel(this))
    , statusTime(new QLabel(this))
    , statusSpare(new QLabel(this))
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/app-icon.svg")));
    ui->Panel2->hide();

    for (int number = 1; number <= TestSession::SlotCount; ++number) {
        auto *button = new QPushButton(QString::number(number), ui->Panel2);
        button->setObjectName(QStringLiteral("BitBtn%1").arg(number));
        button->setGeometry(16 + 24 * (number - 1), 4, 22, 22);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, button] { BitBtn1Click(button); });
        numberButtons.append(button);
    }
    answerButtons = {ui->BitBtn43, ui->BitBtn44, ui->BitBtn45, ui->BitBtn46, ui->BitBtn47};

    connect(ui->BitBtn41, &QPushButton::clicked, this, &TForm13::BitBtn41Click);
    connect(ui->BitBtn42, &QPushButton::clicked, this, &TForm13::BitBtn42Click);
    connect(ui->BitBtn43, &QPushButton::clicked, this, &TForm13::BitBtn43Click);
    connect(ui->BitBtn44, &QPushButton::clicked, this, &TForm13::BitBtn44Click);
    connect(ui->BitBtn45, &QPushButton::clicked, this, &TForm13::BitBtn45Click);
    connect(ui->BitBtn46, &QPushButton::clicked, this, &TForm13::BitBtn46Click);
    connect(ui->BitBtn47, &QPushButton::clicked, this, &TForm13::BitBtn47Click);

    statusDate->setMinimumWidth(60);
    statusTime->setMinimumWidth(50);
    statusSpare->setMinimumWidth(50);
    ui->StatusBar1->addWidget(statusDate);
    ui->StatusBar1->addWidget(statusTime);
    ui->StatusBar1->addWidget(statusSpare);
    connect(Timer1, &QTimer::timeout, this, &TForm13::Timer1Timer);
    Timer1->start(1000);

    if (const QScreen *desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());
}

TForm13::~TForm13() = default;

QColor TForm13::captionColour(const QPushButton *button)
{
    return button->palette().color(QPalette::ButtonText);
}

void TForm13::setCaptionColour(QPushButton *button, const QColor &colour)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, colour);
    button->setPalette(palette);
}

QString TForm13::appDir() const
{
    return Form1 ? Form1->AppDir : LessonPaths::currentAppDir();
}

void TForm13::Timer1Timer()
{
    // The same formats as the main window's clock.
    const QLocale locale = QLocale::system();
    statusDate->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    statusTime->setText(locale.toString(QTime::currentTime(), QLocale::LongFormat));
}

void TForm13::BitBtn41Click()
{
    Messages::guarded([this] {
        session.seedGenerator();
        session.clearForStart();
        for (QPushButton *button : numberButtons + answerButtons)
            setCaptionColour(button, Black);
        // The folder is that of the lesson current now, not when the window was opened.
        session.setTestDir(DataModule2->Turok->value(QStringLiteral("test")));
        session.readKey(appDir());
        session.drawSlots();
        ui->Panel2->show();
        ui->BitBtn41->setEnabled(false);
    });
}

void TForm13::BitBtn1Click(QPushButton *button)
{
    Messages::guarded([this, button] {
        setCaptionColour(button, Red);
        session.open(button->text().toInt());
        ui->WebBrowser1->Navigate(session.pagePath(appDir(), session.CurrentSlot));
        const int chosen = session.TestSlot[session.CurrentSlot].chosen;
        for (int answer = 1; answer <= answerButtons.size(); ++answer)
            setCaptionColour(answerButtons[answer - 1], answer == chosen ? Red : Black);
    });
}

void TForm13::answerClick(int answer)
{
    for (QPushButton *button : answerButtons)
        setCaptionColour(button, Black);
    session.choose(answer);
    setCaptionColour(answerButtons[answer - 1], Red);
}

void TForm13::BitBtn43Click()
{
    answerClick(1);
}

void TForm13::BitBtn44Click()
{
    answerClick(2);
}

void TForm13::BitBtn45Click()
{
    answerClick(3);
}

void TForm13::BitBtn46Click()
{
    answerClick(4);
}

void TForm13::BitBtn47Click()
{
    answerClick(5);
}

void TForm13::BitBtn42Click()
{
    // A finished test is graded again (the way back to a result window closed
    // by mistake); slots that hold no test of this run are not graded at all.
    if (!session.finish())
        return;
    ui->BitBtn41->setEnabled(true);
    ui->Panel2->hide();
    for (QPushButton *button : answerButtons)
        setCaptionColour(button, Black);
    if (Form5) {
        Form5->show();
        Form5->raise();
        Form5->activateWindow();
    }
}

void TForm13::FormClose(QCloseEvent *event)
{
    if (!session.running) {
        event->accept();
        return;
    }
    // A running test cannot be left: the close is refused and the test starts afresh.
    event->ignore();
    BitBtn41Click();
}

void TForm13::closeEvent(QCloseEvent *event)
{
    FormClose(event);
}
