#pragma once

#include "Platform.h"

#include <QApplication>
#include <QtTest>

// main() for a test that runs the real windows: the page viewer and the media
// player need the process prepared before the application object exists.
#define KORVELTA_WIDGET_TEST_MAIN(TestClass)                                                                 \
    int main(int argc, char *argv[])                                                                         \
    {                                                                                                        \
        Platform::prepareEnvironment();                                                                      \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                          \
        QApplication app(argc, argv);                                                                        \
        Platform::initResources();                                                                           \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
