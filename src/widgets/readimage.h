// Pictures read with their format named, not guessed. Guessing asks every
// image plugin Qt has (and loads them, with libraries such as libjpeg) before
// the first window shows; the program's own pictures are BMP or PNG, and a
// sea picture is a BMP, so nothing need be guessed.
#pragma once

#include <QImage>
#include <QString>

// The picture in `path`, read as BMP or PNG by its suffix; null when it
// cannot be read as that.
QImage readImage(const QString& path);
