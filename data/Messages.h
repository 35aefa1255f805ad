#pragma once

#include "AppError.h"

#include <QString>
#include <QStringList>

#include <exception>

class QWidget;

// The one place that shows errors and the program's own messages. Every box
// and file dialog comes to the front, above the program's top-most windows
// too, so that a modal box is never hidden behind one of them.
namespace Messages {

// The application title: the caption of every message box.
QString applicationTitle();

// Stop icon, the application title as caption, the full-stop rule applied.
void showError(const QString &message);
// A plain message box with one of the program's fixed texts.
void showInfo(const QString &message);
// A yes/no question such as "Delete record?"; true for yes.
bool confirm(const QString &question);

// Runs a file-open dialog; the chosen file's full name, or empty when cancelled.
QString chooseFile(const QString &filter, const QString &initialDir = QString(), bool picturePreview = false);

// For the commands of a window that stays on top of the others: each dialog
// and box has that window as parent, so it appears in front of it.
QString chooseFile(QWidget *parent, const QString &caption, const QString &filter, const QString &initialDir);
// A folder dialog (it can make a new folder); the chosen folder, or empty when cancelled.
QString chooseFolder(QWidget *parent, const QString &caption, const QString &initialDir);
void showInfo(QWidget *parent, const QString &message);
void showError(QWidget *parent, const QString &message);
// A file-save dialog: it asks before it replaces a file, and a name typed
// without an extension gets the chosen filter's. The chosen name, or empty
// when cancelled; `selectedFilter` is the filter offered first and, on
// return, the one chosen.
QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &filter, const QString &initialPath,
                       QString *selectedFilter = nullptr);
// A message with a list under it, such as every error of a file, in one window;
// a failure shows the stop icon.
void showReport(QWidget *parent, bool failure, const QString &message, const QStringList &lines);

// Runs a command; an error stops it and is shown, and the program goes on.
template <typename Command>
void guarded(Command &&command)
{
    try {
        command();
    } catch (const AppError &error) {
        showError(error.message());
    } catch (const std::exception &error) {
        showError(QString::fromLocal8Bit(error.what()));
    }
}

// While one exists, messages are recorded instead of shown, and questions are
// answered with `answer` and file and folder dialogs from `fileAnswers`: lets
// tests run the windows' commands unattended. A report is recorded as its
// message and lines, one a line, with the errors or the infos.
class Recorder final
{
public:
    explicit Recorder(bool answer = true);
    ~Recorder();
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    QStringList errors;
    QStringList infos;
    QStringList questions;
    bool answer;
    // Answers for the file dialogs, open and save alike, taken in order; an
    // empty one (or none left) cancels.
    QStringList fileAnswers;
    QStringList fileFilters;
};

} // namespace Messages
