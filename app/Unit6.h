#pragma once

#include "StartScreenFade.h"

#include <QPoint>
#include <QWidget>

#include <memory>

namespace Ui { class TForm6; }

class QLineEdit;
class QTimer;

// The start screen: the shaped title plate on which the learner types a name
// and a study group; it fades in, can be dragged by its picture, and on
// "Ввод" fades out and hands over to the main window. Closing it ends the program.
class TForm6 final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm6)

public:
    explicit TForm6(QWidget *parent = nullptr);
    ~TForm6() override;

    std::unique_ptr<Ui::TForm6> ui;
    QLineEdit *Edit1; // the learner's name, written to the journal's fio
    QLineEdit *Edit2; // the study group, written to gruppa
    QTimer *Timer1;   // fade-in
    QTimer *Timer2;   // fade-out

    bool DragActive = false;
    QPoint DragOrigin;

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

    StartScreenFade m_fade;
};

extern TForm6 *Form6;

// The learner identity as the start screen holds it, read fresh each time a
// journal row is written; empty when there is no start screen.
namespace Learner {
QString name();
QString group();
}
