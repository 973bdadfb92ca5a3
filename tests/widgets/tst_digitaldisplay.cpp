// The digital display and its glyph strip: the strip's format and digit
// shapes, glyph placement and clipping, colour escapes, the code page, the
// bad-escape error and redraws only on real changes.
#include "testmain.h"
#include "testutil.h"

#include "tdigitaldisplay.h"

#include <QFile>
#include <QScreen>
#include <QtEndian>

#include <array>
#include <limits>

namespace {

constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kOlive = 0xff808000;
constexpr QRgb kLime = 0xff00ff00;
constexpr QRgb kRed = 0xffff0000;
constexpr QRgb kGreen = 0xff008000;

constexpr char kCellChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:.+-$ !@#%&*()=\\/?;\",'^_|{}[]<>";
constexpr int kColonCell = 36;
constexpr int kBlankCell = 41;

// Rows of the 5 x 9 dot matrix of each digit, top first, 0x10 = leftmost dot.
constexpr std::array<std::array<int, 9>, 10> kDigitRows = {{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x11, 0x11, 0x0E},
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x10, 0x11, 0x1F},
    {0x0E, 0x11, 0x01, 0x06, 0x01, 0x01, 0x01, 0x11, 0x0E},
    {0x11, 0x11, 0x11, 0x1F, 0x01, 0x01, 0x01, 0x01, 0x01},
    {0x1F, 0x10, 0x10, 0x1E, 0x01, 0x01, 0x01, 0x11, 0x0E},
    {0x0E, 0x11, 0x10, 0x1E, 0x11, 0x11, 0x11, 0x11, 0x0E},
    {0x1F, 0x01, 0x01, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x11, 0x11, 0x0E},
    {0x0E, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x01, 0x11, 0x0E},
}};

int cellOf(QChar c)
{
    if (c == QChar(0x00B0))
        return 67;
    if (c == QChar(0x00A3))
        return 68;
    const char* p = c.unicode() < 0x80 ? strchr(kCellChars, char(c.unicode())) : nullptr;
    return p && c.unicode() != 0 ? int(p - kCellChars) : kBlankCell;
}

const QImage& strip()
{
    static const QImage image = QImage(QStringLiteral(":/images/digits.bmp")).convertToFormat(QImage::Format_RGB32);
    return image;
}

// Whether the digit table lights the pixel (x, y) of a cell.
bool digitLit(int digit, int x, int y)
{
    if (x % 2 == 0 || y % 2 == 0 || x > 9 || y > 17)
        return false;
    return kDigitRows[digit][(y - 1) / 2] & (0x10 >> ((x - 1) / 2));
}

struct Placed {
    int x;
    int cell;
    QRgb colour;
};

// What the display should show: black, with each glyph's strip cell copied
// to (x, top) in its colour.
QImage expectedPicture(QSize size, int top, const QList<Placed>& glyphs)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBlack);
    for (const Placed& g : glyphs)
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 11; ++x)
                if (image.rect().contains(g.x + x, top + y) && strip().pixel(g.cell * 11 + x, y) == kOlive)
                    image.setPixel(g.x + x, top + y, g.colour);
    return image;
}

QString firstDifference(const QImage& actualImage, const QImage& expected)
{
    const QImage actual = actualImage.convertToFormat(QImage::Format_RGB32);
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2").arg(actual.width()).arg(actual.height());
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return QStringLiteral("(%1, %2): got %3, want %4")
                    .arg(x)
                    .arg(y)
                    .arg(actual.pixel(x, y), 8, 16)
                    .arg(expected.pixel(x, y), 8, 16);
    return {};
}

QImage painted(TDigitalDisplay& display)
{
    return display.grab().toImage();
}

// What is on the display's surface now, without asking it to paint again.
QImage surface(TDigitalDisplay& display)
{
    return display.screen()->grabWindow(display.winId()).toImage();
}

} // namespace

class TstDigitalDisplay : public QObject {
    Q_OBJECT
private slots:
    void stripFileFormat();
    void stripGlyphsAreOliveDotsOnTheGrid();
    void stripDigitsMatchTheTable_data();
    void stripDigitsMatchTheTable();

