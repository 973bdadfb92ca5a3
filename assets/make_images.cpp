// Draws the program's icons, button glyphs and minesweeper cell symbols as
// pixel art: the icons and symbols as PNG with alpha, the button glyphs as
// palette BMPs whose bottom-left pixel is the transparent colour.
#include "bmpfile.h"

#include <QImage>
#include <QPointF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr QRgb clear = 0;

// The classic 16 colours; the 16-colour glyphs use nothing else.
namespace vga {
constexpr QRgb black = 0xff000000, maroon = 0xff800000, green = 0xff008000, olive = 0xff808000,
               navy = 0xff000080, purple = 0xff800080, teal = 0xff008080, gray = 0xff808080,
               silver = 0xffc0c0c0, red = 0xffff0000, lime = 0xff00ff00, yellow = 0xffffff00,
               blue = 0xff0000ff, fuchsia = 0xffff00ff, aqua = 0xff00ffff, white = 0xffffffff;
}

// The few extra tones of the 256-colour glyphs and the icons: a bluish steel
// ramp for the mine, the warship and the joystick, the warship's hull and
// deck, three blues and foam for the sea, and the lit and shaded sides of a
// red knob.
namespace tone {
constexpr QRgb steel0 = 0xff101018, steel1 = 0xff282c38, steel2 = 0xff404858, steel3 = 0xff606c80,
               steel4 = 0xff8c98a8, steel5 = 0xffc4ccd8, hull = 0xff4c5868, deck = 0xffa8b0bc,
               sea0 = 0xff002c78, sea1 = 0xff0050b8, sea2 = 0xff3c88e8, foam = 0xffb8e0ff,
               pink = 0xffff8080, ember = 0xffc00000;
}

using Legend = std::map<char, QRgb>;

// A picture under construction; fully transparent pixels are background.
class Canvas {
public:
    Canvas(int width, int height)
        : m_image(width, height, QImage::Format_ARGB32)
    {
        m_image.fill(clear);
    }

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    const QImage& image() const { return m_image; }

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }
    QRgb at(int x, int y) const { return inside(x, y) ? m_image.pixel(x, y) : clear; }
    void set(int x, int y, QRgb c)
    {
        if (inside(x, y))
            m_image.setPixel(x, y, c);
    }

    void fill(int x, int y, int w, int h, QRgb c)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                set(i, j, c);
    }

    // A one-pixel frame: top and left edges in tl, bottom and right in br.
    void bevel(int x, int y, int w, int h, QRgb tl, QRgb br)
    {
        fill(x, y, w, 1, tl);
        fill(x, y, 1, h, tl);
        fill(x, y + h - 1, w, 1, br);
        fill(x + w - 1, y, 1, h, br);
    }

    // Every pixel whose centre lies inside the polygon (coordinates in pixels).
    void polygon(std::initializer_list<QPointF> points, QRgb c)
    {
        const QPolygonF poly{QList<QPointF>(points)};
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (poly.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill))
                    set(x, y, c);
    }

    // Rows of characters; a character missing from the legend leaves the pixel alone.
    void sprite(int x, int y, std::initializer_list<const char*> rows, const Legend& legend)
    {
        int j = y;
        for (const char* row : rows) {
            if (x + int(std::strlen(row)) > width() || j >= height())
                throw std::runtime_error("a sprite row runs off the picture");
            for (int i = 0; row[i]; ++i) {
                const auto it = legend.find(row[i]);
                if (it != legend.end())
                    set(x + i, j, it->second);
            }
            ++j;
        }
    }

    // Rings everything drawn so far with a one-pixel line (4-neighbourhood).
    void outline(QRgb c)
    {
        const Canvas before = *this;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (before.at(x, y) == clear
                    && (before.at(x - 1, y) != clear || before.at(x + 1, y) != clear || before.at(x, y - 1) != clear
                        || before.at(x, y + 1) != clear))
                    set(x, y, c);
    }

    // Copies another canvas's opaque pixels onto this one at (x, y).
    void paste(const Canvas& other, int x, int y)
    {
        for (int j = 0; j < other.height(); ++j)
            for (int i = 0; i < other.width(); ++i)
                if (other.at(i, j) != clear)
                    set(x + i, y + j, other.at(i, j));
    }

private:
    QImage m_image;
};

