// The hemisphere button: the sea battle lamp's exact pictures, what rebuilds
// them, glyphs, the paint through the mask, and push, radio and disabled
// buttons under real mouse events.
#include "testmain.h"

#include "themispherebutton.h"
#include "tpanel.h"

#include <QSignalSpy>

#include <functional>

namespace {

const QColor gray(128, 128, 128);
const QColor red(255, 0, 0);

// A lamp as the sea battle window sets it up.
void makeLamp(THemisphereButton& b, const QColor& face = gray)
{
    b.setBevelOuter(hbLowered);
    b.setBevelInner(hbNone);
    b.setBevelWidth(2);
    b.setFaceShaded(true);
    b.setFaceColor(face);
    b.SetBounds(0, 0, 9, 9);
}

bool opaque(const THemisphereButton& b, int x, int y)
{
    return (b.ImageMask().pixel(x, y) & 0xffffff) != 0xffffff;
}

// One character a pixel of the released picture, rows joined by '|': '.'
// where the mask lets the background through, R pure red, g a grey, ? other.
QString picture(const THemisphereButton& b)
{
    QString s;
    for (int y = 0; y < b.height(); ++y) {
        if (y > 0)
            s += QLatin1Char('|');
        for (int x = 0; x < b.width(); ++x) {
            const QRgb c = b.ImageOut().pixel(x, y);
            const bool grey = qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) > 0;
            s += QLatin1Char(!opaque(b, x, y) ? '.' : c == red.rgb() ? 'R' : grey ? 'g' : '?');
        }
    }
    return s;
}

QImage grabImage(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Three buttons side by side on a shown window.
struct Row {
    TWallpaper window;
    THemisphereButton* buttons[3];
    Row()
    {
        window.resize(100, 40);
        for (int i = 0; i < 3; ++i)
            (buttons[i] = new THemisphereButton(&window))->SetBounds(5 + 30 * i, 5, 25, 25);
        window.show();
    }
    QString downs() const
    {
        QString s;
        for (auto* b : buttons)
            s += QLatin1Char(b->isDown() ? '#' : '.');
        return s;
    }
};

const QPoint centre(12, 12);

} // namespace

using ButtonAction = std::function<void(THemisphereButton&)>;
Q_DECLARE_METATYPE(ButtonAction)

class TstHemisphereButton : public QObject {
    Q_OBJECT
private slots:
    void lampPixels_data();
    void lampPixels();
    void pictures_data();
    void pictures();
    void rebuilds_data();
    void rebuilds();
    void glyph_data();
    void glyph();
    void groups_data();
    void groups();
    void tracking();
    void paintThroughMaskEnabledOrNot();
};

void TstHemisphereButton::lampPixels_data()
{
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<int>("grey");
    QTest::newRow("ring dark at the upper left") << false << QPoint(0, 0) << 106;
    QTest::newRow("ring level at the top") << false << QPoint(4, 0) << 128;
    QTest::newRow("ring bright at the lower right") << false << QPoint(8, 8) << 254;
    QTest::newRow("released centre, upper left") << false << QPoint(4, 4) << 202;
    QTest::newRow("released centre, lower right") << false << QPoint(5, 5) << 202;
    QTest::newRow("released upper left of the face") << false << QPoint(3, 3) << 212;
    QTest::newRow("released left edge") << false << QPoint(2, 3) << 214;
    QTest::newRow("released top edge") << false << QPoint(3, 2) << 214;
    QTest::newRow("released right edge, upper") << false << QPoint(6, 4) << 169;
    QTest::newRow("released right edge, lower") << false << QPoint(6, 5) << 169;
    QTest::newRow("pressed centre") << true << QPoint(4, 4) << 54;
}

void TstHemisphereButton::lampPixels()
{
    QFETCH(bool, pressed);
    QFETCH(QPoint, pixel);
    QFETCH(int, grey);
    THemisphereButton lamp;
    makeLamp(lamp);
    const QImage& image = pressed ? lamp.ImageIn() : lamp.ImageOut();
    QCOMPARE(image.format(), QImage::Format_RGB32);
    QCOMPARE(QColor(image.pixel(pixel)), QColor(grey, grey, grey));
}

void TstHemisphereButton::pictures_data()
{
    QTest::addColumn<ButtonAction>("setup");
    QTest::addColumn<QString>("expected");
    QTest::newRow("red lamp: a flat red disc in a grey ring")
        << ButtonAction([](auto&) {})
        << "..ggggg..|.ggggggg.|gggRRRggg|ggRRRRRgg|ggRRRRRgg|ggRRRRRgg|gggRRRggg|.ggggggg.|..ggggg..";
    QTest::newRow("transparent face lets the background through")
        << ButtonAction([](auto& b) { b.setFaceTransparent(true); })
        << "..ggggg..|.ggggggg.|ggg...ggg|gg.....gg|gg.....gg|gg.....gg|ggg...ggg|.ggggggg.|..ggggg..";
    QTest::newRow("without bevels the face fills the ellipse")
        << ButtonAction([](auto& b) { b.setBevelOuter(hbNone); b.setFaceShaded(false); })
        << "..RRRRR..|.RRRRRRR.|RRRRRRRRR|RRRRRRRRR|RRRRRRRRR|RRRRRRRRR|RRRRRRRRR|.RRRRRRR.|..RRRRR..";
}