    void counterGeometry();
    void placement_data();
    void placement();
    void escapes_data();
    void escapes();
    void characters_data();
    void characters();
    void longTextKeepsFirst255Characters();
    void badHexEscapeDrawsNothing_data();
    void badHexEscapeDrawsNothing();
    void badHexEscapeInPaintIsReported();
    void redrawsAtOnceOnlyOnChange_data();
    void redrawsAtOnceOnlyOnChange();
};

void TstDigitalDisplay::stripFileFormat()
{
    QFile file(QStringLiteral(":/images/digits.bmp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.readAll();
    QVERIFY(bmp.size() > 54);
    const auto* b = reinterpret_cast<const uchar*>(bmp.constData());
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(qFromLittleEndian<qint32>(b + 18), 759);
    QCOMPARE(qFromLittleEndian<qint32>(b + 22), 19);
    QCOMPARE(qFromLittleEndian<quint16>(b + 28), quint16(4));
    QCOMPARE(qFromLittleEndian<quint32>(b + 30), 0u); // uncompressed
    const quint32 colours = qFromLittleEndian<quint32>(b + 46);
    QVERIFY(colours == 0 || colours == 16);
    QCOMPARE(strip().size(), QSize(759, 19));
}

void TstDigitalDisplay::stripGlyphsAreOliveDotsOnTheGrid()
{
    QList<QByteArray> shapes;
    for (int cell = 0; cell < 69; ++cell) {
        QByteArray shape;
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 11; ++x) {
                const QRgb pixel = strip().pixel(cell * 11 + x, y);
                if (pixel != kBlack && pixel != kOlive)
                    QFAIL(qPrintable(QStringLiteral("cell %1 has colour %2").arg(cell).arg(pixel, 8, 16)));
                const bool lit = pixel == kOlive;
                shape.append(lit ? '#' : '.');
                if (lit && cell != kColonCell && (x % 2 == 0 || y % 2 == 0))
                    QFAIL(qPrintable(QStringLiteral("cell %1 lights (%2, %3) off the grid").arg(cell).arg(x).arg(y)));
                const bool colonDot = x == 5 && (y == 6 || y == 8 || y == 12 || y == 14);
                if (cell == kColonCell && lit != colonDot)
                    QFAIL(qPrintable(QStringLiteral("colon pixel (%1, %2)").arg(x).arg(y)));
            }
        if (cell == kBlankCell)
            QVERIFY2(!shape.contains('#'), "the space cell must be blank");
        else
            QVERIFY2(shape.contains('#'), qPrintable(QStringLiteral("cell %1 is empty").arg(cell)));
        QVERIFY2(!shapes.contains(shape), qPrintable(QStringLiteral("cell %1 repeats an earlier one").arg(cell)));
        shapes.append(shape);
    }
}

void TstDigitalDisplay::stripDigitsMatchTheTable_data()
{
    QTest::addColumn<int>("digit");
    for (int d = 0; d < 10; ++d)
        QTest::addRow("digit %d", d) << d;
}

void TstDigitalDisplay::stripDigitsMatchTheTable()
{
    QFETCH(int, digit);
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 11; ++x)
            QCOMPARE(strip().pixel((26 + digit) * 11 + x, y) == kOlive, digitLit(digit, x, y));
}

// The game windows' counter: the dots against the digit table itself.
void TstDigitalDisplay::counterGeometry()
{
    TDigitalDisplay display;
    display.resize(41, 25);
    display.setAlignment(taCenter);
    display.setText(QStringLiteral("000"));
    const QImage image = painted(display).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 41; ++x) {
            const int gx = x - 4, gy = y - 3;
            const bool lit = gx >= 0 && gx < 33 && gy >= 0 && gy < 19 && digitLit(0, gx % 11, gy);
            if (image.pixel(x, y) != (lit ? kLime : kBlack))
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
        }
}

