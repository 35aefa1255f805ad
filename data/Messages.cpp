#include "Messages.h"

#include "DialogFilter.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStyle>
#include <QVBoxLayout>

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
    if (!picturePreview)
        return QFileDialog::getOpenFileName(dialogParent(), QString(), initialDir, DialogFilter::toQt(filter));

    // The picture dialog: Qt's own file dialog with a preview of the selected picture beside the list.
    QFileDialog dialog(dialogParent(), QString(), initialDir, DialogFilter::toQt(filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto *preview = new QLabel(&dialog);
    preview->setFixedSize(220, 220);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString &path) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        preview->setPixmap(image.isNull() ? QPixmap()
                                          : QPixmap::fromImage(image.scaled(preview->size(), Qt::KeepAspectRatio,
                                                                            Qt::SmoothTransformation)));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString chooseFile(QWidget *parent, const QString &caption, const QString &filter, const QString &initialDir)
{
    if (activeRecorder) {
        activeRecorder->fileFilters << filter;
        return activeRecorder->fileAnswers.isEmpty() ? QString() : activeRecorder->fileAnswers.takeFirst();
    }
    return QFileDialog::getOpenFileName(parent, caption, initialDir, DialogFilter::toQt(filter));
}

QString chooseFolder(QWidget *parent, const QString &caption, const QString &initialDir)
{
    if (activeRecorder)
        return activeRecorder->fileAnswers.isEmpty() ? QString() : activeRecorder->fileAnswers.takeFirst();
    return QFileDialog::getExistingDirectory(parent, caption, initialDir);
}

void showInfo(QWidget *parent, const QString &message)
{
    if (activeRecorder) {
        activeRecorder->infos << message;
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), message, QMessageBox::Ok, parent);
    box.exec();
}

void showReport(QWidget *parent, bool failure, const QString &message, const QStringList &lines)
{
    if (activeRecorder) {
        (failure ? activeRecorder->errors : activeRecorder->infos) << (QStringList{message} + lines).join(u'\n');
        return;
    }
    QDialog dialog(parent);
    dialog.setWindowTitle(QApplication::applicationDisplayName());
    auto *layout = new QVBoxLayout(&dialog);
    auto *top = new QHBoxLayout;
    layout->addLayout(top);
    if (failure) {
        auto *icon = new QLabel(&dialog);
        const int size = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &dialog);
        icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(size, size));
        icon->setAlignment(Qt::AlignTop);
        top->addWidget(icon);
    }
    auto *text = new QLabel(message, &dialog);
    text->setWordWrap(true);
    text->setMinimumWidth(420);
    top->addWidget(text, 1);
    if (!lines.isEmpty()) {
        // Long lists scroll; the lines can be selected and copied into a note.
        auto *list = new QPlainTextEdit(lines.join(u'\n'), &dialog);
        list->setReadOnly(true);
        list->setLineWrapMode(QPlainTextEdit::NoWrap);
        list->setMinimumSize(720, 260);
        layout->addWidget(list);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
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
