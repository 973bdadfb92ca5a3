// The flat speed button: layout, frames, state images, hot tracking, clicks,
// groups and the drop-down menu, checked through real mouse events and pixels.
#include "testmain.h"
#include "testutil.h"

#include "look.h"
#include "tflatspeedbutton.h"
#include "tpanel.h"

#include <QMenu>
#include <QPainter>
#include <QSignalSpy>

namespace {

// A glyph of one colour whose bottom-left pixel holds the transparent colour.
QImage solidGlyph(QSize size, const QColor& fill = Qt::blue, const QColor& key = Qt::green)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    image.setPixelColor(0, size.height() - 1, key);
    return image;
}

QImage shot(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A launcher-sized wallpaper panel holding one button; show() parks the
// mouse in the panel's far corner, away from the button.
struct Stage {
    TWallpaper window;
    TFlatSpeedButton* button;

    explicit Stage(const QRect& geometry, bool tiles = false)
        : button(new TFlatSpeedButton(&window))
    {
        window.resize(289, 144);
        if (tiles)
            window.setWallpaper(TWallpaper::sharedTile());
        button->setGeometry(geometry);
    }
    bool show()
    {
        window.show();
        const bool exposed = QTest::qWaitForWindowExposed(&window);
        QTest::mouseMove(&window, QPoint(280, 135));
        return exposed;
    }
    void hover() { QTest::mouseMove(button, button->rect().center()); }
};

} // namespace

class TstFlatSpeedButton : public QObject {
    Q_OBJECT
private slots:
    void placement_data();
    void placement();
    void launcherButtonLayout();
    void flatTransparentOverWallpaper_data();
    void flatTransparentOverWallpaper();
    void transparentPaintsEarlierSiblingsOnly();
    void clickNeedsReleaseInside_data();
    void clickNeedsReleaseInside();
    void grayedInactiveTwoImageStrip_data();
    void grayedInactiveTwoImageStrip();
    void embossedDisabledGlyph_data();
    void embossedDisabledGlyph();
    void numGlyphsFromStripShape_data();
    void numGlyphsFromStripShape();
    void exclusiveGroup_data();
    void exclusiveGroup();
    void frameStyles_data();
    void frameStyles();
    void captionCutAt255();
    void dropDownMark_data();
    void dropDownMark();
    void dropDownMenuPopsBelowWithoutClick();
    void acceleratorClicks();
};

void TstFlatSpeedButton::placement_data()
{
    QTest::addColumn<QSize>("content");
    QTest::addColumn<QSize>("glyph");
    QTest::addColumn<QSize>("text");
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<bool>("mark");
    QTest::addColumn<QPoint>("glyphAt");
    QTest::addColumn<QPoint>("textAt");

    const QSize big(80, 54), wide(80, 33), g32(32, 32), g16(16, 16), t52(52, 13), t35(35, 13), none(0, 0);
    QTest::newRow("glyph above, centred") << big << g32 << t52 << int(blGlyphTop) << -1 << 1 << false
                                          << QPoint(24, 4) << QPoint(14, 37);
    QTest::newRow("glyph left, centred") << wide << g16 << t35 << int(blGlyphLeft) << -1 << 1 << false
                                         << QPoint(14, 8) << QPoint(31, 10);
    QTest::newRow("glyph right, centred") << wide << g16 << t35 << int(blGlyphRight) << -1 << 1 << false
                                          << QPoint(50, 8) << QPoint(14, 10);
    QTest::newRow("glyph below, fixed margin, spread spacing")
        << big << g32 << t52 << int(blGlyphBottom) << 2 << -1 << false << QPoint(24, 20) << QPoint(14, 3);
    QTest::newRow("margin and spacing spread") << big << g32 << t52 << int(blGlyphTop) << -1 << -1 << false
                                               << QPoint(24, 3) << QPoint(14, 38);
    QTest::newRow("no caption drops the spacing") << QSize(34, 34) << g16 << none << int(blGlyphLeft) << -1 << 5
                                                  << false << QPoint(9, 9) << QPoint(25, 17);
    QTest::newRow("mark widens the glyph above") << QSize(34, 24) << g16 << none << int(blGlyphTop) << -1 << 1
                                                 << true << QPoint(6, 4) << QPoint(17, 20);
    QTest::newRow("mark goes with the caption of a left glyph")
        << wide << g16 << t35 << int(blGlyphLeft) << -1 << 1 << true << QPoint(10, 8) << QPoint(27, 10);
}

