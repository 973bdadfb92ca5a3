// Writing Windows BMP files with a palette (4 or 8 bits per pixel) or 24-bit
// colour, uncompressed, for the asset generators. QImage cannot write 4-bit
// files, and the digit strip and the 16-colour glyphs must be exactly that.
#pragma once

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace bmpfile {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The 16 colours of the classic VGA palette, in the usual order.
inline std::vector<Rgb> vga16()
{
    return {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
            {0, 128, 128},   {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}

namespace detail {
inline void put16(std::vector<std::uint8_t>& v, std::uint32_t x)
{
    v.push_back(x & 0xff);
    v.push_back((x >> 8) & 0xff);
}
inline void put32(std::vector<std::uint8_t>& v, std::uint32_t x)
{
    put16(v, x & 0xffff);
    put16(v, x >> 16);
}
inline void save(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}
} // namespace detail

// Indexed picture: `pixels` holds width*height palette indices, top row first.
// bits is 4 or 8; the palette is written with 2^bits entries.
inline void writeIndexed(const std::string& path, int width, int height, int bits, const std::vector<Rgb>& palette,
                         const std::vector<std::uint8_t>& pixels)
{
    if ((bits != 4 && bits != 8) || pixels.size() != std::size_t(width) * height)
        throw std::runtime_error("bad indexed picture for " + path);
    const int colours = 1 << bits;
    const int rowBytes = ((width * bits + 31) / 32) * 4;
    const std::uint32_t offset = 14 + 40 + 4 * colours;
    const std::uint32_t imageSize = std::uint32_t(rowBytes) * height;
    std::vector<std::uint8_t> v;
    v.push_back('B');
    v.push_back('M');
    detail::put32(v, offset + imageSize);
    detail::put32(v, 0);
    detail::put32(v, offset);
    detail::put32(v, 40);
    detail::put32(v, std::uint32_t(width));
    detail::put32(v, std::uint32_t(height));
    detail::put16(v, 1);
    detail::put16(v, std::uint16_t(bits));
    detail::put32(v, 0); // BI_RGB, no compression
    detail::put32(v, imageSize);
    detail::put32(v, 2835);
    detail::put32(v, 2835);
    detail::put32(v, std::uint32_t(colours));
    detail::put32(v, 0);
    for (int i = 0; i < colours; ++i) {
        const Rgb c = i < int(palette.size()) ? palette[i] : Rgb{};
        v.push_back(c.b);
        v.push_back(c.g);
        v.push_back(c.r);
        v.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(rowBytes, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t index = pixels[std::size_t(y) * width + x];
            if (index >= colours)
                throw std::runtime_error("palette index out of range in " + path);
            if (bits == 8)
                row[x] = index;
            else
                row[x / 2] |= (x % 2 == 0) ? std::uint8_t(index << 4) : index;
        }
        v.insert(v.end(), row.begin(), row.end());
    }
    detail::save(path, v);
}

// Index of `c` in `palette`; throws when the colour is not in it.
inline std::uint8_t indexOf(const std::vector<Rgb>& palette, Rgb c)
{
    for (std::size_t i = 0; i < palette.size(); ++i)
        if (palette[i] == c)
            return std::uint8_t(i);
    throw std::runtime_error("colour not in palette");
}

} // namespace bmpfile
