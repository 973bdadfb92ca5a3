// Draws the sea battle's six cell pictures, 25 x 25 pixel art saved as
// 256-colour BMPs that the game loads by bare name from beside the program.
#include "bmpfile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using bmpfile::Rgb;

// The cells touch on the board, so each picture carries the grid line on its
// top and left edges and the water runs on unbroken beneath it.
constexpr int side = 25;

namespace vga {
constexpr Rgb black{0, 0, 0}, maroon{128, 0, 0}, red{255, 0, 0}, yellow{255, 255, 0}, white{255, 255, 255};
}

// The same blues and steel ramp as the sea battle icon, so board and icon
// belong together; an orange between red and yellow for the flames.
namespace tone {
constexpr Rgb sea0{0, 44, 120}, sea1{0, 80, 184}, sea2{60, 136, 232}, foam{184, 224, 255};
constexpr Rgb steel0{16, 16, 24}, steel1{40, 44, 56}, steel2{64, 72, 88}, steel3{96, 108, 128},
              steel4{140, 152, 168}, steel5{196, 204, 216};
constexpr Rgb orange{255, 144, 0};
}

using Legend = std::map<char, Rgb>;

class Cell {
public:
    Cell() { m_pixels.fill(tone::sea1); }

    static bool inside(int x, int y) { return x >= 0 && y >= 0 && x < side && y < side; }
    Rgb at(int x, int y) const { return m_pixels[std::size_t(y) * side + x]; }
    void set(int x, int y, Rgb c)
    {
        if (inside(x, y))
            m_pixels[std::size_t(y) * side + x] = c;
    }
    void fill(int x, int y, int w, int h, Rgb c)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                set(i, j, c);
    }

    // Rows of characters; a character missing from the legend leaves the pixel alone.
    void sprite(int x, int y, std::initializer_list<const char*> rows, const Legend& legend)
    {
        int j = y;
        for (const char* row : rows) {
            if (x + int(std::strlen(row)) > side || j >= side)
                throw std::runtime_error("a sprite row runs off the cell");
            for (int i = 0; row[i]; ++i) {
                const auto it = legend.find(row[i]);
                if (it != legend.end())
                    set(x + i, j, it->second);
            }
            ++j;
        }
    }

    void save(const std::string& path) const
    {
        std::vector<Rgb> palette;
        std::vector<std::uint8_t> indices;
        indices.reserve(m_pixels.size());
        for (const Rgb& p : m_pixels) {
            auto it = std::find(palette.begin(), palette.end(), p);
            if (it == palette.end()) {
                palette.push_back(p);
                it = palette.end() - 1;
            }
            indices.push_back(std::uint8_t(it - palette.begin()));
        }
        bmpfile::writeIndexed(path, side, side, 8, palette, indices);
    }

private:
    std::array<Rgb, side * side> m_pixels;
};

// ---------------------------------------------------------------------------
// Water: small crests on an even blue, kept clear of the cell's edges so that
// any two cells meet in plain water.

void crest(Cell& c, int x, int y)
{
    c.sprite(x, y, {"..fcc...", ".c...cc.", "c......c"}, {{'c', tone::sea2}, {'f', tone::foam}});
}

void water(Cell& c, bool crests = true)
{
    c.fill(0, 0, side, side, tone::sea1);
    if (crests) {
        crest(c, 3, 5);
        crest(c, 14, 10);
        crest(c, 5, 17);
    }
}

void gridLine(Cell& c)
{
    c.fill(0, 0, side, 1, tone::sea0);
    c.fill(0, 0, 1, side, tone::sea0);
}

// ---------------------------------------------------------------------------
// Ship parts: a square deck plate seen from above, the same from every side
// so that a ship reads alike lying across or along the board.

struct PlateTones {
    Rgb outline, light, face, shade, hatch, hatchRim, rivet;
};

constexpr int plateLo = 3, plateHi = 22; // inclusive, centred in the water between the grid lines

bool inPlate(int x, int y)
{
    if (x < plateLo || x > plateHi || y < plateLo || y > plateHi)
        return false;
    // Chamfered corners, as on a riveted steel box.
    return std::min(x - plateLo, plateHi - x) + std::min(y - plateLo, plateHi - y) >= 2;
}

// Whether a plate pixel lies within `k` pixels of the plate's rim.
bool nearRim(int x, int y, int k)
{
    return !inPlate(x - k, y) || !inPlate(x + k, y) || !inPlate(x, y - k) || !inPlate(x, y + k);
}