void TstFlatSpeedButton::placement()
{
    QFETCH(QSize, content);
    QFETCH(QSize, glyph);
    QFETCH(QSize, text);
    QFETCH(int, layout);
    QFETCH(int, margin);
    QFETCH(int, spacing);
    QFETCH(bool, mark);
    QFETCH(QPoint, glyphAt);
    QFETCH(QPoint, textAt);

    const TFlatButtonPlacement at =
        TFlatButtonGlyph::place(content, glyph, text, TButtonLayout(layout), margin, spacing, mark);
    QCOMPARE(at.glyph, glyphAt);
    QCOMPARE(at.text, QRect(textAt, text));
}

void TstFlatSpeedButton::launcherButtonLayout()
{
    // 80 x 54, Margin -1, Spacing 1, a 32 x 32 glyph above the caption.
    TFlatSpeedButton button;
    button.resize(80, 54);
    button.setFlat(true);
    button.setGrayedInactive(false);
    button.setGlyph(solidGlyph(QSize(32, 32)));
    const QString caption = QStringLiteral("Пятнашки");
    button.setCaption(caption);

    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine;
    const QRect measured = QFontMetrics(button.font()).boundingRect(QRect(0, 0, 80, 0), flags, caption);
    // The program's 11-pixel font gives a 13-pixel caption: glyph at y 4, caption at y 37.
    const int glyphY = 27 - (32 + 1 + measured.height()) / 2;
    const int textY = glyphY + 33;
    QCOMPARE(measured.height(), 13);
    QCOMPARE(textY, 37);

    const QImage image = shot(&button);
    const QColor face = look::btnFace();
    QCOMPARE(image.pixelColor(24, glyphY), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(23, glyphY), face);
    QCOMPARE(image.pixelColor(24, glyphY - 1), face);
    QCOMPARE(image.pixelColor(24, glyphY + 31), face); // the transparent corner

    QImage expected(80, 54, QImage::Format_RGB32);
    expected.fill(face);
    QPainter p(&expected);
    p.setFont(button.font());
    p.setPen(button.palette().color(QPalette::ButtonText));
    p.drawText(QRect(QPoint(40 - measured.width() / 2, textY), measured.size()), flags, caption);
    p.end();
    const QRect below(0, glyphY + 32, 80, 54 - glyphY - 32);
    QCOMPARE(image.copy(below), expected.copy(below));
}

void TstFlatSpeedButton::flatTransparentOverWallpaper_data()
{
    QTest::addColumn<QString>("mouse");
    QTest::addColumn<QColor>("topLeft");
    QTest::addColumn<QColor>("bottomRight");
    QTest::addColumn<QPoint>("glyphAt");

    QTest::newRow("away: tiles, glyph and caption only") << "away" << QColor() << QColor() << QPoint(24, 4);
    QTest::newRow("under the mouse: raised frame") << "hover" << look::btnHighlight() << look::btnShadow()
                                                   << QPoint(24, 4);
    QTest::newRow("pressed: sunken frame, content shifted") << "press" << look::windowFrame() << look::btnHighlight()
                                                            << QPoint(25, 5);
}

void TstFlatSpeedButton::flatTransparentOverWallpaper()
{
    QFETCH(QString, mouse);
    QFETCH(QColor, topLeft);
    QFETCH(QColor, bottomRight);
    QFETCH(QPoint, glyphAt);

    Stage stage(QRect(16, 24, 80, 54), true);
    TFlatSpeedButton* button = stage.button;
    button->setFlat(true);
    button->setTransparent(true);
    button->setGrayedInactive(false);
    button->setGlyph(solidGlyph(QSize(32, 32)));
    button->setCaption(QStringLiteral("Пятнашки"));
    QVERIFY(stage.show());
    if (mouse != QLatin1String("away"))
        stage.hover();
    if (mouse == QLatin1String("press"))
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());

    TWallpaper bare;
    bare.resize(stage.window.size());
    bare.setWallpaper(TWallpaper::sharedTile());
    const QImage bg = shot(&bare).copy(button->geometry());
    const QImage image = shot(&stage.window).copy(button->geometry());
    const int w = image.width(), h = image.height();
    // The outer ring is the frame, or tiles when away; the ring inside it is
    // always tiles.
    auto expectedAt = [&](int x, int y) {
        const bool outer = x == 0 || y == 0 || x == w - 1 || y == h - 1;
        if (!topLeft.isValid() || !outer)
            return bg.pixelColor(x, y);
        return (y == 0 && x < w - 1) || (x == 0 && y < h - 1) ? topLeft : bottomRight;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x < 2 || y < 2 || x >= w - 2 || y >= h - 2)
                QCOMPARE(image.pixelColor(x, y), expectedAt(x, y));
    QCOMPARE(image.pixelColor(glyphAt), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(glyphAt + QPoint(31, 0)), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(glyphAt - QPoint(1, 0)), bg.pixelColor(glyphAt - QPoint(1, 0)));
    QCOMPARE(image.pixelColor(glyphAt - QPoint(0, 1)), bg.pixelColor(glyphAt - QPoint(0, 1)));
    QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
}

