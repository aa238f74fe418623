#include "editor/ScreenModel.h"

#include <algorithm>
#include <cstdio>

#include "editor/FrequencyTable.h"

namespace mxc9 {
namespace {

const std::vector<std::string> kCutVtItems = {"2.3V", "2.5V", "3.0V", "3.5V", "4.0V"};
const std::vector<std::string> kResponseItems = {"OFF", "1", "2", "3", "4",
                                                 "5",   "6", "7", "8", "9"};
const std::vector<std::string> kCurrentItems = {"40A",  "60A",  "80A",  "100A", "120A",
                                                "140A", "160A", "180A", "200A", "220A",
                                                "240A", "260A", "OFF"};

}  // namespace

int ListItemCount(ListId list) {
    switch (list) {
        case ListId::Brake:
            return kFrequencyCodes;
        case ListId::CutVt:
            return static_cast<int>(kCutVtItems.size());
        case ListId::Response:
            return static_cast<int>(kResponseItems.size());
        case ListId::Current:
            return static_cast<int>(kCurrentItems.size());
    }
    return 0;
}

std::string BrakeFrequencyItem(int index) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", index + 1);
    return std::string(number) + ": " + FrequencyLabel(index) + "kHz";
}

std::vector<std::string> ListItems(ListId list) {
    switch (list) {
        case ListId::Brake: {
            std::vector<std::string> items;
            for (int n = 0; n < kFrequencyCodes; ++n) items.push_back(BrakeFrequencyItem(n));
            return items;
        }
        case ListId::CutVt:
            return kCutVtItems;
        case ListId::Response:
            return kResponseItems;
        case ListId::Current:
            return kCurrentItems;
    }
    return {};
}

std::string NeutralBrakeCaption(int position) {
    // Number format "0;;OFF": zero shows OFF, any other value its decimal number.
    return position == 0 ? std::string("OFF") : std::to_string(position);
}

ScreenModel::ScreenModel() {
    // The positions and indices of the window layout, before the default page is loaded.
    bars_.fill(32);
    lists_ = {-1, 0, 0, 12};
}

int AverageCode(const ScreenModel& screen) {
    int sum = 0;
    for (int i = 0; i < kFrequencyBars; ++i) sum += screen.bar(i);
    return sum / kFrequencyBars;
}

void ScreenModel::setBar(int index, int position) {
    position = std::clamp(position, 0, kMaxFrequencyCode);
    int& slot = bars_.at(static_cast<size_t>(index));
    if (slot == position) return;
    slot = position;
    if (listener_) listener_->barChanged(index);
}

void ScreenModel::setAverageBar(int position) {
    position = std::clamp(position, 0, kMaxFrequencyCode);
    if (average_ == position) return;
    average_ = position;
    if (listener_) listener_->averageChanged();
}

void ScreenModel::setNeutralBrake(int position) {
    position = std::clamp(position, 0, kNeutralBrakeMax);
    if (neutralBrake_ == position) return;
    neutralBrake_ = position;
    // NBRK_BARChange: the caption follows each change of the position.
    neutralBrakeCaption_ = NeutralBrakeCaption(position);
    if (listener_) listener_->neutralBrakeChanged();
}

void ScreenModel::setListIndex(ListId list, int index) {
    if (index < 0 || index >= ListItemCount(list)) index = -1;
    int& slot = lists_[static_cast<size_t>(list)];
    if (slot == index) return;
    slot = index;
    if (listener_) listener_->listChanged(list);
}

void ScreenModel::setComment(const std::string& text) {
    if (comment_ == text) return;
    comment_ = text;
    if (listener_) listener_->commentChanged();
}

}  // namespace mxc9
