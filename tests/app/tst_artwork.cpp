// The pictures built into the program: their sizes and colour depths, glyph
// backgrounds that the artwork never uses, and a wallpaper tile of light greys
// that repeats without a seam; and the sea battle's cell pictures beside it.
#include "testmain.h"

#include <QFile>
#include <QImage>
#include <QMap>
#include <QRect>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

QImage picture(const QString& name)
{
    return QImage(QStringLiteral(":/images/") + name);
}

// The sea battle's cell pictures, which the program reads from beside itself.
const std::pair<const char*, const char*> seaPictures[] = {
    {"water", "seaclear.bmp"}, {"own ship", "seaship.bmp"}, {"placement cursor", "seaset.bmp"},
    {"hit ship", "seagoal.bmp"}, {"sunk ship", "seakilled.bmp"}, {"missed shot", "seamissed.bmp"}};

// The bits-per-pixel field of a generated BMP file's header. Qt loads 4-bit
// files as 8-bit images, so only the file tells 16 colours from 256.
int bmpBitCount(const QString& name)
{
    QFile file(QStringLiteral(TIVORAMA_BUILD_DIR "/assets/images/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = file.read(30);
    if (head.size() < 30 || !head.startsWith("BM"))
        return -1;
    return qFromLittleEndian<quint16>(head.constData() + 28);
}

// Pixels of the key colour inside `area` that cannot be reached from the
// area's edge through key-coloured pixels (8-neighbourhood): places where the
// artwork itself uses the key colour and would let the background through.
int enclosedKeyPixels(const QImage& image, const QRect& area, QRgb key)
{
    const int w = area.width(), h = area.height();
    auto isKey = [&](int x, int y) { return image.pixel(area.left() + x, area.top() + y) == key; };
    std::vector<char> reached(std::size_t(w) * h, 0);
    std::vector<QPoint> stack;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x == 0 || y == 0 || x == w - 1 || y == h - 1) && isKey(x, y)) {
                reached[std::size_t(y) * w + x] = 1;
                stack.push_back({x, y});
            }
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = p.x() + dx, y = p.y() + dy;
                if (x < 0 || y < 0 || x >= w || y >= h || reached[std::size_t(y) * w + x] || !isKey(x, y))
                    continue;
                reached[std::size_t(y) * w + x] = 1;
                stack.push_back({x, y});
            }
    }
    int enclosed = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (isKey(x, y) && !reached[std::size_t(y) * w + x])
                ++enclosed;
    return enclosed;
}

// The look of a flat button's glyph while the mouse is elsewhere.
QRgb inactiveColour(QRgb c, QRgb key)
{
    c |= 0xff000000;
    if (c == key || c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255))
        return c;
    if (c == qRgb(0, 0, 128))
        return qRgb(0, 0, 0);
    return qRed(c) + qGreen(c) + qBlue(c) <= 384 ? qRgb(128, 128, 128) : qRgb(192, 192, 192);
}

QSet<QRgb> coloursIn(const QImage& image, const QRect& area, QRgb (*map)(QRgb, QRgb), QRgb key)
{
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            colours.insert(map ? map(image.pixel(x, y), key) : (image.pixel(x, y) | 0xff000000));
    return colours;
}

// Mean absolute grey difference between neighbouring columns (or rows, when
// `acrossRows`) i and i + 1 of the tile; the last one wraps round to the first.
std::vector<double> neighbourDifferences(const QImage& tile, bool acrossRows)
{
    const int n = acrossRows ? tile.height() : tile.width();
    const int along = acrossRows ? tile.width() : tile.height();
    std::vector<double> result(n);
    for (int i = 0; i < n; ++i) {
        long sum = 0;
        for (int j = 0; j < along; ++j) {
            const int a = acrossRows ? tile.pixelIndex(j, i) : tile.pixelIndex(i, j);
            const int b = acrossRows ? tile.pixelIndex(j, (i + 1) % n) : tile.pixelIndex((i + 1) % n, j);
            sum += std::abs(a - b);
        }
        result[i] = double(sum) / along;
    }
    return result;
}

} // namespace

class TstArtwork : public QObject {
    Q_OBJECT
private slots:
    void pictureHasItsSizeAndDepth_data();
    void pictureHasItsSizeAndDepth();
    void backgroundOnlySurroundsThePicture_data();
    void backgroundOnlySurroundsThePicture();
    void exitStripReadsInEveryState();
    void skullIsMostlyFuchsia();
    void seaCellPictureStandsApart_data();
    void seaCellPictureStandsApart();
    void wallpaperUsesSixteenLightGreys();
    void wallpaperRepeatsWithoutSeam_data();
    void wallpaperRepeatsWithoutSeam();
};

