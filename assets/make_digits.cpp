// Makes the glyph strip of the digital display: 69 cells of 11 x 19 pixels
// side by side, 16 colours, black background and olive dots. Each glyph is a
// 5 x 9 dot matrix with single-pixel dots two pixels apart, so a cell's outer
// rows and columns stay dark and the dots never touch.
#include "bmpfile.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kCellWidth = 11;
constexpr int kCellHeight = 19;
constexpr int kCells = 69;
constexpr int kRows = 9;

// One glyph: a row per matrix row, top first; bit 4 is the leftmost dot.
using Pattern = std::array<std::uint8_t, kRows>;

// The digits are given as row masks because the counters of every game
// window show them and their exact shapes are fixed.
constexpr std::array<Pattern, 10> kDigits = {{
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

// Everything else is drawn as pictures, a few glyphs per block, each five
// columns wide with one separating column; '#' is a lit dot.
using Block = std::array<const char*, kRows>;

// A B C D E F G H I
constexpr Block kLettersAtoI = {
    ".###. ####. .###. ####. ##### ##### .###. #...# .###.",
    "#...# #...# #...# #...# #.... #.... #...# #...# ..#..",
    "#...# #...# #.... #...# #.... #.... #.... #...# ..#..",
    "#...# #...# #.... #...# #.... #.... #.... #...# ..#..",
    "##### ####. #.... #...# ####. ####. #.### ##### ..#..",
    "#...# #...# #.... #...# #.... #.... #...# #...# ..#..",
    "#...# #...# #.... #...# #.... #.... #...# #...# ..#..",
    "#...# #...# #...# #...# #.... #.... #...# #...# ..#..",
    "#...# ####. .###. ####. ##### #.... .###. #...# .###.",
};

// J K L M N O P Q R
constexpr Block kLettersJtoR = {
    "..### #...# #.... #...# #...# .###. ####. .###. ####.",
    "....# #...# #.... ##.## ##..# #...# #...# #...# #...#",
    "....# #..#. #.... #.#.# ##..# #...# #...# #...# #...#",
    "....# #.#.. #.... #.#.# #.#.# #...# #...# #...# #...#",
    "....# ##... #.... #...# #.#.# #...# ####. #...# ####.",
    "....# #.#.. #.... #...# #.#.# #...# #.... #...# #.#..",
    "....# #..#. #.... #...# #..## #...# #.... #.#.# #..#.",
    "#...# #...# #.... #...# #..## #...# #.... #..#. #...#",
    ".###. #...# ##### #...# #...# .###. #.... .##.# #...#",
};

// S T U V W X Y Z
constexpr Block kLettersStoZ = {
    ".###. ##### #...# #...# #...# #...# #...# #####",
    "#...# ..#.. #...# #...# #...# #...# #...# ....#",
    "#.... ..#.. #...# #...# #...# .#.#. .#.#. ....#",
    "#.... ..#.. #...# #...# #...# .#.#. .#.#. ...#.",
    ".###. ..#.. #...# #...# #.#.# ..#.. ..#.. ..#..",
    "....# ..#.. #...# #...# #.#.# .#.#. ..#.. .#...",
    "....# ..#.. #...# .#.#. #.#.# .#.#. ..#.. #....",
    "#...# ..#.. #...# .#.#. ##.## #...# ..#.. #....",
    ".###. ..#.. .###. ..#.. #...# #...# ..#.. #####",
};

// . + - $ space ! @ #
constexpr Block kSignsStopToHash = {
    "..... ..... ..... ..#.. ..... ..#.. .###. .....",
    "..... ..... ..... .#### ..... ..#.. #...# .#.#.",
    "..... ..#.. ..... #.#.. ..... ..#.. #...# .#.#.",
    "..... ..#.. ..... #.#.. ..... ..#.. #.### #####",
    "..... ##### .###. .###. ..... ..#.. #.#.# .#.#.",
    "..... ..#.. ..... ..#.# ..... ..#.. #.### #####",
    "..... ..#.. ..... ..#.# ..... ..#.. #.... .#.#.",
    "..... ..... ..... ####. ..... ..... #...# .#.#.",
    "..#.. ..... ..... ..#.. ..... ..#.. .###. .....",
};

// % & * ( ) = backslash /
constexpr Block kSignsPercentToSlash = {
    "##... .##.. ..... ...#. .#... ..... #.... ....#",
    "##..# #..#. ..... ..#.. ..#.. ..... #.... ....#",
    "...#. #..#. #.#.# .#... ...#. ..... .#... ...#.",
    "...#. #.#.. .###. .#... ...#. ##### .#... ...#.",
    "..#.. .#... ##### .#... ...#. ..... ..#.. ..#..",
    ".#... #.#.# .###. .#... ...#. ##### ...#. .#...",
    ".#... #..#. #.#.# .#... ...#. ..... ...#. .#...",
    "#..## #..#. ..... ..#.. ..#.. ..... ....# #....",
    "...## .##.# ..... ...#. .#... ..... ....# #....",
};

// ? ; " , ' ^ _ |
constexpr Block kSignsQuestionToBar = {
    ".###. ..... .#.#. ..... ..#.. ..#.. ..... ..#..",
    "#...# ..... .#.#. ..... ..#.. .#.#. ..... ..#..",
    "....# ..#.. .#.#. ..... ..#.. #...# ..... ..#..",
    "....# ..#.. ..... ..... ..... ..... ..... ..#..",
    "...#. ..... ..... ..... ..... ..... ..... .....",
    "..#.. ..#.. ..... ..... ..... ..... ..... ..#..",
    "..#.. ..#.. ..... ..#.. ..... ..... ..... ..#..",
    "..... .#... ..... ..#.. ..... ..... ..... ..#..",
    "..#.. ..... ..... .#... ..... ..... ##### ..#..",
};

// { } [ ] < > degree pound
constexpr Block kSignsBraceToPound = {
    "...## ##... .###. .###. ....# #.... .###. ..##.",
    "..#.. ..#.. .#... ...#. ...#. .#... .#.#. .#..#",
    "..#.. ..#.. .#... ...#. ..#.. ..#.. .###. .#...",
    "..#.. ..#.. .#... ...#. .#... ...#. ..... .#...",
    ".#... ...#. .#... ...#. #.... ....# ..... ####.",
    "..#.. ..#.. .#... ...#. .#... ...#. ..... .#...",
    "..#.. ..#.. .#... ...#. ..#.. ..#.. ..... .#...",
    "..#.. ..#.. .#... ...#. ...#. .#... ..... .#...",
    "...## ##... .###. .###. ....# #.... ..... #####",
};

void appendBlock(std::vector<Pattern>& cells, const Block& block)
{
    const std::size_t width = std::strlen(block[0]);
    if ((width + 1) % 6 != 0)
        throw std::runtime_error("glyph block of a bad width");
    const std::size_t count = (width + 1) / 6;
    for (std::size_t g = 0; g < count; ++g) {
        Pattern p{};
        for (int row = 0; row < kRows; ++row) {
            if (std::strlen(block[row]) != width)
                throw std::runtime_error("glyph block with rows of unequal width");
            for (int col = 0; col < 5; ++col) {
                const char c = block[row][g * 6 + col];
                if (c == '#')
                    p[row] |= std::uint8_t(0x10 >> col);
                else if (c != '.')
                    throw std::runtime_error("stray character in a glyph block");
            }
        }
        cells.push_back(p);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_digits <output dir>\n";
        return 2;
    }
    try {
        // Cell order: A-Z, 0-9, colon, the signs, degree, pound.
        std::vector<Pattern> cells;
        appendBlock(cells, kLettersAtoI);
        appendBlock(cells, kLettersJtoR);
        appendBlock(cells, kLettersStoZ);
        cells.insert(cells.end(), kDigits.begin(), kDigits.end());
        const std::size_t colonCell = cells.size();
        cells.push_back(Pattern{}); // drawn below, off the dot grid
        appendBlock(cells, kSignsStopToHash);
        appendBlock(cells, kSignsPercentToSlash);
        appendBlock(cells, kSignsQuestionToBar);
        appendBlock(cells, kSignsBraceToPound);
        if (cells.size() != kCells)
            throw std::runtime_error("the strip needs exactly 69 glyphs");

        const auto palette = bmpfile::vga16();
        const std::uint8_t dark = bmpfile::indexOf(palette, {0, 0, 0});
        const std::uint8_t lit = bmpfile::indexOf(palette, {128, 128, 0});
        const int width = kCells * kCellWidth;
        std::vector<std::uint8_t> pixels(std::size_t(width) * kCellHeight, dark);
        auto light = [&](std::size_t cell, int x, int y) {
            pixels[std::size_t(y) * width + cell * kCellWidth + x] = lit;
        };
        for (std::size_t cell = 0; cell < cells.size(); ++cell)
            for (int row = 0; row < kRows; ++row)
                for (int col = 0; col < 5; ++col)
                    if (cells[cell][row] & (0x10 >> col))
                        light(cell, 1 + 2 * col, 1 + 2 * row);
        // The colon's two pairs sit between the grid rows so that it centres
        // on the digits' height.
        for (int y : {6, 8, 12, 14})
            light(colonCell, 5, y);

        bmpfile::writeIndexed(std::string(argv[1]) + "/digits.bmp", width, kCellHeight, 4, palette, pixels);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
