#pragma once

#include <QByteArray>

// Sound files written by the tests: a silent PCM WAV and a one-note MIDI file.
namespace MediaFixtures {

QByteArray wav(int milliseconds);
QByteArray midi(int milliseconds);

} // namespace MediaFixtures