void TstArtwork::pictureHasItsSizeAndDepth_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("bits"); // 0 for a PNG icon with alpha

    QTest::newRow("application icon 32") << "app32.png" << QSize(32, 32) << 0;
    QTest::newRow("application icon 16") << "app16.png" << QSize(16, 16) << 0;
    QTest::newRow("fifteen icon 32") << "fifteen32.png" << QSize(32, 32) << 0;
    QTest::newRow("fifteen icon 16") << "fifteen16.png" << QSize(16, 16) << 0;
    QTest::newRow("minesweeper icon 32") << "saper32.png" << QSize(32, 32) << 0;
    QTest::newRow("minesweeper icon 16") << "saper16.png" << QSize(16, 16) << 0;
    QTest::newRow("sea battle icon 32") << "sea32.png" << QSize(32, 32) << 0;
    QTest::newRow("sea battle icon 16") << "sea16.png" << QSize(16, 16) << 0;
    QTest::newRow("fifteen glyph, 16 colours") << "glyph_fifteen.bmp" << QSize(32, 32) << 4;
    QTest::newRow("minesweeper glyph, 256 colours") << "glyph_saper.bmp" << QSize(26, 26) << 8;
    QTest::newRow("sea battle glyph, 256 colours") << "glyph_sea.bmp" << QSize(26, 26) << 8;
    QTest::newRow("exit strip of two cells") << "glyph_exit.bmp" << QSize(32, 16) << 4;
    QTest::newRow("pause strip of two cells") << "glyph_pause.bmp" << QSize(32, 16) << 4;
    QTest::newRow("bomb") << "bomb.png" << QSize(15, 15) << 0;
    QTest::newRow("skull and crossbones, as large as the bomb") << "skull.png" << QSize(15, 15) << 0;
    QTest::newRow("OK tick") << "glyph_ok.bmp" << QSize(18, 18) << 4;
    QTest::newRow("cancel cross") << "glyph_cancel.bmp" << QSize(18, 18) << 4;
    QTest::newRow("wallpaper tile") << "wallpaper.bmp" << QSize(128, 128) << 8;
}

void TstArtwork::pictureHasItsSizeAndDepth()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, bits);

    const QImage image = picture(name);
    QVERIFY2(!image.isNull(), qPrintable(name));
    QCOMPARE(image.size(), size);
    if (bits == 0) {
        // An icon without see-through pixels would sit in a square box.
        QVERIFY(image.hasAlphaChannel());
        QVERIFY(coloursIn(image.convertToFormat(QImage::Format_ARGB32), image.rect(), nullptr, 0).size() > 1);
        bool someClear = false;
        for (int y = 0; y < image.height() && !someClear; ++y)
            for (int x = 0; x < image.width() && !someClear; ++x)
                someClear = qAlpha(image.pixel(x, y)) == 0;
        QVERIFY(someClear);
    } else {
        QCOMPARE(image.format(), QImage::Format_Indexed8);
        QVERIFY(image.colorCount() <= (1 << bits));
        QCOMPARE(bmpBitCount(name), bits);
    }
}

void TstArtwork::backgroundOnlySurroundsThePicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("area");

    QTest::newRow("fifteen glyph") << "glyph_fifteen.bmp" << QRect(0, 0, 32, 32);
    QTest::newRow("minesweeper glyph") << "glyph_saper.bmp" << QRect(0, 0, 26, 26);
    QTest::newRow("sea battle glyph") << "glyph_sea.bmp" << QRect(0, 0, 26, 26);
    // The disabled cell is an engraving that encloses the doorway on purpose.
    QTest::newRow("exit glyph, normal cell") << "glyph_exit.bmp" << QRect(0, 0, 16, 16);
    QTest::newRow("pause glyph, normal cell") << "glyph_pause.bmp" << QRect(0, 0, 16, 16);
    QTest::newRow("bomb") << "bomb.png" << QRect(0, 0, 15, 15);
    QTest::newRow("skull and crossbones") << "skull.png" << QRect(0, 0, 15, 15);
    QTest::newRow("OK glyph") << "glyph_ok.bmp" << QRect(0, 0, 18, 18);
    QTest::newRow("cancel glyph") << "glyph_cancel.bmp" << QRect(0, 0, 18, 18);
    for (const char* icon : {"app", "fifteen", "saper", "sea"})
        for (int size : {32, 16})
            QTest::addRow("%s icon %d", icon, size)
                << QStringLiteral("%1%2.png").arg(QLatin1String(icon)).arg(size) << QRect(0, 0, size, size);
}

// The background (a glyph's key colour, an icon's clear pixels) may only lie
// around the artwork: a pocket of it inside shows the wallpaper or the title
// bar through the picture.
void TstArtwork::backgroundOnlySurroundsThePicture()
{
    QFETCH(QString, name);
    QFETCH(QRect, area);

    const QImage loaded = picture(name);
    QVERIFY2(!loaded.isNull(), qPrintable(name));
    QImage image;
    QRgb key;
    if (loaded.format() == QImage::Format_Indexed8) {
        key = loaded.pixel(0, loaded.height() - 1);
        // One palette entry for the key, so no index of the artwork shares its colour.
        QCOMPARE(loaded.colorTable().count(key), 1);
        image = loaded.convertToFormat(QImage::Format_ARGB32);
    } else {
        // Every clear pixel counts as background, whatever colour it holds.
        image = loaded.convertToFormat(QImage::Format_ARGB32);
        key = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) == 0)
                    image.setPixel(x, y, key);
    }
    QCOMPARE(enclosedKeyPixels(image, area, key), 0);
}