void TstFlatSpeedButton::transparentPaintsEarlierSiblingsOnly()
{
    QWidget window;
    window.resize(200, 100);
    auto solid = [&](const QRect& geometry, const QColor& color) {
        auto* w = new QWidget(&window);
        w->setGeometry(geometry);
        w->setAutoFillBackground(true);
        w->setPalette(QPalette(color));
    };
    window.setPalette(QPalette(QColor(10, 200, 30)));
    solid(QRect(0, 0, 30, 100), Qt::red);
    auto* button = new TFlatSpeedButton(&window);
    button->setGeometry(10, 10, 60, 40);
    button->setFlat(true);
    button->setTransparent(true);
    solid(QRect(50, 0, 50, 100), Qt::blue);

    const QImage image = shot(button);
    QCOMPARE(image.pixelColor(19, 20), QColor(Qt::red));
    // Beside it the parent's colour (it is no panel); the later sibling stays out.
    QCOMPARE(image.pixelColor(20, 20), QColor(10, 200, 30));
    QCOMPARE(image.pixelColor(45, 20), QColor(10, 200, 30));
}

void TstFlatSpeedButton::clickNeedsReleaseInside_data()
{
    QTest::addColumn<bool>("entryUnseen");
    QTest::addColumn<QList<QPoint>>("path");
    QTest::addColumn<QColor>("cornerWhileHeld");
    QTest::addColumn<int>("clicks");

    const QColor sunken = look::windowFrame(), raised = look::btnHighlight();
    QTest::newRow("release where pressed") << false << QList<QPoint>{} << sunken << 1;
    QTest::newRow("drag off and release outside") << false << QList<QPoint>{{60, 15}} << raised << 0;
    QTest::newRow("drag off and back on") << false << QList<QPoint>{{60, 15}, {-5, 15}, {39, 29}} << sunken << 1;
    QTest::newRow("a press before the entry only wakes it") << true << QList<QPoint>{} << raised << 0;
}

void TstFlatSpeedButton::clickNeedsReleaseInside()
{
    QFETCH(bool, entryUnseen);
    QFETCH(QList<QPoint>, path);
    QFETCH(QColor, cornerWhileHeld);
    QFETCH(int, clicks);

    Stage stage(QRect(50, 30, 40, 30));
    stage.button->setFlat(true);
    QSignalSpy clicked(stage.button, &TFlatSpeedButton::clicked);
    QVERIFY(stage.show());

    QPoint at(20, 15);
    QTest::mouseMove(stage.button, at);
    if (entryUnseen) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(stage.button, &leave);
    }
    QTest::mousePress(stage.button, Qt::LeftButton, {}, at);
    for (const QPoint& p : path)
        QTest::mouseMove(stage.button, at = p);
    QCOMPARE(shot(stage.button).pixelColor(0, 0), cornerWhileHeld);
    QTest::mouseRelease(stage.button, Qt::LeftButton, {}, at);
    QCOMPARE(clicked.count(), clicks);
}

void TstFlatSpeedButton::grayedInactiveTwoImageStrip_data()
{
    // Cell 0 is a row of stripes in these colours; cell 1 is all green.
    const QList<QColor> source{Qt::black, Qt::white, QColor(0, 0, 128), QColor(128, 0, 0), QColor(255, 0, 0),
                               QColor(128, 128, 128), QColor(129, 128, 128), QColor(255, 255, 0)};
    const QColor shadow = look::btnShadow(), face = look::btnFace();
    const QList<QColor> twoTone{Qt::black, Qt::white, Qt::black, shadow, shadow, shadow, face, face};

    QTest::addColumn<QList<QColor>>("source");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QList<QColor>>("expected");
    QTest::newRow("away from the mouse: cell 0 in two tones") << source << "away" << twoTone;
    QTest::newRow("under the mouse: cell 0 unchanged") << source << "hover" << source;
    QTest::newRow("disabled: cell 1") << source << "disabled" << QList<QColor>(source.size(), QColor(0, 128, 0));
}

