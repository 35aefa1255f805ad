#include "AppError.h"
#include "CourseChooser.h"
#include "CourseFolders.h"
#include "Messages.h"
#include "Platform.h"
#include "ProgramWindows.h"
#include "Unit6.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    if (!Platform::hasDisplay()) {
        std::fputs("korvelta: no display found (DISPLAY is not set); to run without a screen use: "
                   "xvfb-run -a korvelta\n",
                   stderr);
        return 2;
    }
    Platform::prepareEnvironment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // No display name: the platform would append it to every window's caption.
    // The application title stands on the start screen and on message boxes.
    QApplication::setApplicationName(QStringLiteral("korvelta"));
    // The program ends when the start screen closes, not when its last window does.
    QApplication::setQuitOnLastWindowClosed(false);
    Platform::initResources();

    // Started outside a course (the desktop menu starts it in the home folder):
    // the user picks one first, and the program then runs there as if started in it.
    if (!CourseFolders::isCourse(QDir::currentPath()) && !CourseChooser::enterCourse())
        return 0;

    std::unique_ptr<ProgramWindows> windows;
    try {
        windows = std::make_unique<ProgramWindows>();
    } catch (const AppError &error) {
        QMessageBox::critical(nullptr, QStringLiteral("Application Error"),
                              QStringLiteral("Exception %1 in module %2.\n%3")
                                  .arg(AppError::kindName(error.kind()), QCoreApplication::applicationFilePath(),
                                       withFullStop(error.message())));
        return 1;
    }

    Form6->show();
    return app.exec();
}
