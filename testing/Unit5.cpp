#include "Unit5.h"
#include "ui_Unit5.h"

#include "CourseSession.h"
#include "Grading.h"
#include "Messages.h"
#include "Unit13.h"
#include "WindowPlacement.h"

#include <QEvent>
#include <QKeyEvent>

#include <cmath>

TForm5 *Form5 = nullptr;

namespace {

constexpr int TextHeight = 28;
constexpr int ButtonTextHeight = 20;

QFont boldFont(const QFont &base, double pixels)
{
    QFont font = base;
    font.setBold(true);
    font.setPixelSize(int(std::lround(pixels)));
    return font;
}

} // namespace

TForm5::TForm5(CourseSession &session, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::TForm5>())
    , m_session(session)
{
    ui->setupUi(this);
    // The layout's sizes are for 120 pixels per inch.
    const double scale = WindowPlacement::layoutScale(logicalDpiY());
    const auto scaled = [scale](const QRect &design) { return WindowPlacement::scaled(design, scale); };
    for (QWidget *text : {ui->Label1, ui->Label2, ui->Label3, ui->Label4, ui->Label5, ui->Label6}) {
        text->setGeometry(scaled(text->geometry()));
        text->setFont(boldFont(font(), TextHeight * scale));
    }
    ui->Button1->setGeometry(scaled(ui->Button1->geometry()));
    ui->Button1->setFont(boldFont(font(), ButtonTextHeight * scale));
    for (QWidget *value : {ui->Label4, ui->Label5, ui->Label6}) {
        QPalette palette = value->palette();
        palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        value->setPalette(palette);
        // The value boxes are opaque and lie over the text lines.
        value->raise();
    }
    setFixedSize(WindowPlacement::scaled(QSize(598, 286), scale));
    WindowPlacement::centreOnDesktop(this);

    connect(ui->Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
}

TForm5::~TForm5() = default;

void TForm5::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TForm5::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm5::FormActivate()
{
    if (!Form13)
        return;
    Messages::guarded([this] {
        const TestSession &test = Form13->session();
        const int total = test.RightCount + test.WrongCount;
        ui->Label4->setText(QString::number(test.RightCount));
        if (total == 0 && m_ungradableShown)
            return;
        m_ungradableShown = total == 0;
        // With both counts 0 the percent throws, and the other two labels keep their text.
        ui->Label5->setText(QString::number(Grading::percent(test.RightCount, total)));
        ui->Label6->setText(QString::number(Grading::mark(test.RightCount, total)));
    });
}

void TForm5::Button1Click()
{
    if (!Form13)
        return;
    Messages::guarded([this] {
        // Refused while a new test runs; that test then starts again (and its counts are 0).
        Form13->close();
        const TestSession &test = Form13->session();
        const int total = test.RightCount + test.WrongCount;
        // A start since the finish cleared the counts: there is no result to record.
        if (total > 0)
            m_session.recordTestResult(Grading::percent(test.RightCount, total));
        accept();
    });
}
