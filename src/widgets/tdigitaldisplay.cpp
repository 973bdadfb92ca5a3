// The digital display: text parsing with colour escapes, glyph placement and
// the one-copy redraw from the glyph strip.
#include "tdigitaldisplay.h"

#include "accessibility.h"
#include "eerror.h"
#include "errorreport.h"
#include "pixelart.h"
#include "readimage.h"

#include <QPainter>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtMath>

#include <algorithm>
#include <optional>

namespace {

// The character of each strip cell, in cell order; the last two are the
// degree sign and the pound sign by their single-byte codes.
constexpr char kCellChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:.+-$ !@#%&*()=\\/?;\",'^_|{}[]<>\xB0\xA3";
constexpr int kCellCount = int(sizeof(kCellChars)) - 1;
static_assert(kCellCount == 69);
constexpr int kBlankCell = 41;
constexpr QRgb kOlive = 0xff808000;
constexpr QRgb kBlack = 0xff000000;

// Byte code -> strip cell; codes outside the table show the blank cell.
constexpr std::array<std::uint8_t, 256> makeCellTable()
{
    std::array<std::uint8_t, 256> table{};
    for (auto& cell : table)
        cell = kBlankCell;
    for (int i = 0; i < kCellCount; ++i)
        table[static_cast<unsigned char>(kCellChars[i])] = std::uint8_t(i);
    return table;
}
constexpr std::array<std::uint8_t, 256> kCellOf = makeCellTable();

std::optional<QRgb> letterColour(char c)
{
    switch (c) {
    case 'A': return qRgb(0, 255, 255);
    case 'B': return qRgb(0, 0, 255);
    case 'F': return qRgb(255, 0, 255);
    case 'G': return qRgb(0, 128, 0);
    case 'L': return qRgb(0, 255, 0);
    case 'M': return qRgb(128, 0, 0);
    case 'N': return qRgb(0, 0, 128);
    case 'O': return qRgb(128, 128, 0);
    case 'P': return qRgb(128, 0, 128);
    case 'R': return qRgb(255, 0, 0);
    case 'S': return qRgb(192, 192, 192);
    case 'T': return qRgb(0, 128, 128);
    case 'W': return qRgb(255, 255, 255);
    case 'Y': return qRgb(255, 255, 0);
    default: return std::nullopt;
    }
}

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The text between "~[" and "]" names the colour as RRGGBB, but it is read
// as a number whose low byte is the first pair, so a short text such as
// "4A" still gives red: the pairs are taken in the order 5-6, 3-4, 1-2, each
// as far as the text reaches, and the rest is ignored.
QRgb hexColour(const char* hex, int length)
{
    const int used = std::min(length, 6);
    unsigned value = 0;
    bool valid = used > 0;
    for (int from : {4, 2, 0}) {
        for (int i = from; i < from + 2 && i < used; ++i) {
            const int d = hexDigit(upper(hex[i]));
            if (d < 0)
                valid = false;
            value = value * 16 + unsigned(std::max(d, 0));
        }
    }
    if (!valid) {
        QStringDecoder decode("windows-1251");
        const QString written = decode(QByteArrayView(hex, length));
        throw EError(QStringLiteral("'%1' is not a valid hexadecimal colour").arg(written));
    }
    return qRgb(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

// Keeps the first `maxTextLength` characters, never splitting a surrogate pair.
QString limited(const QString& text)
{
    int characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (characters == TDigitalDisplay::maxTextLength)
            return text.left(i);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        ++characters;
    }
    return text;
}

// One byte per character in Windows-1251; characters it cannot hold become
// 0x1A, which has no cell and shows blank. The pound sign has no code there
// at all: it is given 0xA3, its cell's code (Je in this code page, which
// therefore shows the pound sign as well), so that "£" shows what it says.
QByteArray toCodePage(QString text)
{
    // Digits and other ASCII are the same bytes in the code page; the
    // converter (and the character tables it loads) is left for the rest.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    text.replace(QChar(0x00A3), QChar(0x0408));
    static QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
    if (encoder.isValid())
        return encoder.encode(text);
    // Without the code page only ASCII and the degree sign (same code in
    // Latin-1) can be told apart.
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        bytes.append(u < 0x80 || u == 0xB0 ? char(u) : u == 0x0408 ? '\xA3' : '\x1A');
    }
    return bytes;
}

// The glyph strip, read once: every display holds a shared copy of it.
const QImage& digitStrip()
{
    static const QImage strip = readImage(QStringLiteral(":/images/digits.bmp")).convertToFormat(QImage::Format_RGB32);
    return strip;
}

} // namespace

TDigitalDisplay::TDigitalDisplay(QWidget* parent)
    : QWidget(parent)
    , m_color(0, 255, 0)
    , m_strip(digitStrip())
{
    // Every pixel is painted on each redraw.
    setAttribute(Qt::WA_OpaquePaintEvent);
    collectDots();
}

void TDigitalDisplay::setText(const QString& text)
{
    const QString kept = limited(text);
    if (kept == m_text)
        return;
    m_text = kept;
    m_bytes = toCodePage(kept);
    accessibility::valueChanged(this);
    redraw();
}

void TDigitalDisplay::setColor(const QColor& color)
{
    const QColor rgb(color.red(), color.green(), color.blue());
    if (rgb == m_color)
        return;
    m_color = rgb;
    redraw();
}

void TDigitalDisplay::setMargins(int margins)
{
    if (margins == m_margins)
        return;
    m_margins = margins;
    redraw();
}

void TDigitalDisplay::setSpacing(quint8 spacing)
{
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    redraw();
}

void TDigitalDisplay::setAlignment(TAlignment alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    redraw();
}

