#pragma once

#include <QDialog>

#include <memory>

namespace Ui { class TForm5; }

// The test result window: right answers, percent and mark of the finished
// test; "Ок" closes the test and records the percent in the journal.
class TForm5 final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm5)

public:
    explicit TForm5(QWidget *parent = nullptr);
    ~TForm5() override;

    std::unique_ptr<Ui::TForm5> ui;

    // The layout's sizes are for 120 pixels per inch; this screen's factor.
    double layoutScale() const { return m_scale; }

public slots:
    void FormActivate();
    void Button1Click();

protected:
    void changeEvent(QEvent *event) override;
    // Only "Ок" and the frame's close button close the window: Esc would lose the result.
    void keyPressEvent(QKeyEvent *event) override;

private:
    double m_scale = 1.0;
    // Both counts 0 cannot be graded; said once, not at every activation
    // (closing the message box activates this window again).
    bool m_ungradableShown = false;
};

extern TForm5 *Form5;