void TstFlatSpeedButton::grayedInactiveTwoImageStrip()
{
    QFETCH(QList<QColor>, source);
    QFETCH(QString, situation);
    QFETCH(QList<QColor>, expected);

    QImage strip(32, 16, QImage::Format_RGB32);
    strip.fill(QColor(0, 128, 0));
    for (int i = 0; i < source.size(); ++i)
        for (int y = 0; y < 16; ++y)
            strip.setPixelColor(i, y, source[i]);
    strip.setPixelColor(0, 15, QColor(0, 128, 128)); // the transparent colour

    Stage stage(QRect(10, 10, 36, 36));
    stage.button->setFlat(true);
    stage.button->setGlyph(strip);
    QCOMPARE(stage.button->numGlyphs(), 2);
    QVERIFY(stage.show());
    if (situation == QLatin1String("hover"))
        stage.hover();
    if (situation == QLatin1String("disabled"))
        stage.button->setEnabled(false);

    // The glyph's corner is at (10, 10) with or without the frame.
    const QImage image = shot(stage.button);
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(image.pixelColor(10 + i, 12), expected[i]);
    QCOMPARE(image.pixelColor(10, 25), situation == QLatin1String("disabled") ? QColor(0, 128, 0) : look::btnFace());
}

void TstFlatSpeedButton::embossedDisabledGlyph_data()
{
    QTest::addColumn<QColor>("highlight");
    QTest::addColumn<QColor>("shadow");
    QTest::newRow("classic colours") << QColor() << QColor();
    QTest::newRow("after a palette change") << QColor(255, 255, 0) << QColor(0, 0, 255);
}

void TstFlatSpeedButton::embossedDisabledGlyph()
{
    QFETCH(QColor, highlight);
    QFETCH(QColor, shadow);

    QImage glyph = solidGlyph(QSize(16, 16), Qt::red);
    glyph.setPixelColor(3, 3, Qt::black);
    glyph.setPixelColor(4, 3, Qt::black);
    QWidget window;
    auto* button = new TFlatSpeedButton(&window);
    button->resize(36, 36);
    button->setGlyph(glyph);
    button->setEnabled(false);
    shot(button); // builds the disabled image with the colours of the moment

    const QPalette saved = QApplication::palette();
    if (highlight.isValid()) {
        QPalette pal = saved;
        pal.setColor(QPalette::Light, highlight);
        pal.setColor(QPalette::Dark, shadow);
        QApplication::setPalette(pal);
        QCoreApplication::processEvents(); // the change reaches the widgets as a posted event
    }
    const QImage image = shot(button);
    const QColor hi = look::btnHighlight(), sh = look::btnShadow(), face = look::btnFace();
    QApplication::setPalette(saved);

    // The glyph sits at (10, 10); of it only the black (3, 3) and (4, 3) remain.
    QCOMPARE(image.pixelColor(13, 13), sh);
    QCOMPARE(image.pixelColor(14, 13), sh);
    QCOMPARE(image.pixelColor(14, 14), hi);
    QCOMPARE(image.pixelColor(15, 14), hi);
    QCOMPARE(image.pixelColor(13, 14), face);
    QCOMPARE(image.pixelColor(18, 18), face);
}

void TstFlatSpeedButton::numGlyphsFromStripShape_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("numGlyphs");
    QTest::newRow("32 x 16 holds two images") << QSize(32, 16) << 2;
    QTest::newRow("80 x 16 holds five images") << QSize(80, 16) << 5;
    QTest::newRow("96 x 16 is one image, six being too many") << QSize(96, 16) << 1;
    QTest::newRow("30 x 16 leaves the count") << QSize(30, 16) << 3;
}

void TstFlatSpeedButton::numGlyphsFromStripShape()
{
    QFETCH(QSize, size);
    QFETCH(int, numGlyphs);
    TFlatSpeedButton button;
    button.setNumGlyphs(3);
    button.setGlyph(solidGlyph(size));
    QCOMPARE(button.numGlyphs(), numGlyphs);
}

