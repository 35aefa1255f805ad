#include "Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace Messages {

namespace {
Recorder *activeRecorder = nullptr;

QWidget *dialogParent()
{
    return QApplication::activeWindow();
}
} // namespace

void showError(const QString &message)
{
    const QString text = withFullStop(message);
    if (activeRecorder) {
        activeRecorder->errors << text;
        return;
    }
    QMessageBox::critical(dialogParent(), QApplication::applicationDisplayName(), text);
}

void showInfo(const QString &message)
{
    if (activeRecorder) {
        activeRecorder->infos << message;
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), message,
                    QMessageBox::Ok, dialogParent());
    box.exec();
}

bool confirm(const QString &question)
{
    if (activeRecorder) {
        activeRecorder->questions << question;
        return activeRecorder->answer;
    }
    return QMessageBox::question(dialogParent(), QApplication::applicationDisplayName(), question)
        == QMessageBox::Yes;
}

Recorder::Recorder(bool answer_)
    : answer(answer_)
{
    activeRecorder = this;
}

Recorder::~Recorder()
{
    if (activeRecorder == this)
        activeRecorder = nullptr;
}

} // namespace Messages
