#include "Platform.h"

#include <QtGlobal>
#include <QDir>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <unistd.h>

static void initKorveltaResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace Platform {

void prepareEnvironment()
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void initResources()
{
    initKorveltaResources();
}

void flushWindowSystem()
{
    const auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    // Other platforms (offscreen among them, which may still offer an X11 interface) need nothing.
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    if (const auto *x11 = app->nativeInterface<QNativeInterface::QX11Application>()) {
        if (xcb_connection_t *connection = x11->connection())
            xcb_flush(connection);
    }
}

} // namespace Platform
