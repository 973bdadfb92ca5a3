// The wallpaper panel: tile placement and clipping, the bevels around the
// tiles, the plain panel without a picture, repainting on a new picture and
// painting onto another surface for transparent children.
#include "testmain.h"

#include "look.h"
#include "tpanel.h"

#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

// Every pixel of this tile differs from every other and from the frame greys,
// so a tile drawn one pixel off shows at once.
QImage gradientTile(int w = 128, int h = 128, int blue = 100)
{
    QImage tile(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            tile.setPixel(x, y, qRgb(x * 2 % 256, y * 2 % 256, blue));
    return tile;
}

QImage grabImage(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage lightTile(int side)
{
    QImage tile(side, side, QImage::Format_RGB32);
    tile.fill(qRgb(100, 200, 100));
    return tile;
}

struct Frames {
    TBevelCut outer = bvRaised;
    TBevelCut inner = bvNone;
    int bevelWidth = 1;
    int borderWidth = 0;
};

// What the pixel at (x, y) of a w × h wallpaper panel should be: nested
// one-pixel rings (outer bevel, border, inner bevel), then the tiles from the
// inner corner on.
QRgb expectedPixel(int x, int y, int w, int h, const Frames& f, const QImage& tile, const QColor& face)
{
    const int ring = std::min({x, y, w - 1 - x, h - 1 - y});
    const bool bottomRight = x == w - 1 - ring || y == h - 1 - ring;
    auto bevel = [&](TBevelCut cut) {
        const bool raised = cut == bvRaised;
        const QColor light = raised ? look::btnHighlight() : look::btnShadow();
        const QColor dark = raised ? look::btnShadow() : look::btnHighlight();
        return (bottomRight ? dark : light).rgb();
    };
    int edge = f.outer == bvNone ? 0 : f.bevelWidth;
    if (ring < edge)
        return bevel(f.outer);
    edge += f.borderWidth;
    if (ring < edge)
        return face.rgb();
    edge += f.inner == bvNone ? 0 : f.bevelWidth;
    if (ring < edge)
        return bevel(f.inner);
    return tile.pixel((x - edge) % tile.width(), (y - edge) % tile.height()) | 0xff000000;
}

void applyFrames(TWallpaper& panel, const Frames& f)
{
    panel.setBevelOuter(f.outer);
    panel.setBevelInner(f.inner);
    panel.setBevelWidth(f.bevelWidth);
    panel.setBorderWidth(f.borderWidth);
}

} // namespace

Q_DECLARE_METATYPE(Frames)

class TstWallpaper : public QObject {
    Q_OBJECT
private slots:
    void tilesAndFrames_data();
    void tilesAndFrames();
    void captionShowsOnlyWithoutPicture_data();
    void captionShowsOnlyWithoutPicture();
    void newPictureRepaints();
    void paintsOntoShiftedSurface_data();
    void paintsOntoShiftedSurface();
};

void TstWallpaper::tilesAndFrames_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Frames>("frames");
    QTest::addColumn<bool>("stoneTile");

    const Frames raised;
    QTest::newRow("289x144 default bevel: tiles at 1, 129, 257 by 1, 129") << QSize(289, 144) << raised << false;
    QTest::newRow("stone tile drawn with its own palette") << QSize(289, 144) << raised << true;
    QTest::newRow("no bevel, no border: tiles reach the edges")
        << QSize(289, 144) << Frames{bvNone, bvNone, 1, 0} << false;
    QTest::newRow("lowered outer bevel") << QSize(200, 150) << Frames{bvLowered, bvNone, 1, 0} << false;
    QTest::newRow("raised outer, lowered inner, width 2")
        << QSize(300, 200) << Frames{bvRaised, bvLowered, 2, 0} << false;
    QTest::newRow("border in the panel colour") << QSize(200, 150) << Frames{bvRaised, bvNone, 1, 3} << false;
    QTest::newRow("smaller than one tile") << QSize(100, 60) << raised << false;
    QTest::newRow("inner area an exact tile multiple") << QSize(258, 258) << raised << false;
    QTest::newRow("frames wider than the panel") << QSize(5, 5) << Frames{bvRaised, bvNone, 1, 3} << false;
    QTest::newRow("frames as wide as the panel") << QSize(8, 8) << Frames{bvRaised, bvLowered, 2, 0} << false;
}

void TstWallpaper::tilesAndFrames()
{
    QFETCH(QSize, size);
    QFETCH(Frames, frames);
    QFETCH(bool, stoneTile);

    const QImage tile = stoneTile ? TWallpaper::sharedTile() : gradientTile();
    QVERIFY(!tile.isNull());
    TWallpaper panel;
    panel.resize(size);
    applyFrames(panel, frames);
    panel.setWallpaper(tile);

    const QImage image = grabImage(panel);
    QCOMPARE(image.size(), size);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QRgb want = expectedPixel(x, y, size.width(), size.height(), frames, tile, panel.color());
            if (image.pixel(x, y) != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x).arg(y)
                                     .arg(QColor(image.pixel(x, y)).name(), QColor(want).name())));
        }
}

