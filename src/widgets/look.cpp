// Classic desktop colours and fonts. "MS Sans Serif" does not exist on Linux;
// Liberation Sans shares Arial's metrics, which are the closest free match.
#include "look.h"

#include "icons.h"
#include "pixelart.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace look {

namespace {

// At a fractional display scale the "Windows" style's bevels come out uneven:
// it rounds a frame's corner and truncates its size separately, so a button
// shows its dark edge on one side and loses it on the other. Here the frames
// and panels of buttons, edit fields, lists, menus, hints and scroll-bar
// arrows are drawn by the style onto an unscaled picture of exactly the
// device pixels the control covers, and copied there: each line one device
// pixel, as Qt draws them at whole scales, on the control's own edges. At
// whole scales the style draws as it always has.
class ClassicStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        auto base = [&](const QStyleOption* o, QPainter* p) { QProxyStyle::drawPrimitive(element, o, p, widget); };
        if (!framesElement(element) || !inDevicePixels(option, painter, base))
            base(option, painter);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        auto base = [&](const QStyleOption* o, QPainter* p) { QProxyStyle::drawControl(element, o, p, widget); };
        const bool framed = element == CE_PushButtonBevel || element == CE_ScrollBarAddLine
            || element == CE_ScrollBarSubLine;
        if (!framed || !inDevicePixels(option, painter, base))
            base(option, painter);
    }

    // A menu bar makes its overflow button at once, and the base style reads
    // that button's arrows from image files whose format Qt guesses by asking
    // every image plugin it has, all before the first window shows. Our menus
    // always fit their bars; the arrows are drawn here instead.
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override
    {
        if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton)
            return overflowArrows(icon == SP_ToolBarVerticalExtensionButton);
        return QProxyStyle::standardIcon(icon, option, widget);
    }

private:
    // Two chevrons pointing right, or down, in the window text colour.
    static QIcon overflowArrows(bool down)
    {
        QImage image(8, 8, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int chevron : {0, 4})
            for (int i = 0; i < 4; ++i)
                for (int y : {i, 7 - i}) {
                    const int x = chevron + i;
                    image.setPixel(down ? y : x, down ? x : y, QColor(Qt::black).rgba());
                }
        return icons::pixelArt({image});
    }

    static bool framesElement(PrimitiveElement element)
    {
        switch (element) {
        case PE_PanelButtonCommand:
        case PE_PanelButtonBevel:
        case PE_FrameButtonBevel:
        case PE_FrameDefaultButton:
        case PE_FrameFocusRect:
        case PE_Frame:
        case PE_FrameLineEdit:
        case PE_PanelLineEdit:
        case PE_FrameMenu:
        case PE_FrameWindow:
        case PE_FrameGroupBox:
        case PE_PanelTipLabel:
            return true;
        default:
            return false;
        }
    }

    // Draws through an unscaled picture of the device pixels the option's
    // rectangle covers; false when the scale is whole and the style is left
    // to draw as usual.
    template <typename Draw>
    static bool inDevicePixels(const QStyleOption* option, QPainter* painter, Draw draw)
    {
        if (!option || !painter || pixelart::isWhole(pixelart::scaleOf(*painter)))
            return false;
        return inDevicePixelsAs<QStyleOptionSlider>(option, painter, draw)
            || inDevicePixelsAs<QStyleOptionButton>(option, painter, draw)
            || inDevicePixelsAs<QStyleOptionFrame>(option, painter, draw)
            || inDevicePixelsAs<QStyleOptionFocusRect>(option, painter, draw)
            || inDevicePixelsAs<QStyleOption>(option, painter, draw);
    }

    template <typename Option, typename Draw>
    static bool inDevicePixelsAs(const QStyleOption* option, QPainter* painter, Draw draw)
    {
        const auto* typed = qstyleoption_cast<const Option*>(option);
        if (!typed)
            return false;
        const QRect device = pixelart::deviceRect(*painter, QRectF(typed->rect));
        if (device.isEmpty())
            return true;
        QImage picture(device.size(), QImage::Format_ARGB32_Premultiplied);
        if (picture.isNull())
            return true;
        picture.fill(Qt::transparent);
        {
            QPainter unscaled(&picture);
            unscaled.setFont(painter->font());
            unscaled.setPen(painter->pen());
            unscaled.setBrush(painter->brush());
            unscaled.setBackground(painter->background());
            unscaled.setRenderHints(painter->renderHints());
            Option copy(*typed);
            copy.rect = QRect(QPoint(0, 0), device.size());
            draw(&copy, &unscaled);
        }
        pixelart::DeviceScope scope(*painter);
        painter->drawImage(device.topLeft(), picture);
        return true;
    }
};

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
        app.setStyle(new ClassicStyle(style));
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