void TstHemisphereButton::pictures()
{
    QFETCH(ButtonAction, setup);
    QFETCH(QString, expected);
    THemisphereButton lamp;
    makeLamp(lamp, red);
    setup(lamp);
    QCOMPARE(picture(lamp), expected);
}

void TstHemisphereButton::rebuilds_data()
{
    QTest::addColumn<ButtonAction>("action");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("builds");
    auto row = [](const char* name, ButtonAction a, const char* prop, QVariant v, int builds) {
        QTest::newRow(name) << a << QString::fromLatin1(prop) << v << builds;
    };
    row("same face colour", [](auto& b) { b.setFaceColor(gray); }, "FaceColor", gray, 0);
    row("new face colour", [](auto& b) { b.setFaceColor(red); }, "FaceColor", red, 1);
    row("BevelWidth 0 refused", [](auto& b) { b.setBevelWidth(0); }, "BevelWidth", 2, 0);
    row("negative BevelWidth refused", [](auto& b) { b.setBevelWidth(-3); }, "BevelWidth", 2, 0);
    row("GlyphIndex beyond NumGlyphs refused", [](auto& b) { b.setGlyphIndex(2); }, "GlyphIndex", 1, 0);
    row("NumGlyphs 0 refused", [](auto& b) { b.setNumGlyphs(0); }, "NumGlyphs", 1, 0);
    row("GroupIndex builds nothing", [](auto& b) { b.setGroupIndex(3); }, "GroupIndex", 3, 0);
    row("Down builds nothing", [](auto& b) { b.setDown(true); }, "Down", true, 0);
    row("the same font still rebuilds", [](auto& b) { b.setFont(b.font()); }, "", {}, 1);
    row("same size only moves", [](auto& b) { b.SetBounds(4, 4, 9, 9); }, "x", 4, 0);
    row("new size rebuilds", [](auto& b) { b.SetBounds(0, 0, 11, 9); }, "width", 11, 1);
    row("too narrow keeps the pictures", [](auto& b) { b.SetBounds(0, 0, 1, 9); }, "width", 1, 0);
}

void TstHemisphereButton::rebuilds()
{
    QFETCH(ButtonAction, action);
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(int, builds);
    THemisphereButton b;
    makeLamp(b);
    const int before = b.buildCount();
    const QImage out = b.ImageOut();
    action(b);
    if (!property.isEmpty())
        QCOMPARE(b.property(property.toLatin1()), value);
    QCOMPARE(b.buildCount() - before, builds);
    if (builds == 0)
        QCOMPARE(b.ImageOut(), out);
}

void TstHemisphereButton::glyph_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("keyTransparent");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");
    // Pixel (12, 12) shows cell pixel (1, 1), pixel (11, 14) the key corner (0, 3).
    QTest::newRow("first cell centred") << 1 << true << QPoint(12, 12) << QColor(Qt::blue);
    QTest::newRow("second cell") << 2 << true << QPoint(12, 12) << QColor(Qt::green);
    QTest::newRow("key colour shows the face") << 1 << true << QPoint(11, 14) << gray;
    QTest::newRow("key colour drawn when opaque") << 1 << false << QPoint(11, 14) << QColor(Qt::magenta);
    QTest::newRow("face beside the glyph") << 1 << true << QPoint(9, 12) << gray;
}

void TstHemisphereButton::glyph()
{
    QFETCH(int, index);
    QFETCH(bool, keyTransparent);
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);
    QImage strip(12, 4, QImage::Format_RGB32);
    strip.fill(Qt::green);
    for (int i = 0; i < 16; ++i)
        strip.setPixel(i % 4, i / 4, QColor(Qt::blue).rgb());
    strip.setPixel(0, 3, QColor(Qt::magenta).rgb());
    THemisphereButton b;
    b.SetBounds(0, 0, 25, 25);
    b.setBevelOuter(hbNone);
    b.setFaceShaded(false);
    b.setGlyphShaded(false);
    b.setGlyph(strip);
    QCOMPARE(b.numGlyphs(), 3);
    b.setGlyphIndex(index);
    b.setGlyphTransparent(keyTransparent);
    QCOMPARE(QColor(b.ImageOut().pixel(pixel)), colour);
}

