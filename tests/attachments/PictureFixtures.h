#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>

// Small pictures written by the tests themselves: each is split into a red
// left half and a blue right half, so a decoded picture shows whether it was
// read right way round.
namespace PictureFixtures {

QByteArray image(const char *format, QSize size);
// A placeable Windows metafile, `size` in pixels at 96 dpi.
QByteArray wmf(QSize size);
// An enhanced metafile, `size` in device pixels.
QByteArray emf(QSize size);

} // namespace PictureFixtures