void TstWallpaper::captionShowsOnlyWithoutPicture_data()
{
    QTest::addColumn<QList<QImage>>("pictures");
    QTest::addColumn<bool>("captionVisible");

    QTest::newRow("never given a picture") << QList<QImage>{} << true;
    QTest::newRow("picture covers the caption") << QList<QImage>{lightTile(128)} << false;
    QTest::newRow("picture taken away again") << QList<QImage>{lightTile(128), QImage()} << true;
    QTest::newRow("small picture still covers it") << QList<QImage>{lightTile(3)} << false;
}

void TstWallpaper::captionShowsOnlyWithoutPicture()
{
    QFETCH(QList<QImage>, pictures);
    QFETCH(bool, captionVisible);

    TWallpaper panel;
    panel.resize(185, 41);
    panel.setCaption(QStringLiteral("Wallpaper1"));
    for (const QImage& picture : pictures)
        panel.setWallpaper(picture);

    // Smoothed text has few pixels of the exact text colour; count dark ones.
    const QImage image = grabImage(panel);
    int inkPixels = 0;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            inkPixels += qGray(image.pixel(x, y)) < 96;
    QCOMPARE(inkPixels > 20, captionVisible);
    if (captionVisible) {
        // Plain panel: face colour round the caption, the raised frame outside.
        QCOMPARE(QColor(image.pixel(3, 3)), panel.color());
        QCOMPARE(QColor(image.pixel(0, 0)), look::btnHighlight());
        QCOMPARE(QColor(image.pixel(184, 40)), look::btnShadow());
    }
}

void TstWallpaper::newPictureRepaints()
{
    TWallpaper panel;
    panel.resize(289, 144);
    panel.setWallpaper(gradientTile(128, 128, 100));
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    // What is on screen, not a fresh rendering: only a repaint changes it.
    auto onScreen = [&panel](int x, int y) {
        return QColor(panel.screen()->grabWindow(panel.winId()).toImage().pixel(x, y));
    };
    QTRY_COMPARE(onScreen(140, 20), QColor(qRgb(22, 38, 100)));

    const QImage replacement = gradientTile(64, 64, 200);
    panel.setWallpaper(replacement);
    // (140, 20) lies in the third 64-pixel column: tile pixel (11, 19).
    QTRY_COMPARE(onScreen(140, 20), QColor(qRgb(22, 38, 200)));
    QCOMPARE(onScreen(1 + 64 + 5, 1 + 7), QColor(qRgb(10, 14, 200)));
}

void TstWallpaper::paintsOntoShiftedSurface_data()
{
    QTest::addColumn<QRect>("area");

    QTest::newRow("inside the first tile") << QRect(10, 10, 40, 30);
    QTest::newRow("across tile seams") << QRect(110, 100, 50, 40);
    QTest::newRow("over the top-left frame") << QRect(0, 0, 20, 20);
    QTest::newRow("over the bottom-right frame") << QRect(250, 110, 39, 34);
    QTest::newRow("whole panel drawn at an offset") << QRect(-15, -10, 289 + 30, 144 + 20);
}

void TstWallpaper::paintsOntoShiftedSurface()
{
    QFETCH(QRect, area);

    TWallpaper panel;
    panel.resize(289, 144);
    panel.setCaption(QStringLiteral("Wallpaper1"));
    panel.setWallpaper(gradientTile());
    const QImage reference = grabImage(panel);

    // What a transparent child covering `area` does to get its background;
    // it goes on drawing with its own pen and font afterwards.
    const QRgb untouched = qRgb(255, 0, 255);
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(untouched);
    {
        QPainter p(&image);
        const QFont childFont = look::font(19, true);
        p.setFont(childFont);
        p.setPen(QColor(0, 0, 128));
        p.translate(-area.topLeft());
        panel.paintBackground(p);
        QCOMPARE(p.font(), childFont);
        QCOMPARE(p.pen().color(), QColor(0, 0, 128));
        QCOMPARE(p.transform(), QTransform::fromTranslate(-area.x(), -area.y()));
        QVERIFY(!p.hasClipping());
    }
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x) {
            const QPoint at = area.topLeft() + QPoint(x, y);
            const QRgb want = panel.rect().contains(at) ? reference.pixel(at) : untouched;
            if (image.pixel(x, y) != want)
                QFAIL(qPrintable(QStringLiteral("panel pixel (%1, %2) differs").arg(at.x()).arg(at.y())));
        }
}

TIVORAMA_TEST_MAIN(TstWallpaper)
#include "tst_wallpaper.moc"
