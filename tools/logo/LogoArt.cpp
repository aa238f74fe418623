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
    Canvas(int width = kLogoWidth, int height = kLogoHeight) {
        image_.width = width;
        image_.height = height;
        image_.pixels.assign(static_cast<std::size_t>(width) * height * 3, 0);
    }

    void put(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= image_.width || y >= image_.height) return;
        const std::size_t at = (static_cast<std::size_t>(y) * image_.width + x) * 3;
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

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kOrange{255, 160, 32};

// A calm left-to-right blue gradient as the band.
void PaintBand(Canvas& canvas, int width, int height) {
    const Rgb left{16, 32, 72};
    const Rgb right{40, 104, 168};
    for (int x = 0; x < width; ++x) {
        const Rgb c{Blend(left.r, right.r, x, width - 1), Blend(left.g, right.g, x, width - 1),
                    Blend(left.b, right.b, x, width - 1)};
        canvas.fill(x, 0, x + 1, height, c);
    }
}

}  // namespace

RgbImage RenderIcon(int size) {
    if (size < 16 || size % 16 != 0) return {};
    Canvas canvas(size, size);
    PaintBand(canvas, size, size);
    // Drawn on a grid of cells so that every font pixel stays a sharp square: a 32-cell
    // grid with the name over a large 9 where the size allows, else a 16-cell grid with
    // the 9 alone.
    const int grid = size % 32 == 0 ? 32 : 16;
    const int cell = size / grid;
    if (grid == 32) {
        canvas.text(7 * cell, 3 * cell, "MXC", cell, kWhite);
        canvas.fill(4 * cell, 12 * cell, 28 * cell, 13 * cell, kOrange);
        canvas.text(11 * cell, 16 * cell, "9", 2 * cell, kWhite);
    } else {
        canvas.text(3 * cell, 0, "9", 2 * cell, kWhite);
        canvas.fill(2 * cell, 15 * cell, 14 * cell, 16 * cell, kOrange);
    }
    return canvas.take();
}

RgbImage RenderLogo() {
    Canvas canvas;
    PaintBand(canvas, kLogoWidth, kLogoHeight);
    canvas.text(12, 9, "MXC-9 MANAGER", 3, kWhite);
    canvas.fill(12, 36, 273, 38, kOrange);
    canvas.text(12, 44, "SPEED CONTROLLER SETUP", 1, {190, 215, 255});
    return canvas.take();
}

}  // namespace mxc9
