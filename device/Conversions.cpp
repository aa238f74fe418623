#include "device/Conversions.h"

#include <algorithm>

namespace mxc9 {

int NeutralBrakeCode(int position) {
    // position x 2.5 = position x 5 / 2: an odd product is an exact half, which goes to
    // the even neighbour.
    const int twice = position * 5;
    int code = twice / 2;
    if (twice % 2 != 0 && code % 2 != 0) code += twice > 0 ? 1 : -1;
    return code;
}

int NeutralBrakePosition(int code) {
    // code / 2.5 = code x 2 / 5; fifths are never halves, so this is plain rounding.
    const int twice = code * 2;
    int position = twice / 5;
    const int remainder = twice % 5;
    if (remainder >= 3) ++position;
    if (remainder <= -3) --position;
    return position;
}

int CutOffCode(int index) {
    return index * 20 + 80;
}
int CutOffIndex(int code) {
    return (code - 80) / 20;
}
int ResponseCode(int index) {
    return 30 - index * 3;
}
int ResponseIndex(int code) {
    return 10 - code / 3;
}

std::optional<int> CurrentLimitCode(int index) {
    if (index < 0 || index >= static_cast<int>(kCurrentLimitCodes.size())) return std::nullopt;
    return kCurrentLimitCodes[static_cast<size_t>(index)];
}

int CurrentLimitIndex(int code) {
    auto found = std::find(kCurrentLimitCodes.begin(), kCurrentLimitCodes.end(), code);
    if (found == kCurrentLimitCodes.end()) return kCurrentLimitOffIndex;
    return static_cast<int>(found - kCurrentLimitCodes.begin());
}

void ScreenToImage(const ScreenModel& screen, DeviceImage& image) {
    image[kImageNeutralBrake] = NeutralBrakeCode(screen.neutralBrake());
    image[kImageBrakeFrequency] = screen.listIndex(ListId::Brake);
    image[kImageCutOff] = CutOffCode(screen.listIndex(ListId::CutVt));
    image[kImageResponse] = ResponseCode(screen.listIndex(ListId::Response));
    if (auto code = CurrentLimitCode(screen.listIndex(ListId::Current))) {
        image[kImageCurrentLimit] = *code;
    }
    for (int bar = 0; bar < kFrequencyBars; ++bar) {
        image[kImageFirstFrequency + bar] = screen.bar(bar);
    }
}

void ImageToScreen(const DeviceImage& image, ScreenModel& screen) {
    screen.setNeutralBrake(NeutralBrakePosition(image[kImageNeutralBrake]));
    screen.setListIndex(ListId::Brake, image[kImageBrakeFrequency]);
    screen.setListIndex(ListId::CutVt, CutOffIndex(image[kImageCutOff]));
    screen.setListIndex(ListId::Response, ResponseIndex(image[kImageResponse]));
    // "OFF" first, then the entry of the code when the table holds it.
    screen.setListIndex(ListId::Current, kCurrentLimitOffIndex);
    screen.setListIndex(ListId::Current, CurrentLimitIndex(image[kImageCurrentLimit]));
    for (int bar = 0; bar < kFrequencyBars; ++bar) {
        screen.setBar(bar, image[kImageFirstFrequency + bar]);
    }
    screen.setAverageBar(AverageCode(screen));
}

}  // namespace mxc9