// Three-by-five digits for the puzzle tiles.
void digit(Canvas& c, int x, int y, int d, QRgb ink)
{
    static const char* const font[10][5] = {
        {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"}, {"###", "..#", "###", "#..", "###"},
        {"###", "..#", ".##", "..#", "###"}, {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
        {"###", "#..", "###", "#.#", "###"}, {"###", "..#", "..#", ".#.", ".#."}, {"###", "#.#", "###", "#.#", "###"},
        {"###", "#.#", "###", "..#", "###"}};
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 3; ++i)
            if (font[d][j][i] == '#')
                c.set(x + i, y + j, ink);
}

// ---------------------------------------------------------------------------
// Fifteen puzzle: a tray of bevelled silver tiles with navy numbers, one gap.

// A raised tile of size s at (x, y), its number centred.
void puzzleTile(Canvas& c, int x, int y, int s, int number)
{
    c.fill(x, y, s, s, vga::silver);
    c.bevel(x, y, s, s, vga::white, vga::gray);
    if (number > 0)
        digit(c, x + (s - 3) / 2, y + (s - 4) / 2, number, vga::navy);
}

void drawFifteen32(Canvas& c)
{
    // A drop shadow one pixel down and right, then the board: black grid
    // lines between the tiles, the gap a dark hole.
    c.fill(1, 1, 31, 31, vga::gray);
    c.fill(0, 0, 31, 31, vga::black);
    const int order[9] = {1, 2, 3, 4, 5, 6, 7, 0, 8};
    for (int k = 0; k < 9; ++k) {
        const int x = 1 + 10 * (k % 3), y = 1 + 10 * (k / 3);
        if (order[k])
            puzzleTile(c, x, y, 9, order[k]);
        else
            c.fill(x, y, 9, 9, vga::gray);
    }
}

void drawFifteen16(Canvas& c)
{
    // Too small for bevelled tiles: each tile is lit on its top and left
    // edges and the black grid is its shadow.
    c.fill(1, 1, 15, 15, vga::gray);
    c.fill(0, 0, 15, 15, vga::black);
    const int numbers[3] = {1, 2, 3};
    for (int k = 0; k < 3; ++k) {
        const int x = 1 + 7 * (k % 2), y = 1 + 7 * (k / 2);
        c.fill(x, y, 6, 6, vga::silver);
        c.fill(x, y, 6, 1, vga::white);
        c.fill(x, y, 1, 6, vga::white);
        digit(c, x + 2, y + 1, numbers[k], vga::navy);
    }
    c.fill(8, 8, 6, 6, vga::gray);
}

// ---------------------------------------------------------------------------
// Minesweeper: a shaded sea mine with spikes.

void drawMine(Canvas& c)
{
    const int s = c.width();
    const double m = s / 2.0;
    const double r = s * 0.30;
    const double spike = s * 0.47, diag = s * 0.40;
    const double half = s >= 24 ? 1.0 : 0.5; // spike half-thickness

    // Spikes: four long ones on the axes, four short ones on the diagonals.
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            const double dx = x + 0.5 - m, dy = y + 0.5 - m;
            const bool axis = (std::abs(dx) <= half && std::abs(dy) <= spike)
                              || (std::abs(dy) <= half && std::abs(dx) <= spike);
            const double u = (dx + dy) / std::sqrt(2.0), v = (dx - dy) / std::sqrt(2.0);
            const bool cross = (std::abs(u) <= half * 1.1 && std::abs(v) <= diag)
                               || (std::abs(v) <= half * 1.1 && std::abs(u) <= diag);
            if (axis || cross)
                c.set(x, y, tone::steel1);
        }

    // The body, lit from the upper left.
    const double lx = -0.45, ly = -0.55, lz = 0.70;
    const QRgb ramp[] = {tone::steel0, tone::steel1, tone::steel2, tone::steel3, tone::steel4};
    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) {
            const double nx = (x + 0.5 - m) / r, ny = (y + 0.5 - m) / r;
            const double q = nx * nx + ny * ny;
            if (q > 1.0)
                continue;
            const double nz = std::sqrt(1.0 - q);
            const double light = std::max(0.0, nx * lx + ny * ly + nz * lz);
            c.set(x, y, ramp[std::min(4, int(light * light * 5.0))]);
        }
    // A hard glint.
    const int g = int(m - r * 0.45);
    const int gs = s >= 24 ? 2 : 1;
    c.fill(g, g, gs, gs, vga::white);
    c.outline(vga::black);
}

