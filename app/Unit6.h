#pragma once

#include "StartScreenFade.h"

#include <QPoint>
#include <QWidget>

#include <memory>

namespace Ui { class TForm6; }

class CourseSession;
class QTimer;

// The start screen: the shaped title plate on which the learner types a name
// and a study group; it fades in, can be dragged by its picture, and on
// "Ввод" fades out and hands over to the main window. Closing it ends the program.
class TForm6 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm6)

public:
    // What is typed into the name box Edit1 and the group box Edit2 becomes
    // the session's learner at once.
    explicit TForm6(CourseSession &session, QWidget *parent = nullptr);
    ~TForm6() override;

    bool isDragActive() const { return DragActive; }
    int opacity() const { return m_fade.opacity(); }
    void setOpacity(int opacity);

public slots:
    void Timer1Timer();
    void Timer2Timer();
    void Panel1Click();
    void Image2Click();
    void Image1MouseDown(const QPoint &position);
    void Image1MouseMove(const QPoint &position);
    void Image1MouseUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void showOpacity();

    std::unique_ptr<Ui::TForm6> ui;
    QTimer *Timer1; // fade-in
    QTimer *Timer2; // fade-out
    bool DragActive = false;
    QPoint DragOrigin;
    StartScreenFade m_fade;
};

extern TForm6 *Form6;