void TstDigitalDisplay::placement_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("margins");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("top");
    QTest::addColumn<QList<int>>("xs");

    const QSize wide(60, 25), narrow(30, 25);
    QTest::newRow("empty text is black") << wide << "" << int(taCenter) << 0 << 0 << 3 << QList<int>{};
    QTest::newRow("left, margin and spacing") << wide << "12" << int(taLeftJustify) << 3 << 2 << 3 << QList<int>{3, 16};
    QTest::newRow("right, margin and spacing") << wide << "12" << int(taRightJustify) << 3 << 2 << 3 << QList<int>{33, 46};
    QTest::newRow("centre with spacing") << wide << "12" << int(taCenter) << 0 << 2 << 3 << QList<int>{18, 31};
    QTest::newRow("centre ignores margins") << wide << "12" << int(taCenter) << 7 << 2 << 3 << QList<int>{18, 31};
    QTest::newRow("negative margin at left") << wide << "12" << int(taLeftJustify) << -5 << 0 << 3 << QList<int>{-5, 6};
    QTest::newRow("left clips the rightmost") << narrow << "123" << int(taLeftJustify) << 0 << 0 << 3
                                              << QList<int>{0, 11, 22};
    QTest::newRow("right clips the leftmost") << narrow << "123" << int(taRightJustify) << 0 << 0 << 3
                                              << QList<int>{-3, 8, 19};
    QTest::newRow("centre clips both ends, half rounds to zero")
        << QSize(41, 25) << "12345" << int(taCenter) << 0 << 0 << 3 << QList<int>{-7, 4, 15, 26, 37};
    QTest::newRow("centre of an odd overflow") << narrow << "123" << int(taCenter) << 0 << 0 << 3 << QList<int>{-1, 10, 21};
    QTest::newRow("height 16 clips top and bottom")
        << QSize(41, 16) << "808" << int(taCenter) << 0 << 0 << -1 << QList<int>{4, 15, 26};
    QTest::newRow("odd height") << QSize(41, 24) << "8" << int(taLeftJustify) << 0 << 0 << 2 << QList<int>{0};
    QTest::newRow("beyond the right edge") << wide << "12" << int(taLeftJustify) << 100 << 0 << 3 << QList<int>{100, 111};
    QTest::newRow("huge margin does not wrap round")
        << wide << "12" << int(taLeftJustify) << std::numeric_limits<int>::max() << 255 << 3 << QList<int>{};
    QTest::newRow("huge negative margin on the right")
        << wide << "12" << int(taRightJustify) << std::numeric_limits<int>::min() << 255 << 3 << QList<int>{};
}

void TstDigitalDisplay::placement()
{
    QFETCH(QSize, size);
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(int, margins);
    QFETCH(int, spacing);
    QFETCH(int, top);
    QFETCH(QList<int>, xs);

    TDigitalDisplay display;
    display.resize(size);
    display.setAlignment(TAlignment(alignment));
    display.setMargins(margins);
    display.setSpacing(quint8(spacing));
    display.setText(text);
    QList<Placed> glyphs;
    for (int i = 0; i < xs.size(); ++i)
        glyphs.append({xs[i], cellOf(text[i]), kLime});
    QCOMPARE(firstDifference(painted(display), expectedPicture(size, top, glyphs)), QString());
}

void TstDigitalDisplay::escapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QList<QRgb>>("colours");

    QTest::newRow("colour letters") << "~R12~G3" << "123" << QList<QRgb>{kRed, kRed, kGreen};
    QTest::newRow("letters in lower case") << "~r1~w2" << "12" << QList<QRgb>{kRed, 0xffffffff};
    QTest::newRow("every colour letter")
        << "~A1~B1~F1~G1~L1~M1~N1~O1~P1~R1~S1~T1~W1~Y1" << "11111111111111"
        << QList<QRgb>{0xff00ffff, 0xff0000ff, 0xffff00ff, 0xff008000, 0xff00ff00, 0xff800000, 0xff000080,
                       0xff808000, 0xff800080, 0xffff0000, 0xffc0c0c0, 0xff008080, 0xffffffff, 0xffffff00};
    QTest::newRow("second tilde is consumed") << "~R~~5" << "5" << QList<QRgb>{kRed};
    QTest::newRow("tilde tilde keeps the colour") << "~~5" << "5" << QList<QRgb>{kLime};
    QTest::newRow("other letter is consumed") << "~X5~Q6" << "56" << QList<QRgb>{kLime, kLime};
    QTest::newRow("tilde at the end") << "7~" << "7" << QList<QRgb>{kLime};
    QTest::newRow("open bracket at the end") << "12~[" << "12" << QList<QRgb>{kLime, kLime};
    QTest::newRow("unclosed hex swallows the rest") << "1~[FF2" << "1" << QList<QRgb>{kLime};
    QTest::newRow("hex FF8000") << "~[FF8000]8" << "8" << QList<QRgb>{0xffff8000};
    QTest::newRow("hex 4A is red 74") << "~[4a]4" << "4" << QList<QRgb>{qRgb(74, 0, 0)};
    QTest::newRow("hex of three is read from the end") << "~[ABC]1" << "1" << QList<QRgb>{qRgb(0xAB, 0x0C, 0)};
    QTest::newRow("hex beyond six ignored") << "~[0000FFZZ]1" << "1" << QList<QRgb>{0xff0000ff};
    QTest::newRow("colour is fixed when collected") << "1~B" << "1" << QList<QRgb>{kLime};
}

