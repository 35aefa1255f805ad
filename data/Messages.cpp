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
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>

namespace Messages {

namespace {
Recorder *activeRecorder = nullptr;

// A shown window of the program that stays above ordinary windows (the
// picture window, the lesson editor); the active one if it is such a window.
QWidget *topMostWindow()
{
    QWidget *active = QApplication::activeWindow();
    if (active && active->isVisible() && active->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isWindow() && window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return window;
    }
    return nullptr;
}

// Parents a box or dialog so that it stands above every window of the
// program: on a top-most window while one is shown (a box over an ordinary
// window would stay behind it), and then itself top-most; otherwise on the
// window that asked for it, or the active one.
void bringToFront(QDialog &dialog, QWidget *asker = nullptr)
{
    QWidget *topMost = topMostWindow();
    QWidget *parent = topMost ? topMost : asker ? asker : QApplication::activeWindow();
    const Qt::WindowFlags flags = dialog.windowFlags();
    dialog.setParent(parent, flags);
    if (topMost)
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

int runBox(QMessageBox::Icon icon, const QString &text, QMessageBox::StandardButtons buttons,
           QWidget *asker = nullptr)
{
    QMessageBox box(icon, applicationTitle(), text, buttons);
    bringToFront(box, asker);
    return box.exec();
}

QString runFileDialog(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString applicationTitle()
{
    return QStringLiteral("Корвелта");
}

void showError(const QString &message)
{
    showError(nullptr, message);
}

void showError(QWidget *parent, const QString &message)
{
    const QString text = withFullStop(message);
    if (activeRecorder) {
        activeRecorder->errors << text;
        return;
    }
    runBox(QMessageBox::Critical, text, QMessageBox::Ok, parent);
}

void showInfo(const QString &message)
{
    if (activeRecorder) {
        activeRecorder->infos << message;
        return;
    }
    runBox(QMessageBox::NoIcon, message, QMessageBox::Ok);
}

bool confirm(const QString &question)
{
    if (activeRecorder) {
        activeRecorder->questions << question;
        return activeRecorder->answer;
    }
    return runBox(QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString chooseFile(const QString &filter, const QString &initialDir, bool picturePreview)
{
    if (activeRecorder) {
        activeRecorder->fileFilters << filter;
        return activeRecorder->fileAnswers.isEmpty() ? QString() : activeRecorder->fileAnswers.takeFirst();
    }
    QFileDialog dialog(nullptr, QString(), initialDir, DialogFilter::toQt(filter));
    bringToFront(dialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!picturePreview)
        return runFileDialog(dialog);

    // The picture dialog: Qt's own file dialog with a preview of the selected picture beside the list.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
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
    return runFileDialog(dialog);
}

QString chooseFile(QWidget *parent, const QString &caption, const QString &filter, const QString &initialDir)
{
    if (activeRecorder) {
        activeRecorder->fileFilters << filter;
        return activeRecorder->fileAnswers.isEmpty() ? QString() : activeRecorder->fileAnswers.takeFirst();
    }
    QFileDialog dialog(parent, caption, initialDir, DialogFilter::toQt(filter));
    bringToFront(dialog, parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dialog);
}

QString chooseFolder(QWidget *parent, const QString &caption, const QString &initialDir)
{
    if (activeRecorder)
        return activeRecorder->fileAnswers.isEmpty() ? QString() : activeRecorder->fileAnswers.takeFirst();
    QFileDialog dialog(parent, caption, initialDir);
    bringToFront(dialog, parent);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return runFileDialog(dialog);
}

void showInfo(QWidget *parent, const QString &message)
{
    if (activeRecorder) {
        activeRecorder->infos << message;
        return;
    }
    runBox(QMessageBox::NoIcon, message, QMessageBox::Ok, parent);
}

void showReport(QWidget *parent, bool failure, const QString &message, const QStringList &lines)
{
    if (activeRecorder) {
        (failure ? activeRecorder->errors : activeRecorder->infos) << (QStringList{message} + lines).join(u'\n');
        return;
    }
    QDialog dialog;
    dialog.setWindowTitle(applicationTitle());
    bringToFront(dialog, parent);
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

QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &filter, const QString &initialPath,
                       QString *selectedFilter)
{
    if (activeRecorder) {
        activeRecorder->fileFilters << filter;
        return activeRecorder->fileAnswers.isEmpty() ? QString() : activeRecorder->fileAnswers.takeFirst();
    }
    QFileDialog dialog(parent, caption, initialPath, DialogFilter::toQt(filter));
    bringToFront(dialog, parent);
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
    const QString chosen = runFileDialog(dialog);
    if (selectedFilter && !chosen.isEmpty())
        *selectedFilter = dialog.selectedNameFilter().section(QLatin1String(" ("), 0, 0);
    return chosen;
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
