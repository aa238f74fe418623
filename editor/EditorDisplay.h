// The frequency editor's selection state and the two display operations that other
// parts of the window call after they change the bars.
#pragma once

namespace mxc9 {

// Fields of the main window, all -1 at creation. The selected range is every bar from
// min(anchor, end) to max(anchor, end); focused is the bar last entered (32 = AVG_BAR).
struct SelectionState {
    int anchor = -1;
    int end = -1;
    int focused = -1;
};

class EditorDisplay {
  public:
    virtual ~EditorDisplay() = default;
    // Paints both selection gauges for the range a..b (either order); (-1, -1) marks none.
    virtual void DrawSelectionGauge(int a, int b) = 0;
    // Fills the three readouts for bar 0..31, the average bar (32), or "-----" (-1).
    virtual void ShowReadouts(int index) = 0;
};

}  // namespace mxc9
