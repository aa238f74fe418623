#include "editor/CurveTools.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/MessageTable.h"
#include "editor/Defaults.h"

namespace mxc9 {

namespace {

constexpr int kMessageLineQuestion = 10;
constexpr int kMessageFrequencyResetQuestion = 11;
constexpr int kMessageFrequencyResetConfirm = 12;
constexpr int kMessageValuesResetQuestion = 13;
constexpr int kMessageValuesResetConfirm = 14;

using Bars = std::array<int, kFrequencyBars>;

Bars SaveBars(const ScreenModel& screen) {
    Bars bars;
    for (int k = 0; k < kFrequencyBars; ++k) bars[static_cast<size_t>(k)] = screen.bar(k);
    return bars;
}

void RestoreBars(ScreenModel& screen, const Bars& bars) {
    for (int k = 0; k < kFrequencyBars; ++k) screen.setBar(k, bars[static_cast<size_t>(k)]);
}

bool IsBar(int index) {
    return index >= 0 && index < kFrequencyBars;
}

}  // namespace

int InterpolationStep(int diff, int span, int i) {
    // Rounding at halves depends on the quotient being held to a 64-bit significand (x87
    // extended): with a 53-bit double, span 14 step 7 gives 30 instead of 29 for a rise
    // of 59. The tests refuse a build whose long double is another format.
    const long double quotient = static_cast<long double>(diff) / span;
    return static_cast<int>(llrintl(quotient * i));
}

CurveTools::CurveTools(ScreenModel& screen, SelectionState& selection, EditorDisplay& display,
                       const Seams& seams)
    : screen_(screen), selection_(selection), display_(display), seams_(seams) {}

void CurveTools::LINER_ADJClick() {
    // In the open-end state (anchor -1) the missing end is taken as the end bar: a range
    // of one bar, nothing to draw and nothing to ask.
    int anchor = IsBar(selection_.anchor) ? selection_.anchor : selection_.end;
    int end = IsBar(selection_.end) ? selection_.end : anchor;
    if (!IsBar(anchor) || anchor == end) return;
    const Bars saved = SaveBars(screen_);
    const int lo = std::min(anchor, end);
    const int hi = std::max(anchor, end);
    const int span = hi - lo;
    const int base = screen_.bar(lo);
    const int diff = screen_.bar(hi) - base;
    for (int i = 0; i <= span; ++i) screen_.setBar(lo + i, InterpolationStep(diff, span, i) + base);
    if (seams_.messages->show(Message(kMessageLineQuestion), kCaptionInfo, MbIcon::Question,
                              MbButtons::YesNo) == kIdNo)
        RestoreBars(screen_, saved);
    screen_.setAverageBar(AverageCode(screen_));
}

void CurveTools::FQRESET_MENUClick() {
    if (seams_.messages->show(Message(kMessageFrequencyResetQuestion), kCaptionInfo,
                              MbIcon::Question, MbButtons::YesNo) != kIdYes)
        return;
    const Bars saved = SaveBars(screen_);
    for (int k = 0; k < kFrequencyBars; ++k) screen_.setBar(k, Defaults::kFreq);
    screen_.setAverageBar(AverageCode(screen_));
    display_.ShowReadouts(kAverageBarTag);
    display_.DrawSelectionGauge(-1, -1);
    if (seams_.messages->show(Message(kMessageFrequencyResetConfirm), kCaptionInfo,
                              MbIcon::Question, MbButtons::YesNo) == kIdNo) {
        RestoreBars(screen_, saved);
        screen_.setAverageBar(AverageCode(screen_));
    }
}

void CurveTools::ATHOR_MENUClick() {
    if (seams_.messages->show(Message(kMessageValuesResetQuestion), kCaptionInfo, MbIcon::Question,
                              MbButtons::YesNo) != kIdYes)
        return;
    const int nBrake = screen_.neutralBrake();
    const int brake = screen_.listIndex(ListId::Brake);
    const int cutVt = screen_.listIndex(ListId::CutVt);
    const int response = screen_.listIndex(ListId::Response);
    const int current = screen_.listIndex(ListId::Current);
    auto set = [this](int n, int b, int c, int r, int l) {
        screen_.setNeutralBrake(n);
        screen_.setListIndex(ListId::Brake, b);
        screen_.setListIndex(ListId::CutVt, c);
        screen_.setListIndex(ListId::Response, r);
        screen_.setListIndex(ListId::Current, l);
    };
    set(Defaults::kNBrake, Defaults::kBrkFq, Defaults::kCutVt, Defaults::kRespons,
        Defaults::kCurLim);
    if (seams_.messages->show(Message(kMessageValuesResetConfirm), kCaptionInfo, MbIcon::Question,
                              MbButtons::YesNo) == kIdNo)
        set(nBrake, brake, cutVt, response, current);
}

}  // namespace mxc9
