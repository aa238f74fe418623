// The logo decodes through libjpeg to the picture it was made from; damaged data gives
// no picture and no crash.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "controls/JpegDecoder.h"
#include "controls/Logo.h"
#include "tools/logo/LogoArt.h"

namespace mxc9 {
namespace {

std::vector<std::uint8_t> LogoBytes() {
    const auto bytes = LogoJpeg();
    return {bytes.begin(), bytes.end()};
}

int Channel(std::uint32_t rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFF);
}

int Distance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift : {16, 8, 0})
        worst = std::max(worst, std::abs(Channel(a, shift) - Channel(b, shift)));
    return worst;
}

TEST(Logo, DecodesToThePictureItWasMadeFrom) {
    const auto logo = DecodeLogo();
    ASSERT_TRUE(logo.has_value());
    const RgbImage art = RenderLogo();
    ASSERT_EQ(logo->width, 285);
    ASSERT_EQ(logo->height, 60);
    ASSERT_EQ(logo->pixels.size(), 285u * 60u * 3u);

    // Corners of the band, a stroke of the big "M", the orange rule and a blank between
    // letters: the colour, the orientation and the channel order all show here.
    struct Point {
        int x, y;
    };
    for (const Point p : {Point{2, 2}, Point{282, 2}, Point{2, 57}, Point{282, 57}, Point{13, 20},
                          Point{140, 37}, Point{36, 20}}) {
        EXPECT_LE(Distance(logo->rgbAt(p.x, p.y), art.rgbAt(p.x, p.y)), 24)
            << "at (" << p.x << ", " << p.y << "): decoded " << std::hex << logo->rgbAt(p.x, p.y)
            << ", drawn " << art.rgbAt(p.x, p.y);
    }

    // And on average, edges included, it differs only by the compression's small loss.
    long total = 0;
    for (std::size_t i = 0; i < art.pixels.size(); ++i)
        total += std::abs(int(logo->pixels[i]) - int(art.pixels[i]));
    EXPECT_LT(double(total) / double(art.pixels.size()), 3.0);
}

TEST(Logo, IsABaselineJpegWithThreeComponents) {
    const std::vector<std::uint8_t> bytes = LogoBytes();
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    // Walk the markers up to the frame header: SOF0 (baseline) with 3 components.
    std::size_t at = 2;
    while (at + 4 <= bytes.size() && bytes[at] == 0xFF && bytes[at + 1] != 0xC0) {
        const std::uint8_t marker = bytes[at + 1];
        ASSERT_FALSE(marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                     marker != 0xCC)
            << "frame type other than baseline: " << std::hex << int(marker);
        at += 2 + (bytes[at + 2] << 8 | bytes[at + 3]);
    }
    ASSERT_LT(at + 10, bytes.size());
    ASSERT_EQ(bytes[at + 1], 0xC0);
    EXPECT_EQ(bytes[at + 5] << 8 | bytes[at + 6], 60);   // height
    EXPECT_EQ(bytes[at + 7] << 8 | bytes[at + 8], 285);  // width
    EXPECT_EQ(bytes[at + 9], 3);                         // components
}

TEST(JpegDecoding, TruncatedDataGivesNoPicture) {
    const std::vector<std::uint8_t> whole = LogoBytes();
    for (std::size_t kept : {std::size_t{1}, std::size_t{2}, std::size_t{20}, std::size_t{200},
                             whole.size() / 2, whole.size() - 100, whole.size() - 2}) {
        std::vector<std::uint8_t> part(whole.begin(), whole.begin() + kept);
        EXPECT_FALSE(DecodeJpeg(part.data(), part.size()).has_value())
            << "kept " << kept << " of " << whole.size() << " bytes";
    }
}

TEST(JpegDecoding, NoDataOrNonJpegDataGivesNoPicture) {
    EXPECT_FALSE(DecodeJpeg(nullptr, 0).has_value());
    const std::uint8_t text[] = "not a picture at all";
    EXPECT_FALSE(DecodeJpeg(text, 0).has_value());
    EXPECT_FALSE(DecodeJpeg(text, sizeof text).has_value());
}

TEST(JpegDecoding, HugeClaimedSizeIsRefusedBeforeDecoding) {
    std::vector<std::uint8_t> bytes = LogoBytes();
    std::size_t at = 2;
    while (bytes[at + 1] != 0xC0) at += 2 + (bytes[at + 2] << 8 | bytes[at + 3]);
    for (std::size_t i : {at + 5, at + 6, at + 7, at + 8}) bytes[i] = 0xFF;  // 65535 x 65535
    EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size()).has_value());
}

TEST(JpegDecoding, DamagedScanDataNeverCrashes) {
    const std::vector<std::uint8_t> whole = LogoBytes();
    // Overwrite stretches of the compressed data at several places with noise.
    for (std::size_t start = 700; start + 64 < whole.size(); start += 997) {
        std::vector<std::uint8_t> bytes = whole;
        std::uint32_t noise = static_cast<std::uint32_t>(start);
        for (std::size_t i = start; i < start + 64; ++i) {
            noise = noise * 1103515245u + 12345u;
            bytes[i] = static_cast<std::uint8_t>(noise >> 16);
        }
        const auto image = DecodeJpeg(bytes.data(), bytes.size());
        if (image) {  // noise can happen to decode; then it is still a whole picture
            EXPECT_EQ(image->width, 285);
            EXPECT_EQ(image->height, 60);
            EXPECT_EQ(image->pixels.size(), 285u * 60u * 3u);
        }
    }
}

}  // namespace
}  // namespace mxc9