void TstFlatSpeedButton::exclusiveGroup_data()
{
    QTest::addColumn<bool>("allowAllUp");
    QTest::newRow("AllowAllUp off: the down button stays down") << false;
    QTest::newRow("AllowAllUp on: the down button comes up") << true;
}

void TstFlatSpeedButton::exclusiveGroup()
{
    QFETCH(bool, allowAllUp);

    Stage stage(QRect(10, 10, 40, 30));
    TFlatSpeedButton* a = stage.button;
    auto* b = new TFlatSpeedButton(&stage.window);
    b->setGeometry(60, 10, 40, 30);
    auto* other = new TFlatSpeedButton(&stage.window);
    other->setGeometry(110, 10, 40, 30);
    a->setGroupIndex(1);
    b->setGroupIndex(1);
    other->setGroupIndex(2);
    a->setAllowAllUp(allowAllUp); // announced, so b takes it too
    other->setDown(true);
    QSignalSpy clicksB(b, &TFlatSpeedButton::clicked);
    QVERIFY(stage.show());

    auto click = [](TFlatSpeedButton* button) {
        QTest::mouseMove(button, QPoint(5, 5));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    };
    click(a);
    QVERIFY(a->isDown() && !b->isDown());
    click(b);
    QVERIFY(b->isDown() && !a->isDown());
    click(b);
    QCOMPARE(b->isDown(), !allowAllUp);
    QCOMPARE(clicksB.count(), 2);
    QVERIFY(other->isDown());
}

void TstFlatSpeedButton::frameStyles_data()
{
    const QColor hi = look::btnHighlight(), sh = look::btnShadow(), face = look::btnFace(), fr = look::windowFrame();
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<bool>("down");
    // The outer ring's top-left and bottom-right colours, then the next ring's.
    QTest::addColumn<QColor>("outerA");
    QTest::addColumn<QColor>("outerB");
    QTest::addColumn<QColor>("innerA");
    QTest::addColumn<QColor>("innerB");
    QTest::addColumn<QPoint>("checkerAt");

    const QPoint none(-1, -1);
    QTest::newRow("new, raised") << int(bsNew) << false << false << hi << fr << face << sh << none;
    QTest::newRow("auto-detect draws as new") << int(bsAutoDetect) << false << false << hi << fr << face << sh << none;
    QTest::newRow("new, flat, hot") << int(bsNew) << true << false << hi << sh << face << face << none;
    QTest::newRow("win31, raised") << int(bsWin31) << false << false << fr << fr << hi << sh << none;
    QTest::newRow("win31, flat, hot") << int(bsWin31) << true << false << hi << fr << face << face << none;
    QTest::newRow("new, down") << int(bsNew) << false << true << fr << hi << sh << face << QPoint(4, 4);
    QTest::newRow("new, flat, down") << int(bsNew) << true << true << fr << hi << face << face << none;
    QTest::newRow("win31, down") << int(bsWin31) << false << true << fr << fr << sh << face << QPoint(3, 3);
    QTest::newRow("win31, flat, down") << int(bsWin31) << true << true << fr << hi << face << face << none;
}

void TstFlatSpeedButton::frameStyles()
{
    QFETCH(int, style);
    QFETCH(bool, flat);
    QFETCH(bool, down);
    QFETCH(QColor, outerA);
    QFETCH(QColor, outerB);
    QFETCH(QColor, innerA);
    QFETCH(QColor, innerB);
    QFETCH(QPoint, checkerAt);

    Stage stage(QRect(10, 10, 30, 30));
    stage.button->setStyle(TButtonStyle(style));
    stage.button->setFlat(flat);
    stage.button->setGroupIndex(1);
    stage.button->setDown(down);
    QVERIFY(stage.show());
    if (flat && !down)
        stage.hover();

    const QImage image = shot(stage.button);
    QCOMPARE(image.pixelColor(0, 0), outerA);
    QCOMPARE(image.pixelColor(28, 0), outerA);
    QCOMPARE(image.pixelColor(29, 0), outerB);
    QCOMPARE(image.pixelColor(0, 29), outerB);
    QCOMPARE(image.pixelColor(29, 29), outerB);
    QCOMPARE(image.pixelColor(1, 1), innerA);
    QCOMPARE(image.pixelColor(27, 1), innerA);
    QCOMPARE(image.pixelColor(1, 27), innerA);
    QCOMPARE(image.pixelColor(28, 28), innerB);
    // A down button that is not flat fills its content with the checkerboard.
    const QPoint at = checkerAt.x() >= 0 ? checkerAt : QPoint(4, 4);
    QCOMPARE(image.pixelColor(at), checkerAt.x() >= 0 ? QColor(Qt::white) : look::btnFace());
    QCOMPARE(image.pixelColor(at + QPoint(1, 0)), look::btnFace());
}

