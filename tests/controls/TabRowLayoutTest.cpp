// Where the tabs of the tab row stand and how the row scrolls, without a display.
#include <gtest/gtest.h>

#include <vector>

#include "controls/TabRowLayout.h"

namespace mxc9 {
namespace {

// Ten tabs of 100 pixels in a row of 500 whose buttons leave 460 for the tabs.
TabRowLayout TenTabs() {
    TabRowLayout row;
    row.setTabs(std::vector<int>(10, 100));
    row.setRowWidth(500, 460);
    return row;
}

TEST(TabRowLayout, TabsThatFitShowWholeAndAClickFindsItsTab) {
    TabRowLayout row;
    row.setTabs({50, 60, 70});
    row.setRowWidth(300, 260);
    EXPECT_FALSE(row.scrolls());
    EXPECT_EQ(row.visibleWidth(), 300) << "no buttons, the whole row for the tabs";
    EXPECT_EQ(row.visibleTabs(), std::make_pair(0, 2));
    const std::pair<int, int> clicks[] = {{-1, -1}, {0, 0},    {49, 0},  {50, 1},
                                          {179, 2}, {180, -1}, {299, -1}};
    for (const auto& [x, tab] : clicks) EXPECT_EQ(row.tabAt(x), tab) << "x " << x;
    row.makeVisible(2);
    EXPECT_EQ(row.offset(), 0);
}

TEST(TabRowLayout, ARowTooNarrowScrollsAndShowsWhatLiesLeftOfItsButtons) {
    TabRowLayout row = TenTabs();
    ASSERT_TRUE(row.scrolls());
    row.makeVisible(9);  // the last tab ends at the buttons
    EXPECT_EQ(row.offset(), 540);
    EXPECT_EQ(row.visibleTabs(), std::make_pair(5, 9));
    const std::pair<int, int> clicks[] = {{0, 5}, {59, 5}, {60, 6}, {459, 9}, {460, -1}};
    for (const auto& [x, tab] : clicks) EXPECT_EQ(row.tabAt(x), tab) << "x " << x;
    EXPECT_FALSE(row.canScrollOn());
    EXPECT_TRUE(row.canScrollBack());

    row.makeVisible(7);  // already whole in view
    EXPECT_EQ(row.offset(), 540);
    row.makeVisible(2);  // left of the view: it comes in at the left edge
    EXPECT_EQ(row.offset(), 200);
}

TEST(TabRowLayout, TheButtonsBringInOneTabAtATime) {
    TabRowLayout row = TenTabs();
    // Right: the tab cut at the visible edge comes in whole, its end at the buttons.
    for (int expected : {40, 140, 240, 340, 440, 540, 540}) {
        row.scrollOn();
        EXPECT_EQ(row.offset(), expected) << "on";
    }
    // Left: the tab cut at the left edge, then each tab before it, comes in at that edge.
    for (int expected : {500, 400, 300, 200, 100, 0, 0}) {
        row.scrollBack();
        EXPECT_EQ(row.offset(), expected) << "back";
    }
}

TEST(TabRowLayout, FewerOrNarrowerTabsPullTheRowBack) {
    TabRowLayout row = TenTabs();
    row.makeVisible(9);
    row.setTabs(std::vector<int>(7, 100));  // 700 wide: at most 240 to scroll
    EXPECT_EQ(row.offset(), 240);
    row.setTabs(std::vector<int>(5, 100));  // fits the row without buttons
    EXPECT_FALSE(row.scrolls());
    EXPECT_EQ(row.offset(), 0);
    row.setTabs({});
    EXPECT_EQ(row.tabAt(10), -1);
    EXPECT_GT(row.visibleTabs().first, row.visibleTabs().second);
}

TEST(TabRowLayout, ATabWiderThanTheViewShowsFromItsLeftEdge) {
    TabRowLayout row;
    row.setTabs({100, 800, 100});
    row.setRowWidth(500, 460);
    row.makeVisible(1);
    EXPECT_EQ(row.offset(), 100);
    row.scrollOn();  // its right part, then the tab after it
    EXPECT_EQ(row.offset(), 440);
    row.scrollOn();
    EXPECT_EQ(row.offset(), 540);
}

}  // namespace
}  // namespace mxc9
