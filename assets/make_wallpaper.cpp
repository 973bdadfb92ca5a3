// Makes the 128 x 128 stone tile that every window's wallpaper repeats:
// 8 bits per pixel with a 256-entry grey palette (entry i is grey i), using
// only the 16 levels from 172 to 237. Everything is periodic with the tile
// size, so the tiles join without a seam.
#include "bmpfile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <random>
#include <vector>

namespace {

constexpr int kSize = 128;

// Periodic value noise on a grid of `cells` x `cells` lattice points.
class PeriodicNoise {
public:
    PeriodicNoise(int cells, std::mt19937& rng)
        : m_cells(cells)
        , m_values(std::size_t(cells) * cells)
    {
        std::uniform_real_distribution<double> d(0.0, 1.0);
        for (auto& v : m_values)
            v = d(rng);
    }
    double at(double x, double y) const // x, y in tile pixels
    {
        const double fx = x * m_cells / kSize, fy = y * m_cells / kSize;
        const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
        const double tx = smooth(fx - x0), ty = smooth(fy - y0);
        auto v = [&](int i, int j) {
            i = ((i % m_cells) + m_cells) % m_cells;
            j = ((j % m_cells) + m_cells) % m_cells;
            return m_values[std::size_t(j) * m_cells + i];
        };
        const double a = v(x0, y0) + (v(x0 + 1, y0) - v(x0, y0)) * tx;
        const double b = v(x0, y0 + 1) + (v(x0 + 1, y0 + 1) - v(x0, y0 + 1)) * tx;
        return a + (b - a) * ty;
    }

private:
    static double smooth(double t) { return t * t * (3 - 2 * t); }
    int m_cells;
    std::vector<double> m_values;
};

struct Stone {
    double x, y, shade;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_wallpaper <output dir>\n";
        return 2;
    }
    std::mt19937 rng(19980615);

    // Irregular stones: a jittered grid of centres, one per 32 x 32 cell, so
    // that the stones have similar sizes; each stone gets its own tone.
    std::vector<Stone> stones;
    std::uniform_real_distribution<double> jitter(4.0, 28.0), tone(-0.5, 0.5);
    for (int gy = 0; gy < kSize; gy += 32)
        for (int gx = 0; gx < kSize; gx += 32)
            stones.push_back({gx + jitter(rng), gy + jitter(rng), tone(rng)});

    const PeriodicNoise coarse(8, rng), medium(16, rng), fine(64, rng);

    std::vector<double> height(kSize * kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Distances to the nearest two stone centres, wrapping round the tile.
            double d1 = 1e9, d2 = 1e9;
            const Stone* nearest = nullptr;
            for (const Stone& s : stones) {
                double dx = std::abs(x - s.x), dy = std::abs(y - s.y);
                dx = std::min(dx, kSize - dx);
                dy = std::min(dy, kSize - dy);
                const double d = std::sqrt(dx * dx + dy * dy);
                if (d < d1) {
                    d2 = d1;
                    d1 = d;
                    nearest = &s;
                } else if (d < d2) {
                    d2 = d;
                }
            }
            // Joints between stones are darker grooves; the stone faces are
            // mottled and a little domed.
            const double gap = d2 - d1;
            const double groove = gap < 2.5 ? (2.5 - gap) / 2.5 : 0.0;
            const double dome = std::max(0.0, 1.0 - d1 / 24.0) * 0.12;
            const double mottling = 0.45 * coarse.at(x, y) + 0.35 * medium.at(x, y) + 0.20 * fine.at(x, y);
            height[std::size_t(y) * kSize + x] = 0.55 + 0.35 * (mottling - 0.5) + 0.12 * nearest->shade + dome
                                                 - 0.55 * groove;
        }
    }

    // Light from the upper left: a small relief shading from the height map.
    std::vector<double> shade(height.size());
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            auto h = [&](int i, int j) { return height[std::size_t((j + kSize) % kSize) * kSize + (i + kSize) % kSize]; };
            const double slope = (h(x + 1, y + 1) - h(x - 1, y - 1));
            shade[std::size_t(y) * kSize + x] = h(x, y) - 0.9 * slope;
        }

    // Map onto the 16 allowed levels 172 .. 237 (65 levels wide, 15 steps).
    const auto [lo, hi] = std::minmax_element(shade.begin(), shade.end());
    std::array<std::uint8_t, 16> levels{};
    for (int i = 0; i < 16; ++i)
        levels[i] = std::uint8_t(172 + (65 * i + 7) / 15);
    std::vector<std::uint8_t> pixels(shade.size());
    for (std::size_t i = 0; i < shade.size(); ++i) {
        const double t = (shade[i] - *lo) / (*hi - *lo);
        pixels[i] = levels[std::clamp(int(t * 15.999), 0, 15)];
    }

    std::vector<bmpfile::Rgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)};
    try {
        bmpfile::writeIndexed(std::string(argv[1]) + "/wallpaper.bmp", kSize, kSize, 8, palette, pixels);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