// ---------------------------------------------------------------------------
// Minesweeper cells, which have no symbol font to draw from: a bomb for the
// mines of a lost game, a skull and crossbones for those of a won one.

// A round black bomb with a capped fuse burning at its tip; white and yellow
// keep the spark visible on the red face of the mine that went off.
void drawBomb(Canvas& c)
{
    const double cx = 5.5, cy = 9.5, r = 5.5;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r)
                c.set(x, y, vga::black);
    const Legend legend = {{'k', vga::black}, {'g', vga::gray}, {'s', vga::silver}, {'w', vga::white},
                           {'y', vga::yellow}, {'o', vga::olive}};
    c.sprite(0, 0,
             {
                 "...........y...",
                 ".............y.",
                 "...........oywy",
                 "..........o..y.",
                 ".........kk...y",
                 "........kgsk...",
                 ".........kgk...",
                 "..........k....",
                 "...ww..........",
                 "..w............",
                 "..w............",
             },
             legend);
}

// Fuchsia with a dark purple rim; only the sockets, the nose and the gaps
// between the teeth are black, so that the fuchsia outweighs the dark. The
// bones cross under the jaw with their knobbed ends at the four corners; the
// rim closes the notch between them, which would otherwise show the cell.
void drawSkull(Canvas& c)
{
    const Legend legend = {{'k', vga::black}, {'f', vga::fuchsia}, {'p', vga::purple}};
    c.sprite(0, 9,
             {
                 ".ff.........ff.",
                 ".ffffff.ffffff.",
                 "....fffffff....",
                 ".ffffff.ffffff.",
                 ".ff.........ff.",
             },
             legend);
    c.outline(vga::purple);
    c.sprite(0, 0,
             {
                 "....ppppppp....",
                 "...pfffffffp...",
                 "..pfffffffffp..",
                 "..pfkkkfkkkfp..",
                 "..pfkkkfkkkfp..",
                 "..pffffkffffp..",
                 "...pfffkfffp...",
                 "....pfkfkfp....",
                 "....ppppppp....",
                 ".......p.......",
             },
             legend);
}

// ---------------------------------------------------------------------------
// Sea battle: a grey warship on blue waves.

const Legend& shipLegend()
{
    static const Legend legend = {{'k', vga::black}, {'r', vga::red},     {'w', vga::white},   {'H', tone::hull},
                                  {'d', tone::deck},  {'s', tone::steel5}, {'n', tone::steel4}, {'e', tone::steel3},
                                  {'v', tone::steel1}, {'f', tone::foam},  {'c', tone::sea2},   {'b', tone::sea1},
                                  {'B', tone::sea0}};
    return legend;
}

// Waves along rows top .. bottom: a two-pixel crest every `period` pixels,
// the rows shortened at both ends so that the corners stay clear. The hull
// drawn before must reach down into the troughs, or the background shows
// between ship and water.
void sea(Canvas& c, int top, int bottom, int period)
{
    const int w = c.width();
    for (int x = 0; x < w; ++x) {
        const int phase = x % period;
        const int crest = phase == 0 || phase == period - 1 ? 0 : 1;
        for (int y = top + crest; y <= bottom; ++y) {
            const int inset = 1 + std::max(0, y - (bottom - 1)) * 2;
            if (x < inset || x >= w - inset)
                continue;
            QRgb col = tone::sea1;
            if (y == top + crest)
                col = crest == 0 ? tone::foam : tone::sea2;
            else if (y >= bottom - (bottom - top) / 4)
                col = tone::sea0;
            c.set(x, y, col);
        }
    }
}

void drawSea26(Canvas& c)
{
    c.sprite(0, 0,
             {
                 "..........................",
                 "...............k..........",
                 "...............krrrr......",
                 "...............krrrr......",
                 "..............kkk.........",
                 "........kkkk...k..........",
                 "........kvvk...k..........",
                 "........keekkkkkkk........",
                 "........keekndndnk........",
                 "........keeknnnnnk........",
                 ".......kkkkkkkkkkk........",
                 ".......ksssssssssk........",
                 "..kkkk.kswswswswsk.kkkk...",
                 "vvknnk.ksssssssssk.knnkvvv",
                 "kkkkkkkkkkkkkkkkkkkkkkkkkk",
                 "kddddddddddddddddddddddddk",
                 ".kHHHHHHHHHHHHHHHHHHHHHHk.",
                 "..kHHHHHHHHHHHHHHHHHHHHk..",
                 "..kHHHHHHHHHHHHHHHHHHHk...",
                 "...krrrrrrrrrrrrrrrrrrk...",
                 "....kkkkkkkkkkkkkkkkkk....",
             },
             shipLegend());
    sea(c, 19, 24, 6);
}

