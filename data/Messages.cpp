#include "Messages.h"

#include "DialogFilter.h"

#include <QApplication>
#include <QFileDialog>
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

QString chooseFile(const QString &filter, const QString &initialDir, bool picturePreview)
{
    if (activeRecorder) {
        activeRecorder->fileFilters << filter;
        return activeRecorder->fileAnswers.isEmpty() ? QString() : activeRecorder->fileAnswers.takeFirst();
    }
    Q_UNUSED(picturePreview)
    return QFileDialog::getOpenFileName(dialogParent(), QString(), initialDir, DialogFilter::toQt(filter));
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
