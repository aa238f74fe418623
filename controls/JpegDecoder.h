// Decoding of a JPEG picture held in memory into plain 8-bit RGB, with libjpeg.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace mxc9 {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // rows top to bottom, 3 bytes (R, G, B) per pixel

    // The pixel at (x, y) as 0xRRGGBB.
    std::uint32_t rgbAt(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
        return (std::uint32_t{pixels[at]} << 16) | (std::uint32_t{pixels[at + 1]} << 8) |
               pixels[at + 2];
    }
};

// Pictures larger than this are refused before any pixel memory is taken.
inline constexpr long kMaxJpegPixels = 4096L * 4096L;

// The decoded picture, or nothing when the data is not a complete, undamaged JPEG
// (truncated, corrupt, or larger than kMaxJpegPixels). Any complaint of the library,
// warnings included, counts as damage: a half-decoded picture is never returned.
std::optional<RgbImage> DecodeJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace mxc9
