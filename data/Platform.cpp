#include "Platform.h"

#include <QtGlobal>
#include <QDir>
#include <QGuiApplication>
#include <QWebEngineUrlScheme>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include "MhtSchemeHandler.h"

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
    registerUrlSchemes();
}

void registerUrlSchemes()
{
    const QByteArray name = MhtSchemeHandler::schemeName();
    if (!QWebEngineUrlScheme::schemeByName(name).name().isEmpty())
        return;
    QWebEngineUrlScheme scheme(name);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Local like file: pages, so that the pages it serves show no warnings
    // about insecure content; it reaches nothing outside the archive.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
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