void TstDigitalDisplay::escapes()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QList<QRgb>, colours);

    TDigitalDisplay display;
    display.resize(11 * 15, 19);
    display.setText(text);
    QList<Placed> glyphs;
    for (int i = 0; i < shown.size(); ++i)
        glyphs.append({11 * i, cellOf(shown[i]), colours[i]});
    QCOMPARE(firstDifference(painted(display), expectedPicture(display.size(), 0, glyphs)), QString());
}

void TstDigitalDisplay::characters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("cells");

    QTest::newRow("lower-case letter") << "00a" << QList<int>{26, 26, 0};
    QTest::newRow("signs") << ":.|>" << QList<int>{36, 37, 60, 66};
    QTest::newRow("tab is a blank cell") << "1\t1" << QList<int>{27, kBlankCell, 27};
    QTest::newRow("degree sign") << QString::fromUtf8("5°") << QList<int>{31, 67};
    QTest::newRow("pound sign") << QString::fromUtf8("£5") << QList<int>{68, 31};
    QTest::newRow("byte A3 of the code page") << QString::fromUtf8("Ј") << QList<int>{68};
    QTest::newRow("Cyrillic letters are blank") << QString::fromUtf8("жЖ1") << QList<int>{kBlankCell, kBlankCell, 27};
    QTest::newRow("outside the code page") << QString::fromUtf8("Ω1") << QList<int>{kBlankCell, 27};
    QTest::newRow("astral character is one cell") << QString::fromUtf8("\U0001F600" "1") << QList<int>{kBlankCell, 27};
}

void TstDigitalDisplay::characters()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, cells);

    TDigitalDisplay display;
    display.resize(11 * 4, 19);
    display.setText(text);
    QList<Placed> glyphs;
    for (int i = 0; i < cells.size(); ++i)
        glyphs.append({11 * i, cells[i], kLime});
    QCOMPARE(firstDifference(painted(display), expectedPicture(display.size(), 0, glyphs)), QString());
}

void TstDigitalDisplay::longTextKeepsFirst255Characters()
{
    TDigitalDisplay display;
    display.resize(41, 19);
    display.setAlignment(taRightJustify);
    display.setText(QString(254, QLatin1Char('1')) + QStringLiteral("23"));
    QCOMPARE(display.text().size(), 255);
    // The kept text ends in "12": the right edge shows 2, not the dropped 3.
    const QImage expected = expectedPicture({41, 19}, 0, {{-3, 27, kLime}, {8, 27, kLime}, {19, 27, kLime}, {30, 28, kLime}});
    QCOMPARE(firstDifference(painted(display), expected), QString());

    const QString astral = QString::fromUtf8("\U0001F600");
    display.setText(QString(254, QLatin1Char('A')) + astral);
    QCOMPARE(display.text().size(), 256); // 255 characters, the last one a surrogate pair
    display.setText(QString(255, QLatin1Char('A')) + astral);
    QCOMPARE(display.text(), QString(255, QLatin1Char('A')));
}

void TstDigitalDisplay::badHexEscapeDrawsNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty brackets") << "1~[]2";
    QTest::newRow("not hex") << "~[GG0000]1";
    QTest::newRow("bad digit in the last pair") << "~[00000Z]1";
    QTest::newRow("sign") << "~[-1]1";
    QTest::newRow("space") << "~[ FF]1";
}