void plate(Cell& c, const PlateTones& t)
{
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            if (!inPlate(x, y))
                continue;
            if (nearRim(x, y, 1))
                c.set(x, y, t.outline);
            else if (!inPlate(x - 2, y) || !inPlate(x, y - 2))
                c.set(x, y, t.light);
            else if (!inPlate(x + 2, y) || !inPlate(x, y + 2))
                c.set(x, y, t.shade);
            else
                c.set(x, y, t.face);
        }
    // A round hatch in the middle and a rivet in each corner.
    const double m = (plateLo + plateHi) / 2.0 + 0.5;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double d = std::hypot(x + 0.5 - m, y + 0.5 - m);
            if (d <= 3.2)
                c.set(x, y, t.hatch);
            else if (d <= 4.4)
                c.set(x, y, t.hatchRim);
        }
    for (int y : {plateLo + 3, plateHi - 3})
        for (int x : {plateLo + 3, plateHi - 3})
            c.set(x, y, t.rivet);
}

const PlateTones& steelPlate()
{
    static const PlateTones t{vga::black, tone::steel5, tone::steel4, tone::steel3, tone::steel3, tone::steel1,
                              tone::steel2};
    return t;
}

void drawClear(Cell& c)
{
    water(c);
    gridLine(c);
}

void drawShip(Cell& c)
{
    water(c);
    plate(c, steelPlate());
    gridLine(c);
}

// The ship being placed: no plate yet, only a checkered ghost of the deck in
// a frame of yellow and black dashes, like a mark painted on the water.
void drawCursor(Cell& c)
{
    water(c);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            if (!inPlate(x, y))
                continue;
            if (nearRim(x, y, 2))
                c.set(x, y, ((x + y) / 4) % 2 ? vga::yellow : vga::black);
            else if ((x + y) % 2 == 0)
                c.set(x, y, tone::steel5);
        }
    gridLine(c);
}

// A hit: the deck plate on fire, hottest low in the middle.
void drawHit(Cell& c)
{
    drawShip(c);
    static const char* const flame[] = {
        ".....#......",
        ".....##.....",
        "....###.....",
        "....####..#.",
        ".#..####.##.",
        ".##.#######.",
        ".##########.",
        "############",
        "############",
        "############",
        "############",
        ".##########.",
        ".##########.",
        "..########..",
        "....####....",
    };
    const int left = 7, top = 4, rows = int(std::size(flame)), cols = int(std::strlen(flame[0]));
    auto lit = [&](int i, int j) { return i >= 0 && j >= 0 && i < cols && j < rows && flame[j][i] == '#'; };
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) {
            if (!lit(i, j))
                continue;
            Rgb col = vga::red;
            const double d = std::hypot(i + 0.5 - cols / 2.0, (j + 0.5 - 10.5) * 0.8);
            if (!lit(i - 1, j) || !lit(i + 1, j) || !lit(i, j - 1) || !lit(i, j + 1))
                col = vga::black;
            else if (d < 1.8)
                col = vga::white;
            else if (d < 3.2)
                col = vga::yellow;
            else if (d < 4.6)
                col = tone::orange;
            c.set(left + i, top + j, col);
        }
}

// A sunk part: the plate burnt out and crossed off, half awash.
void drawSunk(Cell& c)
{
    water(c);
    static const PlateTones wreck{vga::black, tone::steel2, tone::steel1, tone::steel0, tone::steel1,
                                  tone::steel1, tone::steel0};
    plate(c, wreck);
    for (int y = plateLo + 3; y <= plateHi - 3; ++y)
        for (int x = plateLo + 3; x <= plateHi - 3; ++x) {
            const int u = x - y, v = x + y - (plateLo + plateHi);
            if (std::abs(u) <= 1 || std::abs(v) <= 1)
                c.set(x, y, std::abs(u) == 0 || std::abs(v) == 0 ? vga::red : vga::maroon);
        }
    crest(c, 2, 19);
    crest(c, 15, 19);
    gridLine(c);
}

// A shot into the water: a splash in two rings of ripples. Crests would fray
// the rings, so this water is calm.
void drawMissed(Cell& c)
{
    water(c, false);
    const Legend legend = {{'f', tone::foam}, {'w', vga::white}, {'c', tone::sea2}};
    c.sprite(5, 6,
             {
                 "....ccccccc....",
                 "..cc.......cc..",
                 ".c...fffff...c.",
                 ".c..f.....f..c.",
                 "c..f..www..f..c",
                 "c..f.wwwww.f..c",
                 "c..f.wwwww.f..c",
                 "c..f.wwwww.f..c",
                 "c..f..www..f..c",
                 ".c..f.....f..c.",
                 ".c...fffff...c.",
                 "..cc.......cc..",
                 "....ccccccc....",
             },
             legend);
    gridLine(c);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seapictures <output dir>\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    try {
        const std::pair<const char*, void (*)(Cell&)> pictures[] = {
            {"seaclear.bmp", drawClear}, {"seaship.bmp", drawShip},     {"seaset.bmp", drawCursor},
            {"seagoal.bmp", drawHit},    {"seakilled.bmp", drawSunk}, {"seamissed.bmp", drawMissed}};
        for (const auto& [name, draw] : pictures) {
            Cell c;
            draw(c);
            c.save(dir + name);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_seapictures: %s\n", e.what());
        return 1;
    }
    return 0;
}