void TDigitalDisplay::redraw()
{
    ++m_redrawCount;
    // Collected here rather than in the paint so that a bad escape ends the
    // caller's handler, as any error in a handler does, with nothing drawn.
    // A hidden display still checks its text.
    GlyphRun run;
    collectGlyphs(run);
    m_prepared = &run;
    const auto forget = qScopeGuard([this] { m_prepared = nullptr; });
    repaint();
}

void TDigitalDisplay::paintEvent(QPaintEvent*)
{
    GlyphRun own;
    const GlyphRun* run = m_prepared;
    if (!run) {
        ++m_redrawCount;
        // A bad escape ends this paint, with nothing drawn, and goes to the
        // report from here: thrown on, it would unwind Qt's painting code,
        // which is built without exceptions and so skips every clean-up of
        // its own on the way out.
        if (!errorreport::run([&] { collectGlyphs(own); }))
            return;
        run = &own;
    }
    QPainter p(this);
    const QRect device = pixelart::deviceRect(p, rect());
    const QImage picture = compose(*run, p, device);
    if (picture.isNull())
        return;
    pixelart::DeviceScope scope(p);
    p.drawImage(device.topLeft(), picture);
}

void TDigitalDisplay::collectGlyphs(GlyphRun& run) const
{
    run.count = 0;
    QRgb colour = m_color.rgb();
    const char* s = m_bytes.constData();
    const int n = int(m_bytes.size());
    int i = 0;
    while (i < n && run.count < maxTextLength) {
        const char c = s[i++];
        if (c != '~') {
            run.glyphs[run.count++] = {kCellOf[static_cast<unsigned char>(upper(c))], colour};
            continue;
        }
        if (i == n)
            break;
        const char code = s[i++];
        if (code != '[') {
            if (const auto named = letterColour(upper(code)))
                colour = *named;
            continue;
        }
        const int start = i;
        while (i < n && s[i] != ']')
            ++i;
        if (i == n)
            break; // unclosed at the end of the text: no effect
        colour = hexColour(s + start, i - start);
        ++i;
    }
}

QImage TDigitalDisplay::compose(const GlyphRun& run, const QPainter& p, const QRect& device) const
{
    const int w = width(), h = height();
    if (w <= 0 || h <= 0 || device.isEmpty())
        return {};
    QImage picture(device.size(), QImage::Format_RGB32);
    picture.fill(kBlack);
    const bool stripUsable = m_strip.width() >= kCellCount * cellWidth && m_strip.height() >= cellHeight;
    if (run.count == 0 || !stripUsable)
        return picture;

    // 64-bit positions: a huge margin or a long run must not overflow.
    const qint64 n = run.count;
    const qint64 pitch = cellWidth + qint64(m_spacing);
    qint64 firstX;
    switch (m_alignment) {
    case taRightJustify:
        firstX = qint64(w) - m_margins - cellWidth - (n - 1) * pitch;
        break;
    case taCenter:
        firstX = (qint64(w) - cellWidth * n - (n - 1) * m_spacing) / 2;
        break;
    case taLeftJustify:
    default:
        firstX = m_margins;
        break;
    }
    const int top = (h - cellHeight) / 2;

    // The dots are drawn, not the strip's pixels: on a scaled display a
    // dot's pixel would cover one device pixel or two, so whole rows of dots
    // could vanish. Each dot is a square of one size on a grid of one pitch
    // in device pixels, the grid centred in the glyph's cell; at scale 1 and
    // every whole scale that is exactly the strip enlarged.
    const DotGrid grid = DotGrid::forScale(pixelart::scaleOf(p));
    const int extentX = 4 * grid.pitch + grid.dot, extentY = 8 * grid.pitch + grid.dot;
    for (int j = 0; j < run.count; ++j) {
        const qint64 x = firstX + j * pitch;
        if (x >= w)
            break;
        if (x + cellWidth <= 0)
            continue;
        const QRect cell = pixelart::deviceRect(p, QRectF(qreal(x), top, cellWidth, cellHeight))
                               .translated(-device.topLeft());
        const int left = cell.left() + (cell.width() - extentX) / 2;
        const int upper = cell.top() + (cell.height() - extentY) / 2;
        const QRgb colour = run.glyphs[j].colour;
        for (const QPoint dot : m_dots[run.glyphs[j].cell]) {
            // Dot rows and columns lie on odd strip pixels; the colon's even
            // rows fall halfway between two of them.
            const QRect square(left + grid.offset(dot.x()), upper + grid.offset(dot.y()), grid.dot, grid.dot);
            const QRect shown = square.intersected(picture.rect());
            for (int y = shown.top(); y <= shown.bottom(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
                std::fill(line + shown.left(), line + shown.right() + 1, colour);
            }
        }
    }
    return picture;
}

TDigitalDisplay::DotGrid TDigitalDisplay::DotGrid::forScale(qreal scale)
{
    // The pitch never exceeds the scaled one, so a glyph never grows into
    // its neighbour; the dot is half the pitch, rounded up.
    DotGrid grid;
    grid.pitch = qMax(2, qFloor(2 * scale + 1e-6));
    grid.dot = (grid.pitch + 1) / 2;
    return grid;
}

int TDigitalDisplay::DotGrid::offset(int stripPixel) const
{
    return qFloor((stripPixel - 1) * pitch / 2.0);
}

void TDigitalDisplay::collectDots()
{
    for (int cell = 0; cell < kCellCount; ++cell) {
        m_dots[cell].clear();
        if (m_strip.width() < kCellCount * cellWidth || m_strip.height() < cellHeight)
            continue;
        for (int v = 0; v < cellHeight; ++v)
            for (int u = 0; u < cellWidth; ++u)
                if (m_strip.pixel(cell * cellWidth + u, v) == kOlive)
                    m_dots[cell].append(QPoint(u, v));
    }
}
