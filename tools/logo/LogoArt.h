// The picture of the program's logo as plain RGB pixels: the program's name in a
// blocky capital font on a blue band with an orange rule. make_logo encodes it as the
// JPEG the information dialog shows; tests compare the decoded JPEG with it.
#pragma once

#include "controls/JpegDecoder.h"

namespace mxc9 {

inline constexpr int kLogoWidth = 285;
inline constexpr int kLogoHeight = 60;

RgbImage RenderLogo();

// The program's icon in the same letters and colours, size x size pixels; size is a
// multiple of 16 (anything else gives an empty image).
RgbImage RenderIcon(int size);

}  // namespace mxc9
