// The meaning of the device image and its conversion to and from the page on screen.
// Screen values are scroll-bar positions and list indexes; the controller's encodings
// exist only here.
//
//   parameter 0, 3..6   pass-through: never set from the screen, sent back as read
//   parameter 1         neutral brake: bar position x 2.5, halves to even (0..250)
//   parameter 2         brake frequency code: the list index
//   parameter 7         cut-off code: index x 20 + 80
//   parameter 8         throttle response code: 30 - index x 3
//   parameter 9         current-limit code: kCurrentLimitCodes[index]
//   codes 0..31         frequency bar positions FRQ_1..FRQ_32
#pragma once

#include <array>
#include <optional>

#include "device/DeviceLink.h"
#include "editor/ScreenModel.h"

namespace mxc9 {

enum ImageIndex : int {
    kImagePassThrough0 = 0,
    kImageNeutralBrake = 1,
    kImageBrakeFrequency = 2,
    kImageCutOff = 7,
    kImageResponse = 8,
    kImageCurrentLimit = 9,
    kImageFirstFrequency = 10,
};

inline constexpr std::array<int, 5> kPassThroughIndexes = {0, 3, 4, 5, 6};

// Indexed by the current-limiter list index; the last entry is "OFF".
inline constexpr std::array<int, 13> kCurrentLimitCodes = {3,  5,  7,  9,  10, 12, 14,
                                                           15, 17, 19, 21, 22, 100};
inline constexpr int kCurrentLimitOffIndex = 12;

int NeutralBrakeCode(int position);  // x 2.5, halves to even
int NeutralBrakePosition(int code);  // / 2.5, to the nearest
int CutOffCode(int index);           // index x 20 + 80
int CutOffIndex(int code);           // (code - 80) / 20, truncated toward zero
int ResponseCode(int index);         // 30 - index x 3
int ResponseIndex(int code);         // 10 - code / 3, truncated
// The code for a list index, nullopt when the list shows no entry or one past the table.
std::optional<int> CurrentLimitCode(int index);
// The list index of a code; "OFF" when the table does not hold it.
int CurrentLimitIndex(int code);

// Overwrites the values the screen holds; the pass-through values are left as they are.
// A current limiter with no entry keeps the code already in the image.
void ScreenToImage(const ScreenModel& screen, DeviceImage& image);
// Sets the controls from the image in the controller's order, ending with the average bar.
// The control rules apply: bars clamp, an index outside a list shows no selection.
void ImageToScreen(const DeviceImage& image, ScreenModel& screen);

}  // namespace mxc9
