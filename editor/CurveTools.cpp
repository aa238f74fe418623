#include "editor/CurveTools.h"

#include <algorithm>
#include <array>
#include <cfloat>
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

// A long double of the x87 extended format is the format itself. A wider one (WebAssembly
// has 113 bits) holds the exact result of each step here closely enough that rounding it
// to 64 bits gives what the x87 unit gives: the quotient of two small integers is never
// within 2^-113 of a 64-bit half-way point without being on it.
static_assert(LDBL_MANT_DIG == 64 || LDBL_MANT_DIG >= 113,
              "the straight line needs the x87 extended format or a wider long double");

long double ToExtendedPrecision(long double value) {
    if constexpr (LDBL_MANT_DIG == 64) {
        return value;
    } else {
        int exponent = 0;
        const long double fraction = std::frexp(value, &exponent);  // [0.5, 1)
        return std::ldexp(std::rint(std::ldexp(fraction, 64)), exponent - 64);
    }
}

int InterpolationStep(int diff, int span, int i) {
    // Rounding at halves depends on the quotient being held to a 64-bit significand (x87
    // extended): with a 53-bit double, span 14 step 7 gives 30 instead of 29 for a rise
    // of 59.
    const long double quotient = ToExtendedPrecision(static_cast<long double>(diff) / span);
    return static_cast<int>(llrintl(ToExtendedPrecision(quotient * i)));
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