void TstDigitalDisplay::badHexEscapeDrawsNothing()
{
    QFETCH(QString, text);

    TDigitalDisplay display;
    display.resize(41, 25);
    display.setAlignment(taCenter);
    display.setText(QStringLiteral("000"));
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    const QImage before = surface(display);
    QCOMPARE(firstDifference(before, expectedPicture({41, 25}, 3, {{4, 26, kLime}, {15, 26, kLime}, {26, 26, kLime}})),
             QString());

    QVERIFY_THROWS_EXCEPTION(EError, display.setText(text));
    QCOMPARE(display.text(), text);
    QCOMPARE(firstDifference(surface(display), before), QString());

    // Any change redraws with the bad text and fails again, keeping its
    // value; a good text then draws.
    QVERIFY_THROWS_EXCEPTION(EError, display.setColor(Qt::blue));
    display.setText(QStringLiteral("1"));
    QCOMPARE(firstDifference(surface(display), expectedPicture({41, 25}, 3, {{15, 27, 0xff0000ff}})), QString());
}

// A paint request from the windowing system meets the bad text too; the
// error goes to the application's report and painting goes on afterwards.
void TstDigitalDisplay::badHexEscapeInPaintIsReported()
{
    ErrorCatcher catcher;
    TDigitalDisplay display;
    display.resize(41, 25);
    QVERIFY_THROWS_EXCEPTION(EError, display.setText(QStringLiteral("~[XY]1")));
    display.show();
    QTRY_VERIFY(!catcher.errors.isEmpty());
    QVERIFY2(catcher.errors.first().contains(QStringLiteral("XY")), qPrintable(catcher.errors.first()));

    display.setText(QStringLiteral("2"));
    QCOMPARE(firstDifference(surface(display), expectedPicture({41, 25}, 3, {{0, 28, kLime}})), QString());
}

void TstDigitalDisplay::redrawsAtOnceOnlyOnChange_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("initial");
    QTest::addColumn<QVariant>("changed");
    QTest::addColumn<QVariant>("sameColour");

    QTest::newRow("Text") << QByteArray("Text") << QVariant(QStringLiteral("000")) << QVariant(QStringLiteral("001"))
                          << QVariant();
    QTest::newRow("Color") << QByteArray("Color") << QVariant(QColor(0, 255, 0)) << QVariant(QColor(255, 0, 0))
                           << QVariant(QColor(255, 0, 0, 128));
    QTest::newRow("Margins") << QByteArray("Margins") << QVariant(0) << QVariant(-2) << QVariant();
    QTest::newRow("Spacing") << QByteArray("Spacing") << QVariant::fromValue(quint8(0))
                             << QVariant::fromValue(quint8(3)) << QVariant();
    QTest::newRow("Alignment") << QByteArray("Alignment") << QVariant::fromValue(taLeftJustify)
                               << QVariant::fromValue(taCenter) << QVariant();
}

void TstDigitalDisplay::redrawsAtOnceOnlyOnChange()
{
    QFETCH(QByteArray, property);
    QFETCH(QVariant, initial);
    QFETCH(QVariant, changed);
    QFETCH(QVariant, sameColour);

    TDigitalDisplay display;
    display.resize(41, 25);
    display.setText(QStringLiteral("000"));
    display.show();
    QVERIFY(QTest::qWaitForWindowExposed(&display));
    QCoreApplication::processEvents();
    QVERIFY(display.setProperty(property, initial));

    const int before = display.redrawCount();
    const QImage picture = surface(display);
    QVERIFY(display.setProperty(property, changed));
    QCOMPARE(display.redrawCount(), before + 1);
    QVERIFY2(!firstDifference(surface(display), picture).isEmpty(), "the surface did not change at once");

    QVERIFY(display.setProperty(property, changed));
    if (sameColour.isValid())
        QVERIFY(display.setProperty(property, sameColour));
    QCOMPARE(display.redrawCount(), before + 1);
}

TIVORAMA_TEST_MAIN(TstDigitalDisplay)
#include "tst_digitaldisplay.moc"
