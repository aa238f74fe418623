// What a scroll bar proposes for a scroll request before its handler sees the position:
// a line or a page further, the end the request names, or where the thumb is dragged,
// kept inside the bar's range. The handler may change the proposal; the bar then takes it.
#pragma once

#include <algorithm>

#include "editor/FrequencyEditor.h"

namespace mxc9 {

struct ScrollRange {
    int minimum = 0;
    int maximum = 0;
    int lineStep = 1;
    int pageStep = 1;
};

// `position` is the bar's position now, `thumb` where a dragged thumb stands (for
// scPosition and scTrack).
constexpr int ProposedScrollPosition(int code, int position, int thumb, const ScrollRange& range) {
    int proposed = position;
    switch (code) {
        case scLineUp:
            proposed = position - range.lineStep;
            break;
        case scLineDown:
            proposed = position + range.lineStep;
            break;
        case scPageUp:
            proposed = position - range.pageStep;
            break;
        case scPageDown:
            proposed = position + range.pageStep;
            break;
        case scPosition:
        case scTrack:
            proposed = thumb;
            break;
        case scTop:
            proposed = range.minimum;
            break;
        case scBottom:
            proposed = range.maximum;
            break;
        default:  // scEndScroll and codes no bar sends
            break;
    }
    return std::clamp(proposed, range.minimum, range.maximum);
}

}  // namespace mxc9
