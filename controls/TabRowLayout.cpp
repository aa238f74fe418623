#include "controls/TabRowLayout.h"

#include <algorithm>

namespace mxc9 {

void TabRowLayout::setTabs(const std::vector<int>& widths) {
    starts_.assign(1, 0);
    starts_.reserve(widths.size() + 1);
    for (int width : widths) starts_.push_back(starts_.back() + std::max(0, width));
    clampOffset();
}

void TabRowLayout::setRowWidth(int rowWidth, int scrollingWidth) {
    rowWidth_ = std::max(0, rowWidth);
    scrollingWidth_ = std::clamp(scrollingWidth, 0, rowWidth_);
    clampOffset();
}

int TabRowLayout::maxOffset() const {
    return scrolls() ? totalWidth() - scrollingWidth_ : 0;
}

void TabRowLayout::clampOffset() {
    offset_ = std::clamp(offset_, 0, maxOffset());
}

int TabRowLayout::tabHolding(int p) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), p);
    const int index = static_cast<int>(after - starts_.begin()) - 1;
    return std::clamp(index, 0, count() - 1);
}

int TabRowLayout::tabAt(int x) const {
    if (count() == 0 || x < 0 || x >= visibleWidth()) return -1;
    const int p = x + offset_;
    return p < totalWidth() ? tabHolding(p) : -1;
}

std::pair<int, int> TabRowLayout::visibleTabs() const {
    const int end = std::min(offset_ + visibleWidth(), totalWidth());
    if (count() == 0 || end <= offset_) return {0, -1};
    return {tabHolding(offset_), tabHolding(end - 1)};
}

void TabRowLayout::makeVisible(int i) {
    if (i < 0 || i >= count()) return;
    const int visible = visibleWidth();
    if (start(i) < offset_) {
        offset_ = start(i);
    } else if (start(i + 1) > offset_ + visible) {
        offset_ = std::min(start(i), start(i + 1) - visible);
    }
    clampOffset();
}

void TabRowLayout::scrollBack() {
    if (!canScrollBack()) return;
    offset_ = start(tabHolding(offset_ - 1));
    clampOffset();
}

void TabRowLayout::scrollOn() {
    if (!canScrollOn()) return;
    offset_ = start(tabHolding(offset_ + visibleWidth()) + 1) - visibleWidth();
    clampOffset();
}

}  // namespace mxc9
