#include "Unit13.h"
#include "ui_Unit13.h"

#include "LessonPaths.h"
#include "Messages.h"
#include "StatusClock.h"
#include "TableCursor.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit5.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

TForm13 *Form13 = nullptr;

const QColor TForm13::Black(0, 0, 0);
const QColor TForm13::Red(255, 0, 0);

TForm13::TForm13(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::TForm13>())
    , Timer1(new QTimer(this))
{
    ui->setupUi(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
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

    m_clock = std::make_unique<StatusClock>(ui->StatusBar1);
    addStatusPanel(ui->StatusBar1, QStringLiteral("statusSpare"), 50);
    connect(Timer1, &QTimer::timeout, this, &TForm13::Timer1Timer);
    Timer1->start(1000);

    WindowPlacement::centreOnDesktop(this);
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
    m_clock->show();
}

void TForm13::BitBtn41Click()
{
    Messages::guarded([this] {
        m_test.seedGenerator();
        m_test.clearForStart();
        for (QPushButton *button : numberButtons + answerButtons)
            setCaptionColour(button, Black);
        // The folder is that of the lesson current now, not when the window was opened.
        m_test.setTestDir(DataModule2->Turok->value(QStringLiteral("test")));
        m_test.readKey(appDir());
        m_test.drawSlots();
        ui->Panel2->show();
        ui->BitBtn41->setEnabled(false);
    });
}

void TForm13::BitBtn1Click(QPushButton *button)
{
    Messages::guarded([this, button] {
        setCaptionColour(button, Red);
        m_test.open(button->text().toInt());
        ui->WebBrowser1->Navigate(m_test.pagePath(appDir(), m_test.CurrentSlot));
        const int chosen = m_test.TestSlot[m_test.CurrentSlot].chosen;
        for (int answer = 1; answer <= answerButtons.size(); ++answer)
            setCaptionColour(answerButtons[answer - 1], answer == chosen ? Red : Black);
    });
}

void TForm13::answerClick(int answer)
{
    for (QPushButton *button : answerButtons)
        setCaptionColour(button, Black);
    m_test.choose(answer);
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
    if (!m_test.finish())
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
    if (!m_test.running) {
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
