#pragma once

#include <QDialog>

#include <memory>

namespace Ui { class TForm5; }

class CourseSession;

// The test result window: right answers, percent and mark of the finished
// test; "Ок" closes the test and records the percent in the journal.
class TForm5 final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm5)

public:
    // "Ок" records the result for the session's learner.
    explicit TForm5(CourseSession &session, QWidget *parent = nullptr);
    ~TForm5() override;

public slots:
    void FormActivate();
    void Button1Click();

protected:
    void changeEvent(QEvent *event) override;
    // Only "Ок" and the frame's close button close the window: Esc would lose the result.
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::unique_ptr<Ui::TForm5> ui;
    CourseSession &m_session;
    // Both counts 0 cannot be graded; said once, not at every activation
    // (closing the message box activates this window again).
    bool m_ungradableShown = false;
};

extern TForm5 *Form5;
