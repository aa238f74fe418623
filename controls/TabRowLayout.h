// Where the tabs of a tab row stand, free of any window system. The tabs lie side by side
// from the row's left edge, each as wide as its caption needs. When they do not all fit,
// the row scrolls: two buttons take its right end and the tabs show in the rest, moved
// left by the scroll offset. Every question is answered without walking the tabs, so a
// row of a thousand tabs costs no more per click than a row of ten.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace mxc9 {

class TabRowLayout {
  public:
    // The tabs' widths, left to right. The offset stays where it was, within its range.
    void setTabs(const std::vector<int>& widths);
    // The row's width, and the width left for the tabs when the buttons show.
    void setRowWidth(int rowWidth, int scrollingWidth);

    int count() const { return static_cast<int>(starts_.size()) - 1; }
    // Left edge and width of tab i in the unscrolled row.
    int start(int i) const { return starts_.at(static_cast<std::size_t>(i)); }
    int width(int i) const { return start(i + 1) - start(i); }
    int totalWidth() const { return starts_.back(); }

    // Whether the tabs overflow the row, so that it scrolls under its buttons.
    bool scrolls() const { return totalWidth() > rowWidth_; }
    // The width in which tabs show.
    int visibleWidth() const { return scrolls() ? scrollingWidth_ : rowWidth_; }
    // How far the tabs are moved left: 0 up to the last tab's end at the visible edge.
    int offset() const { return offset_; }

    // The tab under x (row coordinates, scrolled), -1 where no tab shows.
    int tabAt(int x) const;
    // The first and last tab that show, at least in part; first > last when none.
    std::pair<int, int> visibleTabs() const;

    // Scrolls so that tab i shows whole (only its left part when it is wider than the
    // visible width); nothing when it does already.
    void makeVisible(int i);
    bool canScrollBack() const { return offset_ > 0; }
    bool canScrollOn() const { return offset_ < maxOffset(); }
    // The tab that begins before the visible part comes in at its left edge.
    void scrollBack();
    // The tab that ends after the visible part comes in at its right edge.
    void scrollOn();

  private:
    int maxOffset() const;
    void clampOffset();
    // The tab that holds position p of the unscrolled row (the last one at its end).
    int tabHolding(int p) const;

    std::vector<int> starts_{0};  // start of each tab, then the end of the last
    int rowWidth_ = 0;
    int scrollingWidth_ = 0;
    int offset_ = 0;
};

}  // namespace mxc9
