// The window icons, one per game plus the application's own; every
// window of a game carries its game's icon.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

namespace icons {
QIcon application();
QIcon fifteen();
QIcon saper();
QIcon sea();

// An icon drawn from these pictures as pixel art at any size and display
// scale: the picture made for the logical size asked for (the largest not
// above it, else the smallest) is enlarged by a whole factor, and reduced
// smoothly where the size is not a whole multiple of it.
QIcon pixelArt(const QList<QImage>& pictures);
} // namespace icons