void TstHemisphereButton::groups_data()
{
    QTest::addColumn<int>("groupIndex");
    QTest::addColumn<bool>("allowAllUp");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("downs");
    QTest::newRow("push button springs back") << 0 << false << "AB" << "...";
    QTest::newRow("push button ignores AllowAllUp") << 0 << true << "A" << "...";
    QTest::newRow("group member goes down") << 1 << false << "A" << "#..";
    QTest::newRow("another member takes over") << 1 << false << "AC" << "..#";
    QTest::newRow("down member stays down") << 1 << false << "BB" << ".#.";
    QTest::newRow("AllowAllUp lets it pop up") << 1 << true << "BB" << "...";
    QTest::newRow("AllowAllUp still switches") << 1 << true << "BA" << "#..";
    // A lower-case letter is a double click, as Qt delivers it: press,
    // release, double click, release. Its second half is a second click.
    QTest::newRow("double click on a push button") << 0 << false << "b" << "...";
    QTest::newRow("double click toggles a member twice") << 1 << true << "b" << "...";
    QTest::newRow("double click leaves a member down") << 1 << false << "b" << ".#.";
}

void TstHemisphereButton::groups()
{
    QFETCH(int, groupIndex);
    QFETCH(bool, allowAllUp);
    QFETCH(QString, clicks);
    QFETCH(QString, downs);
    Row row;
    QSignalSpy spy(row.buttons[1], &THemisphereButton::clicked);
    for (auto* b : row.buttons)
        b->setGroupIndex(groupIndex);
    // Set on the first button only: a group shares it.
    row.buttons[0]->setAllowAllUp(allowAllUp);
    QCOMPARE(row.buttons[2]->allowAllUp(), allowAllUp && groupIndex != 0);
    QSignalSpy downSpy(row.buttons[1], &THemisphereButton::mouseDown);
    QSignalSpy doubles(row.buttons[1], &THemisphereButton::doubleClicked);
    for (const QChar c : clicks) {
        THemisphereButton* b = row.buttons[c.toUpper().unicode() - 'A'];
        QTest::mouseClick(b, Qt::LeftButton, {}, centre);
        if (c.isLower()) {
            QTest::mouseDClick(b, Qt::LeftButton, {}, centre);
            QTest::mouseRelease(b, Qt::LeftButton, {}, centre);
        }
    }
    QCOMPARE(row.downs(), downs);
    const int onB = int(clicks.count(QLatin1Char('B')) + 2 * clicks.count(QLatin1Char('b')));
    QCOMPARE(spy.count(), onB);
    QCOMPARE(downSpy.count(), onB);
    QCOMPARE(doubles.count(), int(clicks.count(QLatin1Char('b'))));
}

void TstHemisphereButton::tracking()
{
    Row row;
    THemisphereButton* b = row.buttons[0];
    QSignalSpy clicks(b, &THemisphereButton::clicked);
    QSignalSpy downs(b, &THemisphereButton::mouseDown);
    QSignalSpy doubles(b, &THemisphereButton::doubleClicked);

    // The corner lies outside the bevels: the press does nothing at all.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(downs.count(), 0);
    QCOMPARE(clicks.count(), 0);

    QTest::mousePress(b, Qt::LeftButton, {}, centre);
    QVERIFY(b->isDown());
    QTest::mouseMove(b, QPoint(1, 12));
    QVERIFY(!b->isDown());
    QTest::mouseMove(b, centre);
    QVERIFY(b->isDown());
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(24, 24));
    QVERIFY(!b->isDown());
    QCOMPARE(clicks.count(), 0);

    QTest::mouseClick(b, Qt::RightButton, {}, centre);
    QCOMPARE(downs.count(), 2);
    QVERIFY(!b->isDown());

    // The second press of a double click, dragged off the face: no click,
    // and the push button springs back.
    QTest::mouseClick(b, Qt::LeftButton, {}, centre);
    QTest::mouseDClick(b, Qt::LeftButton, {}, centre);
    QVERIFY(b->isDown());
    QTest::mouseMove(b, QPoint(1, 12));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(1, 12));
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(!b->isDown());
}

void TstHemisphereButton::paintThroughMaskEnabledOrNot()
{
    Row row;
    row.window.setWallpaper(TWallpaper::sharedTile());
    for (auto* b : row.buttons)
        b->hide();
    const QImage background = grabImage(row.window);
    THemisphereButton* off = row.buttons[1];
    off->setEnabled(false);
    row.buttons[2]->setDown(true);
    QImage expected = background;
    for (auto* b : row.buttons) {
        b->setBevelInner(hbRaised);
        b->setBorderStyle(hbsSingle);
        b->setCaption(QStringLiteral("Ж"));
        b->show();
        for (int y = 0; y < b->height(); ++y)
            for (int x = 0; x < b->width(); ++x)
                if (opaque(*b, x, y))
                    expected.setPixel(b->pos() + QPoint(x, y), (b->isDown() ? b->ImageIn() : b->ImageOut()).pixel(x, y));
    }
    QCOMPARE(grabImage(row.window), expected);

    QSignalSpy downs(off, &THemisphereButton::mouseDown);
    QSignalSpy clicks(off, &THemisphereButton::clicked);
    QTest::mousePress(off, Qt::LeftButton, {}, centre);
    QVERIFY(!off->isDown());
    QTest::mouseRelease(off, Qt::LeftButton, {}, centre);
    QCOMPARE(downs.count(), 0);
    QCOMPARE(clicks.count(), 0);
}

TIVORAMA_TEST_MAIN(TstHemisphereButton)
#include "tst_hemispherebutton.moc"