void TstFlatSpeedButton::captionCutAt255()
{
    QString digits;
    for (int i = 0; i < 300; ++i)
        digits += QChar(u'0' + i % 10);
    auto render = [](const QString& caption) {
        TFlatSpeedButton button;
        button.resize(3000, 20);
        button.setCaption(caption);
        return shot(&button);
    };
    const QImage cut = render(digits.left(255));
    QCOMPARE(render(digits), cut);
    QVERIFY(render(digits.left(254)) != cut);
}

void TstFlatSpeedButton::dropDownMark_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("withGlyph");
    QTest::addColumn<QPoint>("markAt");
    // In a 40 x 30 button the content is 34 x 24 at (3, 3).
    QTest::newRow("beside the (empty) caption") << true << false << QPoint(19, 15);
    QTest::newRow("disabled: white under shadow") << false << false << QPoint(19, 15);
    QTest::newRow("right of a glyph above") << true << true << QPoint(26, 15);
}

void TstFlatSpeedButton::dropDownMark()
{
    QFETCH(bool, enabled);
    QFETCH(bool, withGlyph);
    QFETCH(QPoint, markAt);

    QMenu menu;
    menu.addAction(QStringLiteral("Item"));
    TFlatSpeedButton button;
    button.resize(40, 30);
    button.setDropDownMenu(&menu);
    if (withGlyph)
        button.setGlyph(solidGlyph(QSize(16, 16)));
    button.setEnabled(enabled);

    const QImage image = shot(&button);
    const QColor ink = enabled ? look::btnText() : look::btnShadow();
    const int x = markAt.x(), y = markAt.y();
    for (int row = 0; row < 4; ++row) {
        const int top = y - 1 + row;
        for (int i = x + row; i <= x + 6 - row; ++i)
            QCOMPARE(image.pixelColor(i, top), ink);
        QVERIFY(image.pixelColor(x + row - 1, top) != ink);
        QVERIFY(image.pixelColor(x + 7 - row, top) != ink);
    }
    if (!enabled)
        QCOMPARE(image.pixelColor(x + 7, y), QColor(Qt::white));

    button.setMarkDropDown(false);
    QVERIFY(shot(&button).pixelColor(x + 3, y) != ink);
}

void TstFlatSpeedButton::dropDownMenuPopsBelowWithoutClick()
{
    Stage stage(QRect(20, 10, 40, 30));
    auto* menu = new QMenu(&stage.window);
    menu->addAction(QStringLiteral("Item"));
    stage.button->setDropDownMenu(menu);
    QSignalSpy clicked(stage.button, &TFlatSpeedButton::clicked);
    QVERIFY(stage.show());

    QPoint shownAt;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        if (menu->isVisible()) {
            shownAt = menu->pos();
            menu->close();
        }
    });
    poll.start(10);
    QTest::mouseMove(stage.button, QPoint(5, 5));
    QTest::mousePress(stage.button, Qt::LeftButton, {}, QPoint(5, 5)); // returns once the menu has closed
    poll.stop();
    QCOMPARE(shownAt, stage.button->mapToGlobal(QPoint(-1, 30)));
    QCOMPARE(shot(stage.button).pixelColor(0, 0), look::btnHighlight()); // up again
    QTest::mouseRelease(stage.button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicked.count(), 0);

    delete menu;
    QVERIFY(!stage.button->dropDownMenu());
}

void TstFlatSpeedButton::acceleratorClicks()
{
    Stage stage(QRect(20, 10, 60, 30));
    stage.button->setCaption(QStringLiteral("&Go"));
    QSignalSpy clicked(stage.button, &TFlatSpeedButton::clicked);
    QVERIFY(stage.show());
    stage.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&stage.window));

    QTest::keyClick(&stage.window, Qt::Key_G, Qt::AltModifier);
    QCOMPARE(clicked.count(), 1);
    stage.button->setEnabled(false);
    QTest::keyClick(&stage.window, Qt::Key_G, Qt::AltModifier);
    QCOMPARE(clicked.count(), 1);
}

TIVORAMA_TEST_MAIN(TstFlatSpeedButton)
#include "tst_flatspeedbutton.moc"