void drawSea32(Canvas& c)
{
    c.sprite(0, 0,
             {
                 "................................",
                 "...................k............",
                 "...................krrrrr.......",
                 "...................krrrrr.......",
                 "...................krrrrr.......",
                 "..................kkk...........",
                 "...................k............",
                 ".........kkkkk.....k............",
                 ".........kvvvk.....k............",
                 ".........keeekkkkkkkkk..........",
                 ".........keeeknnnnnnnk..........",
                 ".........keeekndndndnk..........",
                 ".........keeeknnnnnnnk..........",
                 "........kkkkkkkkkkkkkkk.........",
                 "........ksssssssssssssk.........",
                 "..kkkkk.kswswswswswswsk.kkkkk...",
                 "vvknnnk.ksssssssssssssk.knnnkvvv",
                 "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
                 "kddddddddddddddddddddddddddddddk",
                 ".kHHHHHHHHHHHHHHHHHHHHHHHHHHHHk.",
                 "..kHHHHHHHHHHHHHHHHHHHHHHHHHHk..",
                 "...kHHHHHHHHHHHHHHHHHHHHHHHHk...",
                 "...kHHHHHHHHHHHHHHHHHHHHHHHHk...",
                 "...krrrrrrrrrrrrrrrrrrrrrrrrk...",
                 "....kkkkkkkkkkkkkkkkkkkkkkkk....",
             },
             shipLegend());
    sea(c, 23, 30, 8);
}

void drawSea16(Canvas& c)
{
    c.sprite(0, 0,
             {
                 "................",
                 ".........k......",
                 ".........krrr...",
                 ".........krrr...",
                 "....kkk..k......",
                 "....kvk.kkkk....",
                 "....kek.kndk....",
                 "...kkkkkkkkkk...",
                 "...kswswswswk...",
                 "kkkkkkkkkkkkkkkk",
                 "kddddddddddddddk",
                 ".kHHHHHHHHHHHHk.",
                 "..krrrrrrrrrrk..",
                 ".fcbbfcbbfcbbfc.",
                 ".bbbbbbbbbbbbbb.",
                 "...BBBBBBBBBB...",
             },
             shipLegend());
}

// ---------------------------------------------------------------------------
// Exit: an open door with daylight beyond it.

void drawDoor(Canvas& c)
{
    // Daylight and grass through the doorway; the leaf has swung out and away,
    // so its free edge is shorter than the hinge edge.
    const Legend legend = {{'k', vga::black}, {'o', vga::olive}, {'y', vga::yellow}, {'a', vga::aqua},
                           {'g', vga::green}};
    c.sprite(0, 0,
             {
                 "................",
                 ".kkkkkkkkkk.....",
                 ".kaaaaaaakykk...",
                 ".kaaaaaaakyookk.",
                 ".kaaaaaaakyoook.",
                 ".kaaaaaaakyoook.",
                 ".kaaaaaaakyoook.",
                 ".kaaaaaaakyoook.",
                 ".kaaaaaaakyokok.",
                 ".kgggggggkyoook.",
                 ".kgggggggkyoook.",
                 ".kgggggggkyoook.",
                 ".kgggggggkyookk.",
                 ".kgggggggkykk...",
                 ".kkkkkkkkkk.....",
                 "................",
             },
             legend);
}

// The classic greyed look of a disabled button: the black lines of the
// picture as a grey engraving with a white copy one pixel down and right.
Canvas engraved(const Canvas& src)
{
    Canvas out(src.width(), src.height());
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (src.at(x, y) == vga::black)
                out.set(x + 1, y + 1, vga::white);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (src.at(x, y) == vga::black)
                out.set(x, y, vga::gray);
    return out;
}

// ---------------------------------------------------------------------------
// Pause: two upright bars.

