// The window icons, one per game plus the application's own; every
// window of a game carries its game's icon.
#pragma once

#include <QIcon>

namespace icons {
QIcon application();
QIcon fifteen();
QIcon saper();
QIcon sea();
} // namespace icons
