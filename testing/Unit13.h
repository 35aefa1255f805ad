#pragma once

#include "TestSession.h"

#include <QColor>
#include <QVector>
#include <QWidget>

#include <memory>

namespace Ui { class TForm13; }

class QPushButton;
class QTimer;
class StatusClock;

// The test window: 40 questions drawn from the current lesson's test folder,
// opened by number, answered A to E, and graded at the finish.
class TForm13 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm13)

public:
    explicit TForm13(QWidget *parent = nullptr);
    ~TForm13() override;

    // The test's state: the result window reads the counts of the last finish.
    const TestSession &session() const { return m_test; }
    TestSession &session() { return m_test; }

    static const QColor Black;
    static const QColor Red;
    static QColor captionColour(const QPushButton *button);

public slots:
    void BitBtn41Click();
    void BitBtn42Click();
    // Shared by the 40 number buttons: the slot is the number in the button's caption.
    void BitBtn1Click(QPushButton *button);
    void BitBtn43Click();
    void BitBtn44Click();
    void BitBtn45Click();
    void BitBtn46Click();
    void BitBtn47Click();
    void Timer1Timer();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormClose(QCloseEvent *event);
    void answerClick(int answer);
    static void setCaptionColour(QPushButton *button, const QColor &colour);
    QString appDir() const;

    std::unique_ptr<Ui::TForm13> ui;
    // The number buttons "1" to "40" (BitBtn1 … BitBtn40) and the answer buttons "A)" to "E)", in order.
    QVector<QPushButton *> numberButtons;
    QVector<QPushButton *> answerButtons;
    QTimer *Timer1;
    std::unique_ptr<StatusClock> m_clock;
    TestSession m_test;
};

extern TForm13 *Form13;