void drawPause(Canvas& c)
{
    // Blue bars lit from the upper left; black outlines, so that the greyed
    // copy keeps their shape.
    const Legend legend = {{'k', vga::black}, {'b', vga::blue}, {'a', vga::aqua}, {'n', vga::navy}};
    for (int x : {2, 9}) {
        c.sprite(x, 2, {"kkkkk", "kaabk"}, legend);
        for (int y = 4; y < 12; ++y)
            c.sprite(x, y, {"kabnk"}, legend);
        c.sprite(x, 12, {"kbnnk", "kkkkk"}, legend);
    }
}

// ---------------------------------------------------------------------------
// Dialog buttons: a green tick and a red cross.

void drawTick(Canvas& c)
{
    const Legend legend = {{'g', vga::green}, {'l', vga::lime}, {'k', vga::black}};
    c.sprite(0, 0,
             {
                 "..................",
                 "..................",
                 "..................",
                 "..............k...",
                 ".............klk..",
                 "............klgk..",
                 "...........klggk..",
                 "..k.......kgggk...",
                 ".klk.....klggk....",
                 ".klgk...klggk.....",
                 ".klggk.klggk......",
                 "..kgggkgggk.......",
                 "...kgggggk........",
                 "....kgggk.........",
                 ".....kgk..........",
                 "......k...........",
                 "..................",
                 "..................",
             },
             legend);
}

void drawCross(Canvas& c)
{
    // Two strokes three pixels wide crossing at (8, 9), outlined like the tick.
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const int u = x - 8, v = y - 9;
            if (std::max(std::abs(u), std::abs(v)) <= 5 && (std::abs(u - v) <= 1 || std::abs(u + v) <= 1))
                c.set(x, y, vga::red);
        }
    c.outline(vga::black);
}

// ---------------------------------------------------------------------------
// Application icon: a joystick, the sign of a game collection.

const Legend& joystickLegend()
{
    static const Legend legend = {{'k', vga::black},   {'r', vga::red},     {'m', vga::maroon},
                                  {'l', tone::pink},    {'0', tone::steel0}, {'1', tone::steel1},
                                  {'3', tone::steel3},  {'4', tone::steel4}, {'5', tone::steel5}};
    return legend;
}

void drawJoystick32(Canvas& c)
{
    // Base: a slab seen from above and in front, its top edge catching the light.
    c.polygon({QPointF(5, 19), QPointF(27, 19), QPointF(31, 25), QPointF(1, 25)}, tone::steel3);
    c.fill(6, 19, 21, 1, tone::steel4);
    c.fill(1, 25, 30, 3, tone::steel1);
    // Stick with its rubber boot.
    c.fill(15, 9, 1, 12, tone::steel5);
    c.fill(16, 9, 1, 12, tone::steel3);
    c.polygon({QPointF(13, 20), QPointF(19, 20), QPointF(20, 22.5), QPointF(12, 22.5)}, tone::steel0);
    // Knob, lit from the upper left.
    const double cx = 16, cy = 7, r = 5.5;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const double nx = (x + 0.5 - cx) / r, ny = (y + 0.5 - cy) / r;
            if (nx * nx + ny * ny > 1.0)
                continue;
            const double light = -0.6 * nx - 0.7 * ny;
            c.set(x, y, light > 0.55 ? tone::pink : light > -0.35 ? vga::red : vga::maroon);
        }
    c.set(int(cx - r * 0.45), int(cy - r * 0.45), vga::white);
    c.outline(vga::black);
    // Fire button.
    c.sprite(5, 20, {".kkkk.", "krllrk", "krrrrk", "kmmmmk", ".kkkk."}, joystickLegend());
}

void drawJoystick16(Canvas& c)
{
    c.sprite(0, 0,
             {
                 "................",
                 "......kkkk......",
                 ".....kllrrk.....",
                 ".....klrrrk.....",
                 ".....krrrmk.....",
                 "......kkkk......",
                 ".......53.......",
                 ".......53.......",
                 ".......53.......",
                 "...kkk0000kkk...",
                 "..k4444444444k..",
                 ".k3krrk3333333k.",
                 "k3333kk33333333k",
                 "k11111111111111k",
                 "kkkkkkkkkkkkkkkk",
                 "................",
             },
             joystickLegend());
}

