#pragma once

#include <QByteArray>
#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: the input as Qt bytes, an application object
// for the readers that need one, and a check that stops the run on a broken rule.
namespace FuzzSupport {

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// Image plugins, fonts of rendered drawings and the SVG renderer want a GUI
// application; the offscreen platform needs no display.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "korvelta-fuzz";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv); // lives as long as the fuzzing process
    }
}

} // namespace FuzzSupport

// A rule the parser's callers rely on; a broken one is a finding like a crash.
#define FUZZ_CHECK(condition)                                                                              \
    do {                                                                                                   \
        if (!(condition)) {                                                                                \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);     \
            std::abort();                                                                                  \
        }                                                                                                  \
    } while (false)
