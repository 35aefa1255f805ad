#include "AppError.h"
#include "CourseChooser.h"
#include "CourseFolders.h"
#include "Messages.h"
#include "Platform.h"
#include "Unit1.h"
#include "Unit13.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "Unit5.h"
#include "Unit6.h"
#include "Unit7.h"
#include "Unit8.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <cstdio>
#include <memory>

namespace {

// Every window and the data module, created once in this order and kept until exit.
struct Program
{
    std::unique_ptr<TForm6> form6;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm13> form13;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TDataModule2> dataModule2;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm7> form7;
    std::unique_ptr<TForm8> form8;

    void create()
    {
        form6 = std::make_unique<TForm6>();
        Form6 = form6.get();
        form1 = std::make_unique<TForm1>();
        Form1 = form1.get();
        form13 = std::make_unique<TForm13>();
        Form13 = form13.get();
        form4 = std::make_unique<TForm4>();
        Form4 = form4.get();
        dataModule2 = std::make_unique<TDataModule2>();
        DataModule2 = dataModule2.get();
        form3 = std::make_unique<TForm3>();
        Form3 = form3.get();
        form5 = std::make_unique<TForm5>();
        Form5 = form5.get();
        form7 = std::make_unique<TForm7>();
        Form7 = form7.get();
        form8 = std::make_unique<TForm8>();
        Form8 = form8.get();
        form1->attachDataModule(*dataModule2);
        form4->attachDataModule(*dataModule2);
    }

    ~Program()
    {
        Form8 = nullptr;
        Form7 = nullptr;
        Form5 = nullptr;
        Form3 = nullptr;
        DataModule2 = nullptr;
        Form4 = nullptr;
        Form13 = nullptr;
        Form1 = nullptr;
        Form6 = nullptr;
    }
};

} // namespace

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

    Program program;
    try {
        program.create();
    } catch (const AppError &error) {
        QMessageBox::critical(nullptr, QStringLiteral("Application Error"),
                              QStringLiteral("Exception %1 in module %2.\n%3")
                                  .arg(error.kind(), QCoreApplication::applicationFilePath(),
                                       withFullStop(error.message())));
        return 1;
    }

    Form6->show();
    return app.exec();
}