// The same joystick drawn at any other size of the desktop's icon theme:
// each shape is laid out in the 32-pixel design's units and filled pixel by
// pixel at the size asked for, so every size is as sharp as the 32-pixel
// one. Lines that would vanish at small sizes keep at least a pixel, and
// the outline grows with the picture; large sizes get a rounder knob.
void drawJoystick(Canvas& c)
{
    const int s = c.width();
    const double k = s / 32.0;
    const int line = std::max(1, int(std::lround(k)));
    const int ink = std::max(1, s / 64); // the black outline's thickness
    auto at = [k](double x, double y) { return QPointF(x * k, y * k); };
    // Pixels whose centres lie in the ellipse (design units), with the
    // ellipse's own normalised coordinates handed to `shade`.
    auto ellipse = [&](double cx, double cy, double rx, double ry, auto shade) {
        for (int y = 0; y < s; ++y)
            for (int x = 0; x < s; ++x) {
                const double nx = ((x + 0.5) / k - cx) / rx, ny = ((y + 0.5) / k - cy) / ry;
                if (nx * nx + ny * ny <= 1.0)
                    c.set(x, y, shade(nx, ny));
            }
    };

    // Base: a slab seen from above and in front, its top edge catching the
    // light, its front in shadow.
    c.polygon({at(5, 19), at(27, 19), at(31, 25), at(1, 25)}, tone::steel3);
    c.fill(int(6 * k), int(19 * k), int(21 * k), line, tone::steel4);
    c.fill(int(1 * k), int(25 * k), int(30 * k), std::max(2, int(std::lround(3 * k))), tone::steel1);
    // Stick, lit on its left, and its rubber boot.
    const int stick = std::max(2, int(std::lround(2 * k)));
    const int stickLeft = int(std::lround(16 * k)) - stick / 2;
    c.fill(stickLeft, int(9 * k), stick / 2, int(12 * k), tone::steel5);
    c.fill(stickLeft + stick / 2, int(9 * k), stick - stick / 2, int(12 * k), tone::steel3);
    c.polygon({at(13, 20), at(19, 20), at(20, 22.5), at(12, 22.5)}, tone::steel0);
    // Knob, lit from the upper left; from 64 pixels on it is a shaded ball
    // with two more tones, below that the three bands of the small icon.
    const bool round = s >= 64;
    ellipse(16, 7, 5.5, 5.5, [round](double nx, double ny) {
        if (!round) {
            const double light = -0.6 * nx - 0.7 * ny;
            return light > 0.55 ? tone::pink : light > -0.35 ? vga::red : vga::maroon;
        }
        const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
        const double light = -0.45 * nx - 0.55 * ny + 0.70 * nz;
        return light > 0.93 ? vga::white : light > 0.75 ? tone::pink : light > 0.35 ? vga::red
               : light > 0.05 ? tone::ember : vga::maroon;
    });
    if (!round)
        c.fill(int((16 - 5.5 * 0.45) * k), int((7 - 5.5 * 0.45) * k), line, line, vga::white);
    for (int i = 0; i < ink; ++i)
        c.outline(vga::black);
    // Fire button, ringed on its own since it lies on the base; below 32
    // pixels its ring would swallow the base, so it is smaller there.
    const double rx = s < 32 ? 2.4 : 3.0, ry = s < 32 ? 1.9 : 2.5;
    ellipse(8, 22.5, rx + ink / k, ry + ink / k, [](double, double) { return vga::black; });
    ellipse(8, 22.5, rx, ry, [](double nx, double ny) {
        return ny > 0.45 ? vga::maroon : (nx + ny < -0.6 ? tone::pink : vga::red);
    });
}

// ---------------------------------------------------------------------------
// Output.

void savePng(const Canvas& c, const std::string& path)
{
    if (!c.image().save(QString::fromStdString(path), "PNG"))
        throw std::runtime_error("cannot write " + path);
}

bmpfile::Rgb rgbOf(QRgb c) { return {std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c))}; }

