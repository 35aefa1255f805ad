#pragma once

// Process settings the page viewer and the media player need, made before the
// application object exists.
namespace Platform {

// WebEngine refuses to start as root with its sandbox on; Qt Multimedia must
// use GStreamer (the other backend crashes without an audio device and plays
// no MIDI) unless the user chose otherwise.
void prepareEnvironment();

// True when a window system can be reached (or a platform was chosen explicitly).
bool hasDisplay();

// Registers the icons, layouts and pictures compiled into the program.
void initResources();

// Sends the requests waiting in the window system connection now. On X11 a
// change made from a timer (a window's opacity) otherwise waits until some
// input arrives, and the screen does not follow.
void flushWindowSystem();

} // namespace Platform
