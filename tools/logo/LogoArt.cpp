#include "tools/logo/LogoArt.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace mxc9 {

namespace {

struct Rgb {
    int r, g, b;
};

// 5 x 7 capitals: one string per glyph, rows top to bottom, '#' for a lit pixel.
struct Glyph {
    char ch;
    std::string_view rows;  // 35 characters
};

constexpr std::array kGlyphs{
    Glyph{'A', ".###.#...##...#######...##...##...#"},
    Glyph{'C', ".###.#...##....#....#....#...#.###."},
    Glyph{'D', "###..#..#.#...##...##...##..#.###.."},
    Glyph{'E', "######....#....####.#....#....#####"},
    Glyph{'G', ".###.#...##....#.####...##...#.####"},
    Glyph{'L', "#....#....#....#....#....#....#####"},
    Glyph{'M', "#...###.###.#.##.#.##...##...##...#"},
    Glyph{'N', "#...###..##.#.##..###...##...##...#"},
    Glyph{'O', ".###.#...##...##...##...##...#.###."},
    Glyph{'P', "####.#...##...#####.#....#....#...."},
    Glyph{'R', "####.#...##...#####.#.#..#..#.#...#"},
    Glyph{'S', ".#####....#.....###.....#....#####."},
    Glyph{'T', "#####..#....#....#....#....#....#.."},
    Glyph{'U', "#...##...##...##...##...##...#.###."},
    Glyph{'X', "#...##...#.#.#...#...#.#.#...##...#"},
    Glyph{'9', ".###.#...##...#.####....#...#..##.."},
    Glyph{'-', "...............#####..............."},
};

constexpr bool AllGlyphsComplete() {
    for (const Glyph& g : kGlyphs)
        if (g.rows.size() != 35) return false;
    return true;
}
static_assert(AllGlyphsComplete(), "every glyph has 7 rows of 5 pixels");

const Glyph* FindGlyph(char ch) {
    for (const Glyph& g : kGlyphs)
        if (g.ch == ch) return &g;
    return nullptr;  // a blank
}

class Canvas {
  public:
    Canvas() {
        image_.width = kLogoWidth;
        image_.height = kLogoHeight;
        image_.pixels.assign(static_cast<std::size_t>(kLogoWidth) * kLogoHeight * 3, 0);
    }

    void put(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= kLogoWidth || y >= kLogoHeight) return;
        const std::size_t at = (static_cast<std::size_t>(y) * kLogoWidth + x) * 3;
        image_.pixels[at] = static_cast<std::uint8_t>(c.r);
        image_.pixels[at + 1] = static_cast<std::uint8_t>(c.g);
        image_.pixels[at + 2] = static_cast<std::uint8_t>(c.b);
    }

    void fill(int left, int top, int right, int bottom, Rgb c) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) put(x, y, c);
    }

    // Draws text with each font pixel as a scale x scale square; glyphs advance 6 pixels.
    void text(int left, int top, std::string_view s, int scale, Rgb c) {
        for (std::size_t i = 0; i < s.size(); ++i) {
            const Glyph* g = FindGlyph(s[i]);
            if (g == nullptr) continue;
            const int gx = left + static_cast<int>(i) * 6 * scale;
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g->rows[row * 5 + col] == '#')
                        fill(gx + col * scale, top + row * scale, gx + (col + 1) * scale,
                             top + (row + 1) * scale, c);
        }
    }

    RgbImage take() { return std::move(image_); }

  private:
    RgbImage image_;
};

int Blend(int from, int to, int step, int steps) {
    return from + (to - from) * step / steps;
}

}  // namespace

RgbImage RenderLogo() {
    Canvas canvas;
    // A calm left-to-right blue gradient as the band.
    const Rgb left{16, 32, 72};
    const Rgb right{40, 104, 168};
    for (int x = 0; x < kLogoWidth; ++x) {
        const Rgb c{Blend(left.r, right.r, x, kLogoWidth - 1),
                    Blend(left.g, right.g, x, kLogoWidth - 1),
                    Blend(left.b, right.b, x, kLogoWidth - 1)};
        canvas.fill(x, 0, x + 1, kLogoHeight, c);
    }
    canvas.text(12, 9, "MXC-9 MANAGER", 3, {255, 255, 255});
    canvas.fill(12, 36, 273, 38, {255, 160, 32});
    canvas.text(12, 44, "SPEED CONTROLLER SETUP", 1, {190, 215, 255});
    return canvas.take();
}

}  // namespace mxc9