// Writes a glyph as a palette BMP: the background becomes `key`, which the
// picture itself must not use, and the bottom-left pixel must be background
// because that is where the buttons look for the transparent colour.
void saveGlyph(const Canvas& c, const std::string& path, int bits, const std::vector<bmpfile::Rgb>& palette,
               QRgb key)
{
    if (c.at(0, c.height() - 1) != clear)
        throw std::runtime_error("the bottom-left pixel of " + path + " is not background");
    std::vector<std::uint8_t> pixels;
    pixels.reserve(std::size_t(c.width()) * c.height());
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const QRgb p = c.at(x, y);
            if (p != clear && (qAlpha(p) != 255 || (p & 0xffffff) == (key & 0xffffff)))
                throw std::runtime_error("a pixel of " + path + " is translucent or the key colour");
            pixels.push_back(bmpfile::indexOf(palette, rgbOf(p == clear ? key : p)));
        }
    bmpfile::writeIndexed(path, c.width(), c.height(), bits, palette, pixels);
}

// A 256-colour palette: the key colour first, then the picture's own colours.
std::vector<bmpfile::Rgb> paletteOf(const Canvas& c, QRgb key)
{
    std::vector<bmpfile::Rgb> palette{rgbOf(key)};
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const QRgb p = c.at(x, y);
            if (p != clear && std::find(palette.begin(), palette.end(), rgbOf(p)) == palette.end())
                palette.push_back(rgbOf(p));
        }
    if (palette.size() > 256)
        throw std::runtime_error("more than 256 colours in a glyph");
    return palette;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_images <output dir>\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    // Fuchsia marks every glyph's background: no picture uses it. In the
    // 256-colour glyphs it is palette entry 0 and no other.
    const QRgb key = vga::fuchsia;
    try {
        Canvas fifteen32(32, 32), fifteen16(16, 16);
        drawFifteen32(fifteen32);
        drawFifteen16(fifteen16);
        savePng(fifteen32, dir + "fifteen32.png");
        savePng(fifteen16, dir + "fifteen16.png");
        saveGlyph(fifteen32, dir + "glyph_fifteen.bmp", 4, bmpfile::vga16(), key);

        Canvas mine26(26, 26), mine32(32, 32), mine16(16, 16);
        drawMine(mine26);
        drawMine(mine32);
        drawMine(mine16);
        savePng(mine32, dir + "saper32.png");
        savePng(mine16, dir + "saper16.png");
        saveGlyph(mine26, dir + "glyph_saper.bmp", 8, paletteOf(mine26, key), key);

        Canvas sea26(26, 26), sea32(32, 32), sea16(16, 16);
        drawSea26(sea26);
        drawSea32(sea32);
        drawSea16(sea16);
        savePng(sea32, dir + "sea32.png");
        savePng(sea16, dir + "sea16.png");
        saveGlyph(sea26, dir + "glyph_sea.bmp", 8, paletteOf(sea26, key), key);

        Canvas door(16, 16), exitStrip(32, 16);
        drawDoor(door);
        exitStrip.paste(door, 0, 0);
        exitStrip.paste(engraved(door), 16, 0);
        saveGlyph(exitStrip, dir + "glyph_exit.bmp", 4, bmpfile::vga16(), key);

        Canvas pause(16, 16), pauseStrip(32, 16);
        drawPause(pause);
        pauseStrip.paste(pause, 0, 0);
        pauseStrip.paste(engraved(pause), 16, 0);
        saveGlyph(pauseStrip, dir + "glyph_pause.bmp", 4, bmpfile::vga16(), key);

        Canvas bomb(15, 15), skull(15, 15);
        drawBomb(bomb);
        drawSkull(skull);
        savePng(bomb, dir + "bomb.png");
        savePng(skull, dir + "skull.png");

        Canvas tick(18, 18), cross(18, 18);
        drawTick(tick);
        drawCross(cross);
        saveGlyph(tick, dir + "glyph_ok.bmp", 4, bmpfile::vga16(), key);
        saveGlyph(cross, dir + "glyph_cancel.bmp", 4, bmpfile::vga16(), key);

        Canvas app32(32, 32), app16(16, 16);
        drawJoystick32(app32);
        drawJoystick16(app16);
        savePng(app32, dir + "app32.png");
        savePng(app16, dir + "app16.png");

        // The application icon for the desktop's menus, at every size of
        // the icon theme; 16 and 32 are the window icons themselves.
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            Canvas icon(size, size);
            if (size == 16)
                drawJoystick16(icon);
            else if (size == 32)
                drawJoystick32(icon);
            else
                drawJoystick(icon);
            savePng(icon, dir + "tivorama-" + std::to_string(size) + ".png");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_images: %s\n", e.what());
        return 1;
    }
    return 0;
}
