#include "controls/Logo.h"

#include <cstddef>

namespace mxc9 {

// Defined by the source generated from logo.jpg at build time.
extern const unsigned char kLogoJpegBytes[];
extern const std::size_t kLogoJpegBytes_size;

std::span<const std::uint8_t> LogoJpeg() {
    return {kLogoJpegBytes, kLogoJpegBytes_size};
}

std::optional<RgbImage> DecodeLogo() {
    const auto bytes = LogoJpeg();
    return DecodeJpeg(bytes.data(), bytes.size());
}

}  // namespace mxc9
