// Classic desktop colours and fonts. "MS Sans Serif" does not exist on Linux;
// Liberation Sans shares Arial's metrics, which are the closest free match.
#include "look.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace look {

namespace {

QPalette classicPalette()
{
    const QColor face(192, 192, 192);
    QPalette p;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Window, face);
        p.setColor(group, QPalette::WindowText, Qt::black);
        p.setColor(group, QPalette::Base, Qt::white);
        p.setColor(group, QPalette::AlternateBase, face);
        p.setColor(group, QPalette::Text, Qt::black);
        p.setColor(group, QPalette::Button, face);
        p.setColor(group, QPalette::ButtonText, Qt::black);
        p.setColor(group, QPalette::Light, Qt::white);
        p.setColor(group, QPalette::Midlight, QColor(223, 223, 223));
        p.setColor(group, QPalette::Mid, QColor(160, 160, 160));
        p.setColor(group, QPalette::Dark, QColor(128, 128, 128));
        p.setColor(group, QPalette::Shadow, Qt::black);
        p.setColor(group, QPalette::Highlight, QColor(0, 0, 128));
        p.setColor(group, QPalette::HighlightedText, Qt::white);
        p.setColor(group, QPalette::ToolTipBase, QColor(255, 255, 225));
        p.setColor(group, QPalette::ToolTipText, Qt::black);
        p.setColor(group, QPalette::BrightText, Qt::white);
    }
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    return p;
}

} // namespace

void install(QApplication& app)
{
    for (const char* family : {"MS Sans Serif", "Ms Sans Serif", "Microsoft Sans Serif"})
        QFont::insertSubstitution(QString::fromLatin1(family), QStringLiteral("Liberation Sans"));
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        app.setStyle(style);
    app.setPalette(classicPalette());
    app.setFont(font(11));
}

QFont font(int pixelHeight, bool bold)
{
    QFont f(QString::fromLatin1(baseFamily));
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    return f;
}

static QColor role(QPalette::ColorRole r, QPalette::ColorGroup g = QPalette::Active)
{
    return QApplication::palette().color(g, r);
}

QColor btnFace() { return role(QPalette::Button); }
QColor btnHighlight() { return role(QPalette::Light); }
QColor btnShadow() { return role(QPalette::Dark); }
QColor btnText() { return role(QPalette::ButtonText); }
QColor windowFrame() { return role(QPalette::Shadow); }
QColor window() { return role(QPalette::Base); }
QColor windowText() { return role(QPalette::WindowText); }
QColor grayText() { return role(QPalette::WindowText, QPalette::Disabled); }

} // namespace look
