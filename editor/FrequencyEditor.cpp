#include "editor/FrequencyEditor.h"

#include <algorithm>

#include "editor/FrequencyTable.h"

namespace mxc9 {
namespace {

constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

bool IsFrequencyBar(int index) {
    return index >= 0 && index < kFrequencyBars;
}

}  // namespace

SelectionGauge::SelectionGauge() {
    // A sunken frame: grey top row and left column, white bottom row, and a white
    // one-pixel column after every cell so that each cell sits exactly over its bar.
    fill(0, 0, kWidth, kHeight, kBlack);
    fill(0, 0, kWidth, 1, kGrey);
    fill(0, kHeight - 1, kWidth, kHeight, kWhite);
    for (int x = kCellPitch; x < kWidth; x += kCellPitch) fill(x, 1, x + 1, kHeight, kWhite);
    fill(0, 0, 1, kHeight, kGrey);
}

Rgb SelectionGauge::pixel(int x, int y) const {
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) return {};
    const uint8_t* p = &pixels_[static_cast<size_t>((y * kWidth + x) * 3)];
    return Rgb{p[0], p[1], p[2]};
}

void SelectionGauge::fill(int left, int top, int right, int bottom, Rgb colour) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            uint8_t* p = &pixels_[static_cast<size_t>((y * kWidth + x) * 3)];
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
        }
}

void SelectionGauge::paintCells(int lo, int hi) {
    // The range test works on the low 8 bits taken unsigned: -1 counts as 255, so a
    // range with a missing end is empty rather than reaching back to bar 0.
    const unsigned low = static_cast<unsigned>(lo) & 0xFFu;
    const unsigned high = static_cast<unsigned>(hi) & 0xFFu;
    const Rgb inside = FromColorRef(kGaugeColors[0]);
    const Rgb outside = FromColorRef(kGaugeColors[1]);
    for (int i = 0; i < kFrequencyBars; ++i) {
        const unsigned cell = static_cast<unsigned>(i);
        const bool marked = low <= high && cell >= low && cell <= high;
        fill(kCellPitch * i + 1, 1, kCellPitch * i + kCellPitch, 6, marked ? inside : outside);
    }
}

Readouts ReadoutsFor(int index, int code) {
    Readouts r;
    r.value = FrequencyLabel(code) + "kHz";
    r.level = "No," + std::to_string(code + 1);
    r.name = index == kAverageBarTag ? std::string("AVG") : "THRT" + std::to_string(index + 1);
    return r;
}

FrequencyEditor::FrequencyEditor(ScreenModel& screen, IKeyboardState& keyboard)
    : screen_(screen), keyboard_(keyboard) {}

void FrequencyEditor::FRQ_Enter(int tag) {
    selection_.focused = tag;
    if (tag != kAverageBarTag) {
        if (!keyboard_.shiftHeld()) selection_.anchor = tag;
        selection_.end = tag;
        DrawSelectionGauge(selection_.anchor, selection_.end);
    }
    ShowReadouts(tag);
}

void FrequencyEditor::FRQ_Exit(int /*index*/) {
    DrawSelectionGauge(-1, -1);
}

FocusMove FrequencyEditor::FRQ_KeyDown(int index, uint16_t& key) {
    switch (key) {
        case kVkUp:
        case kVkDown:
            return FocusMove::None;  // the bar turns them into line requests
        case kVkLeft:
            key = 0;
            return index > 0 ? FocusMove::Previous : FocusMove::None;
        case kVkRight:
            key = 0;
            return index <= kFrequencyBars - 2 ? FocusMove::Next : FocusMove::None;
        default:
            key = 0;  // Page Up/Down, Home, End and the rest never move a bar
            return FocusMove::None;
    }
}

void FrequencyEditor::FRQ_KeyUp(int index) {
    if (keyboard_.shiftHeld()) return;
    selection_.anchor = selection_.end = index;
    DrawSelectionGauge(selection_.anchor, selection_.end);
}

void FrequencyEditor::FRQ_Scroll(int index, int scrollCode, int& scrollPos) {
    if (!keyboard_.shiftHeld()) {
        selection_.anchor = selection_.end = index;
        DrawSelectionGauge(selection_.anchor, selection_.end);
    }
    const int current = screen_.bar(index);
    if (scrollCode == scEndScroll) {
        scrollPos = current;
        return;
    }
    // A range with a missing end (Shift held before any bar was entered without it)
    // is taken as the one bar that has an index, so nothing outside the 32 bars moves.
    int anchor = selection_.anchor;
    int end = selection_.end;
    if (!IsFrequencyBar(end)) end = index;
    if (!IsFrequencyBar(anchor)) anchor = end;
    const int lo = std::min(anchor, end);
    const int hi = std::max(anchor, end);
    const int delta = scrollPos - current;
    for (int i = lo; i <= hi; ++i) {
        const int moved = screen_.bar(i) + delta;
        if (moved < 0 || moved > kMaxFrequencyCode) {
            scrollPos = current;  // refused as a whole
            return;
        }
    }
    for (int i = lo; i <= hi; ++i) screen_.setBar(i, screen_.bar(i) + delta);
    screen_.setAverageBar(AverageCode(screen_));
    ShowReadouts(index);
}

void FrequencyEditor::AVG_BARScroll(int /*scrollCode*/, int& scrollPos) {
    const int current = screen_.averageBar();
    const int delta = scrollPos - current;
    for (int i = 0; i < kFrequencyBars; ++i) {
        const int moved = screen_.bar(i) + delta;
        if (moved < 0 || moved > kMaxFrequencyCode) {
            scrollPos = current;
            return;
        }
    }
    for (int i = 0; i < kFrequencyBars; ++i) screen_.setBar(i, screen_.bar(i) + delta);
    screen_.setAverageBar(scrollPos);
    ShowReadouts(kAverageBarTag);
}

void FrequencyEditor::DrawSelectionGauge(int a, int b) {
    gauge_.paintCells(std::min(a, b), std::max(a, b));
    if (listener_) listener_->gaugeChanged();
}

void FrequencyEditor::ShowReadouts(int index) {
    if (index == -1) {
        readouts_ = Readouts{};
    } else if (IsFrequencyBar(index)) {
        readouts_ = ReadoutsFor(index, screen_.bar(index));
    } else if (index == kAverageBarTag) {
        readouts_ = ReadoutsFor(index, screen_.averageBar());
    } else {
        return;  // any other index leaves the readouts as they are
    }
    if (listener_) listener_->readoutsChanged();
}

}  // namespace mxc9
