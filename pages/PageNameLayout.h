// Geometry of the page-name dialog, derived from two measures of its font the way a
// dialog built in dialog units is: w, the average width of the 52 letters A..Z a..z
// (remainder dropped), and h, their height. Every size goes through MulDiv rounding.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace mxc9 {

// x * y / z rounded to the nearest integer, halves away from zero; -1 when z is 0.
inline int MulDiv(int x, int y, int z) {
    if (z == 0) return -1;
    int64_t product = static_cast<int64_t>(x) * y;
    int64_t magnitude = (std::llabs(product) + std::llabs(static_cast<int64_t>(z)) / 2) /
                        std::llabs(static_cast<int64_t>(z));
    return static_cast<int>(((product < 0) != (z < 0)) ? -magnitude : magnitude);
}

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct PageNameLayout {
    int clientWidth = 0, clientHeight = 0;
    int labelLeft = 0, labelTop = 0, labelMaxWidth = 0;
    Rect edit, ok, cancel;
};

// labelHeight and editHeight are what the label (word-wrapped to its maximum width) and
// the one-line edit box take in the dialog's font.
inline PageNameLayout ComputePageNameLayout(int w, int h, int labelHeight, int editHeight) {
    PageNameLayout layout;
    layout.labelLeft = MulDiv(8, w, 4);
    layout.labelTop = MulDiv(8, h, 8);
    layout.labelMaxWidth = MulDiv(164, w, 4);
    layout.edit = {layout.labelLeft, layout.labelTop + labelHeight + 5, MulDiv(164, w, 4),
                   editHeight};
    int buttonTop = layout.edit.top + layout.edit.height + 15;
    layout.ok = {MulDiv(38, w, 4), buttonTop, MulDiv(50, w, 4), MulDiv(14, h, 8)};
    layout.cancel = {MulDiv(92, w, 4), buttonTop, layout.ok.width, layout.ok.height};
    layout.clientWidth = MulDiv(180, w, 4);
    layout.clientHeight = layout.cancel.top + layout.cancel.height + 13;
    return layout;
}

}  // namespace mxc9
