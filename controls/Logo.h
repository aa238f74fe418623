// The maker's logo shown at the top of the information dialog: a 285 x 60 baseline
// JPEG (controls/logo.jpg, made by tools/logo) built into the program.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "controls/JpegDecoder.h"

namespace mxc9 {

// The JPEG bytes as stored in the program.
std::span<const std::uint8_t> LogoJpeg();

// The logo decoded with libjpeg; nothing when the stored picture is damaged.
std::optional<RgbImage> DecodeLogo();

}  // namespace mxc9