void TstArtwork::exitStripReadsInEveryState()
{
    const QImage strip = picture(QStringLiteral("glyph_exit.bmp")).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!strip.isNull());
    const QRgb key = strip.pixel(0, strip.height() - 1);
    const QRect normal(0, 0, 16, 16), disabled(16, 0, 16, 16);

    // Away from the mouse the normal cell must keep its shape in black, grey
    // and silver rather than collapse into one tone.
    const QSet<QRgb> inactive = coloursIn(strip, normal, inactiveColour, key);
    QVERIFY(inactive.contains(qRgb(0, 0, 0)));
    QVERIFY(inactive.contains(qRgb(128, 128, 128)));
    QVERIFY(inactive.contains(qRgb(192, 192, 192)));

    // The disabled cell is the greyed look: grey lines with white relief.
    const QSet<QRgb> greyed = coloursIn(strip, disabled, nullptr, 0);
    QCOMPARE(greyed, (QSet<QRgb>{key, qRgb(128, 128, 128), qRgb(255, 255, 255)}));
}

// The won game's mines are fuchsia; the outline must not outweigh it.
void TstArtwork::skullIsMostlyFuchsia()
{
    const QImage skull = picture(QStringLiteral("skull.png")).convertToFormat(QImage::Format_ARGB32);
    QMap<QRgb, int> opaque;
    for (int y = 0; y < skull.height(); ++y)
        for (int x = 0; x < skull.width(); ++x)
            if (qAlpha(skull.pixel(x, y)) == 255)
                ++opaque[skull.pixel(x, y)];
    QVERIFY(!opaque.isEmpty());
    QCOMPARE(std::max_element(opaque.begin(), opaque.end()).key(), qRgb(255, 0, 255));
}

void TstArtwork::seaCellPictureStandsApart_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(seaPictures)); ++i)
        QTest::newRow(seaPictures[i].first) << i;
}

// Compared by look: each file has a palette of its own.
void TstArtwork::seaCellPictureStandsApart()
{
    QFETCH(int, index);
    auto load = [](int i) {
        return QImage(QStringLiteral(TIVORAMA_BUILD_DIR "/") + QLatin1String(seaPictures[i].second))
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage image = load(index);
    QCOMPARE(image.size(), QSize(25, 25));
    for (int i = 0; i < int(std::size(seaPictures)); ++i)
        if (i != index)
            QVERIFY2(image != load(i), seaPictures[i].first);
}

void TstArtwork::wallpaperUsesSixteenLightGreys()
{
    const QImage tile = picture(QStringLiteral("wallpaper.bmp"));
    QCOMPARE(tile.format(), QImage::Format_Indexed8);
    QCOMPARE(tile.colorCount(), 256);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(tile.color(i), qRgb(i, i, i));
    QSet<int> levels;
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
            levels.insert(tile.pixelIndex(x, y));
    QVERIFY2(levels.size() <= 16, qPrintable(QString::number(levels.size())));
    QVERIFY(*std::min_element(levels.begin(), levels.end()) >= 172);
    QVERIFY(*std::max_element(levels.begin(), levels.end()) <= 237);
}

void TstArtwork::wallpaperRepeatsWithoutSeam_data()
{
    QTest::addColumn<bool>("acrossRows");
    QTest::newRow("left edge against right edge") << false;
    QTest::newRow("top edge against bottom edge") << true;
}

// A seam shows as a step across the wrap edge that stands out from the steps
// just beside it; a grout line running along the edge raises those too. The
// wrap step may be at most half again the mean of the three steps on either
// side (a tile cut from a larger stone texture scores 1.5 to 7).
void TstArtwork::wallpaperRepeatsWithoutSeam()
{
    QFETCH(bool, acrossRows);
    const QImage tile = picture(QStringLiteral("wallpaper.bmp"));
    QVERIFY(!tile.isNull());
    const std::vector<double> steps = neighbourDifferences(tile, acrossRows);
    const int n = int(steps.size());
    const double wrap = steps[n - 1];
    double beside = 0;
    for (int k = 0; k < 3; ++k)
        beside += steps[n - 2 - k] + steps[k];
    beside /= 6;
    QVERIFY2(wrap <= 1.5 * beside,
             qPrintable(QStringLiteral("step across the wrap %1, beside it %2").arg(wrap).arg(beside)));
}

TIVORAMA_TEST_MAIN(TstArtwork)
#include "tst_artwork.moc"
