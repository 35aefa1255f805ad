#include "Messages.h"

#include "DialogFilter.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>

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
    showError(dialogParent(), message);
}

void showError(QWidget *parent, const QString &message)
{
    const QString text = withFullStop(message);
    if (activeRecorder) {
        activeRecorder->errors << text;
        return;
    }
    QMessageBox::critical(parent, QApplication::applicationDisplayName(), text);
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

QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &filter, const QString &initialPath,
                       QString *selectedFilter)
{
    if (activeRecorder) {
        activeRecorder->fileFilters << filter;
        return activeRecorder->fileAnswers.isEmpty() ? QString() : activeRecorder->fileAnswers.takeFirst();
    }
    QFileDialog dialog(parent, caption, initialPath, DialogFilter::toQt(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an extension gets the chosen filter's, before the
    // dialog asks about replacing a file of that name.
    auto useSuffixOf = [&dialog](const QString &nameFilter) {
        static const QRegularExpression firstPattern(QStringLiteral("\\*\\.(\\w+)"));
        const QRegularExpressionMatch m = firstPattern.match(nameFilter);
        dialog.setDefaultSuffix(m.hasMatch() ? m.captured(1) : QString());
    };
    if (selectedFilter && !selectedFilter->isEmpty()) {
        for (const QString &nameFilter : dialog.nameFilters()) {
            if (nameFilter.startsWith(*selectedFilter))
                dialog.selectNameFilter(nameFilter);
        }
    }
    useSuffixOf(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useSuffixOf);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter().section(QLatin1String(" ("), 0, 0);
    return dialog.selectedFiles().constFirst();
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
