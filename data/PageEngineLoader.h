#pragma once

#include <QString>

#include <functional>

class PageEngine;
class QObject;

// Finds and loads the page viewer's engine module, once per process.
namespace PageEngineLoader {

// The engine, loaded on the first call. Null when the module cannot be
// loaded; the first such call shows why, later ones stay silent.
PageEngine *engine();

// Whether engine() was called already, whatever it gave.
bool attempted();

// Loads the engine from the module file at `path`; null with `error` set to
// a message that names the file and the reason when that fails.
PageEngine *loadFrom(const QString &path, QString *error);

// The module of this program: beside it (a build), in the installed module
// folder, or in the build tree (tests and benchmarks).
QString modulePath();

// Makes engine() load `path` instead of modulePath(); before its first call.
void useModule(const QString &path);

// Runs `then` (unless `context` is gone) once a window of the program has
// painted itself and that painting has gone to the screen: the engine takes
// a while to load, and the start screen must not wait for it.
void afterFirstPaint(QObject *context, std::function<void()> then);

} // namespace PageEngineLoader
