#include "Messages.h"
#include "Platform.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QApplication>

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
    QApplication::setApplicationName(QStringLiteral("korvelta"));
    QApplication::setApplicationDisplayName(QStringLiteral("Корвелта"));
    Platform::initResources();

    auto form1 = std::make_unique<TForm1>();
    Form1 = form1.get();
    auto dataModule = std::make_unique<TDataModule2>();
    DataModule2 = dataModule.get();
    form1->attachDataModule(*dataModule);

    form1->showMaximized();
    const int code = app.exec();

    Form1 = nullptr;
    DataModule2 = nullptr;
    return code;
}
