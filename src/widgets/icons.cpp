#include "icons.h"

namespace icons {

static QIcon make(const char* name)
{
    const QString base = QStringLiteral(":/images/") + QLatin1String(name);
    QIcon icon;
    icon.addFile(base + QStringLiteral("32.png"), QSize(32, 32));
    icon.addFile(base + QStringLiteral("16.png"), QSize(16, 16));
    return icon;
}

QIcon application() { return make("app"); }
QIcon fifteen() { return make("fifteen"); }
QIcon saper() { return make("saper"); }
QIcon sea() { return make("sea"); }

} // namespace icons
