// The curve tools and value resets of the tab strip's pop-up menu: straight line across
// the selected bars, frequency reset, other-values reset. Each shows its change on screen
// first and then asks whether it stays; No puts back the values saved just before.
#pragma once

#include "editor/EditorDisplay.h"
#include "editor/ScreenModel.h"
#include "platform/Seams.h"

namespace mxc9 {

class CurveTools {
  public:
    CurveTools(ScreenModel& screen, SelectionState& selection, EditorDisplay& display,
               const Seams& seams);

    // The menu item LINER_ADJ is enabled only while anchor and end differ.
    bool linerAdjEnabled() const { return selection_.anchor != selection_.end; }

    void LINER_ADJClick();
    void FQRESET_MENUClick();
    void ATHOR_MENUClick();

  private:
    ScreenModel& screen_;
    SelectionState& selection_;
    EditorDisplay& display_;
    const Seams& seams_;
};

// Step i of a straight line that rises by diff over span bars: diff / span is formed
// first and then multiplied by i, both with a 64-bit significand (x87 extended
// precision), and rounded to the nearest integer, halves to even.
int InterpolationStep(int diff, int span, int i);
// A value rounded to a 64-bit significand, halves to even, as the x87 unit rounds.
long double ToExtendedPrecision(long double value);

}  // namespace mxc9
