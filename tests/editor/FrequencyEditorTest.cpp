#include <gtest/gtest.h>

#include <set>

#include "editor/FrequencyEditor.h"
#include "editor/ScrollRequest.h"
#include "tests/fakes/FakeSeams.h"

namespace mxc9 {
namespace {

constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kNavy{0, 0, 128};

class FrequencyEditorTest : public ::testing::Test {
  protected:
    FrequencyEditorTest() {
        for (int i = 0; i < kFrequencyBars; ++i) screen.setBar(i, 35);
        screen.setAverageBar(35);
    }
    void setBars(std::initializer_list<std::pair<int, int>> codes) {
        for (auto [index, code] : codes) screen.setBar(index, code);
        screen.setAverageBar(AverageCode(screen));
    }
    void enter(int tag, bool shift) {
        keyboard.shift = shift;
        editor.FRQ_Enter(tag);
    }
    std::set<int> markedCells() const {
        std::set<int> marked;
        for (int i = 0; i < kFrequencyBars; ++i)
            if (editor.gauge().pixel(17 * i + 8, 3) == kGreen) marked.insert(i);
        return marked;
    }

    ScreenModel screen;
    testing::FakeKeyboardState keyboard;
    FrequencyEditor editor{screen, keyboard};
};

TEST(SelectionGauge, BasePictureHasFrameSeparatorsAndBlackCells) {
    SelectionGauge gauge;
    const Rgb grey{128, 128, 128}, white{255, 255, 255}, black{0, 0, 0};
    EXPECT_EQ(gauge.pixel(0, 3), grey);
    EXPECT_EQ(gauge.pixel(300, 0), grey);
    EXPECT_EQ(gauge.pixel(300, 6), white);
    for (int x = 17; x <= 544; x += 17) EXPECT_EQ(gauge.pixel(x, 3), white) << x;
    EXPECT_EQ(gauge.pixel(1, 1), black);
    EXPECT_EQ(gauge.pixel(16, 5), black);
}

TEST(SelectionGauge, ColourTableHoldsGreenAndNavyAsColorRefs) {
    EXPECT_EQ(FromColorRef(kGaugeColors[0]), kGreen);
    EXPECT_EQ(FromColorRef(kGaugeColors[1]), kNavy);
}

struct GaugeCase {
    int a, b;
    std::set<int> marked;
};

class GaugeRange : public FrequencyEditorTest, public ::testing::WithParamInterface<GaugeCase> {};

TEST_P(GaugeRange, MarksExactlyTheCellsOfTheRange) {
    editor.DrawSelectionGauge(GetParam().a, GetParam().b);
    EXPECT_EQ(markedCells(), GetParam().marked);
    // Every cell is filled edge to edge and leaves the separators alone.
    for (int i = 0; i < kFrequencyBars; ++i) {
        const Rgb expected = GetParam().marked.count(i) ? kGreen : kNavy;
        EXPECT_EQ(editor.gauge().pixel(17 * i + 1, 1), expected);
        EXPECT_EQ(editor.gauge().pixel(17 * i + 16, 5), expected);
        EXPECT_EQ(editor.gauge().pixel(17 * i + 17, 3), (Rgb{255, 255, 255}));
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, GaugeRange,
                         ::testing::Values(GaugeCase{-1, -1, {}}, GaugeCase{-1, 5, {}},
                                           GaugeCase{5, -1, {}}, GaugeCase{3, 5, {3, 4, 5}},
                                           GaugeCase{5, 3, {3, 4, 5}}, GaugeCase{0, 0, {0}},
                                           GaugeCase{31, 31, {31}}, GaugeCase{30, 31, {30, 31}}));

TEST_F(FrequencyEditorTest, WholeRangeMarksAllCells) {
    editor.DrawSelectionGauge(0, 31);
    EXPECT_EQ(markedCells().size(), 32u);
}

struct ReadoutCase {
    int index, code;
    Readouts expected;
};

TEST(Readouts, TextsForBarsAndTheAverageBar) {
    const ReadoutCase cases[] = {
        {0, 0, {" 0.93kHz", "No,1", "THRT1"}},   {31, 63, {"12.00kHz", "No,64", "THRT32"}},
        {4, 35, {" 3.98kHz", "No,36", "THRT5"}}, {32, 59, {" 9.98kHz", "No,60", "AVG"}},
        {32, 60, {"10.60kHz", "No,61", "AVG"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadoutsFor(c.index, c.code), c.expected) << c.index;
}

TEST_F(FrequencyEditorTest, ShowReadoutsClearsWithMinusOneAndIgnoresOtherIndices) {
    setBars({{6, 12}});
    editor.ShowReadouts(6);
    EXPECT_EQ(editor.readouts(), (Readouts{" 1.52kHz", "No,13", "THRT7"}));
    editor.ShowReadouts(33);
    editor.ShowReadouts(-2);
    EXPECT_EQ(editor.readouts().name, "THRT7");
    editor.ShowReadouts(-1);
    EXPECT_EQ(editor.readouts(), Readouts{});
}

TEST_F(FrequencyEditorTest, EnteringWithoutShiftStartsANewRange) {
    enter(4, false);
    EXPECT_EQ(editor.selection().anchor, 4);
    EXPECT_EQ(editor.selection().end, 4);
    EXPECT_EQ(editor.selection().focused, 4);
    EXPECT_EQ(markedCells(), (std::set<int>{4}));
    EXPECT_EQ(editor.readouts().name, "THRT5");
}

TEST_F(FrequencyEditorTest, EnteringWithShiftExtendsFromTheOldAnchor) {
    enter(4, false);
    editor.FRQ_Exit(4);
    EXPECT_TRUE(markedCells().empty());
    enter(7, true);
    EXPECT_EQ(editor.selection().anchor, 4);
    EXPECT_EQ(editor.selection().end, 7);
    EXPECT_EQ(markedCells(), (std::set<int>{4, 5, 6, 7}));
}

TEST_F(FrequencyEditorTest, LeavingABarEmptiesTheGaugeButKeepsTheState) {
    enter(4, false);
    enter(6, true);
    editor.FRQ_Exit(6);
    EXPECT_TRUE(markedCells().empty());
    EXPECT_EQ(editor.selection().anchor, 4);
    EXPECT_EQ(editor.selection().end, 6);
    EXPECT_EQ(editor.readouts().name, "THRT7");
}

TEST_F(FrequencyEditorTest, EnteringTheAverageBarKeepsRangeAndGauge) {
    enter(2, false);
    enter(3, true);
    enter(kAverageBarTag, false);
    EXPECT_EQ(editor.selection().anchor, 2);
    EXPECT_EQ(editor.selection().end, 3);
    EXPECT_EQ(editor.selection().focused, kAverageBarTag);
    EXPECT_EQ(markedCells(), (std::set<int>{2, 3}));
    EXPECT_EQ(editor.readouts().name, "AVG");
}

TEST_F(FrequencyEditorTest, ShiftBeforeAnyPlainEnterGivesTheOpenEndState) {
    enter(31, true);
    EXPECT_EQ(editor.selection().anchor, -1);
    EXPECT_EQ(editor.selection().end, 31);
    EXPECT_TRUE(markedCells().empty());
}

struct KeyCase {
    int index;
    uint16_t key;
    bool passedOn;
    FocusMove move;
};

TEST_F(FrequencyEditorTest, KeyDecisions) {
    const KeyCase cases[] = {
        {5, kVkUp, true, FocusMove::None},        {5, kVkDown, true, FocusMove::None},
        {5, kVkLeft, false, FocusMove::Previous}, {0, kVkLeft, false, FocusMove::None},
        {5, kVkRight, false, FocusMove::Next},    {30, kVkRight, false, FocusMove::Next},
        {31, kVkRight, false, FocusMove::None},   {31, kVkLeft, false, FocusMove::Previous},
        {5, 33, false, FocusMove::None},          {5, 34, false, FocusMove::None},
        {5, 35, false, FocusMove::None},          {5, 36, false, FocusMove::None},
        {5, kVkShift, false, FocusMove::None},    {5, 'A', false, FocusMove::None},
    };
    for (const auto& c : cases) {
        uint16_t key = c.key;
        EXPECT_EQ(editor.FRQ_KeyDown(c.index, key), c.move) << c.index << " key " << c.key;
        EXPECT_EQ(key != 0, c.passedOn) << c.index << " key " << c.key;
        if (c.passedOn) {
            EXPECT_EQ(key, c.key);
        }
    }
}

TEST_F(FrequencyEditorTest, KeyUpWithoutShiftCollapsesTheRangeToTheBar) {
    enter(2, false);
    enter(5, true);
    keyboard.shift = true;
    editor.FRQ_KeyUp(5);  // Shift still down: nothing changes
    EXPECT_EQ(editor.selection().anchor, 2);
    keyboard.shift = false;
    editor.FRQ_KeyUp(5);
    EXPECT_EQ(editor.selection().anchor, 5);
    EXPECT_EQ(editor.selection().end, 5);
    EXPECT_EQ(markedCells(), (std::set<int>{5}));
}

TEST_F(FrequencyEditorTest, PlainScrollMovesOnlyTheScrolledBar) {
    enter(2, false);
    enter(5, true);
    keyboard.shift = false;
    int pos = 36;
    editor.FRQ_Scroll(5, scLineDown, pos);
    EXPECT_EQ(pos, 36);
    EXPECT_EQ(screen.bar(5), 36);
    EXPECT_EQ(screen.bar(2), 35);
    EXPECT_EQ(editor.selection().anchor, 5);
    EXPECT_EQ(markedCells(), (std::set<int>{5}));
    EXPECT_EQ(editor.readouts(), (Readouts{" 4.14kHz", "No,37", "THRT6"}));
}

TEST_F(FrequencyEditorTest, GroupScrollMovesTheRangeOrRefusesItAsAWhole) {
    setBars({{3, 10}, {4, 0}, {5, 20}});
    enter(3, false);
    enter(4, true);
    enter(5, true);
    const int averageBefore = screen.averageBar();
    int pos = 19;  // line up proposes current - 1
    editor.FRQ_Scroll(5, scLineUp, pos);
    EXPECT_EQ(pos, 20);
    EXPECT_EQ(screen.bar(3), 10);
    EXPECT_EQ(screen.bar(4), 0);
    EXPECT_EQ(screen.bar(5), 20);
    EXPECT_EQ(screen.averageBar(), averageBefore);

    pos = 21;
    editor.FRQ_Scroll(5, scLineDown, pos);
    EXPECT_EQ(pos, 21);
    EXPECT_EQ(screen.bar(3), 11);
    EXPECT_EQ(screen.bar(4), 1);
    EXPECT_EQ(screen.bar(5), 21);
    EXPECT_EQ(screen.bar(6), 35);
    EXPECT_EQ(screen.averageBar(), AverageCode(screen));
}

TEST_F(FrequencyEditorTest, ThumbTrackingJudgesEachStepAgainstCurrentPositions) {
    setBars({{0, 50}, {1, 60}});
    enter(0, false);
    enter(1, true);
    int pos = 63;  // +3 from bar 1 would carry nothing out of range
    editor.FRQ_Scroll(1, scTrack, pos);
    EXPECT_EQ(screen.bar(0), 53);
    EXPECT_EQ(screen.bar(1), 63);
    pos = 63;
    editor.FRQ_Scroll(0, scTrack, pos);  // +10 from bar 0 is too far for bar 1
    EXPECT_EQ(pos, 53);
    EXPECT_EQ(screen.bar(0), 53);
    pos = 40;
    editor.FRQ_Scroll(1, scTrack, pos);  // back within range: moves again
    EXPECT_EQ(screen.bar(0), 30);
    EXPECT_EQ(screen.bar(1), 40);
}

TEST_F(FrequencyEditorTest, EndOfScrollProposesTheCurrentPosition) {
    enter(7, false);
    int pos = 12;
    editor.FRQ_Scroll(7, scEndScroll, pos);
    EXPECT_EQ(pos, 35);
    EXPECT_EQ(screen.bar(7), 35);
}

TEST_F(FrequencyEditorTest, OpenEndRangeScrollsOnlyTheBarThatHasAnIndex) {
    enter(31, true);
    int pos = 36;
    editor.FRQ_Scroll(31, scLineDown, pos);
    EXPECT_EQ(screen.bar(31), 36);
    for (int i = 0; i < 31; ++i) EXPECT_EQ(screen.bar(i), 35) << i;
}

TEST_F(FrequencyEditorTest, AverageBarScrollMovesAllBarsOrNone) {
    setBars({{9, 63}});
    int pos = screen.averageBar() + 1;
    editor.AVG_BARScroll(scLineDown, pos);
    EXPECT_EQ(pos, screen.averageBar());
    EXPECT_EQ(screen.bar(9), 63);
    EXPECT_EQ(screen.bar(0), 35);

    setBars({{9, 62}});
    const int before = screen.averageBar();
    pos = before + 1;
    editor.AVG_BARScroll(scLineDown, pos);
    EXPECT_EQ(screen.bar(9), 63);
    EXPECT_EQ(screen.bar(0), 36);
    EXPECT_EQ(screen.averageBar(), before + 1);
    EXPECT_EQ(editor.readouts().name, "AVG");
}

TEST_F(FrequencyEditorTest, AverageBarScrollLeavesTheSelectionAlone) {
    enter(3, false);
    enter(6, true);
    int pos = 30;
    editor.AVG_BARScroll(scTrack, pos);
    EXPECT_EQ(screen.bar(0), 30);
    EXPECT_EQ(editor.selection().anchor, 3);
    EXPECT_EQ(editor.selection().end, 6);
}

TEST(AverageCode, IsTheTruncatedMean) {
    ScreenModel screen;
    for (int i = 0; i < kFrequencyBars; ++i) screen.setBar(i, 0);
    screen.setBar(0, 31);
    EXPECT_EQ(AverageCode(screen), 0);
    screen.setBar(0, 63);
    EXPECT_EQ(AverageCode(screen), 1);
    for (int i = 0; i < kFrequencyBars; ++i) screen.setBar(i, 63);
    screen.setBar(0, 62);  // sum 2015
    EXPECT_EQ(AverageCode(screen), 62);
}

// A native bar sends only the request; the position it proposes is ours to compute.
TEST(ProposedScrollPosition, StepsEndsAndDragsStayInRange) {
    const ScrollRange range{0, 63, 1, 1};
    struct Case {
        int code, position, thumb, expected;
    };
    const Case cases[] = {
        {scLineUp, 10, 0, 9},    {scLineDown, 10, 0, 11},   {scPageUp, 10, 0, 9},
        {scPageDown, 10, 0, 11}, {scLineUp, 0, 0, 0},       {scLineDown, 63, 0, 63},
        {scTrack, 10, 40, 40},   {scPosition, 10, 70, 63},  {scTop, 10, 0, 0},
        {scBottom, 10, 0, 63},   {scEndScroll, 10, 40, 10}, {99, 10, 40, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProposedScrollPosition(c.code, c.position, c.thumb, range), c.expected)
            << "code " << c.code << " from " << c.position;
    EXPECT_EQ(ProposedScrollPosition(scPageDown, 95, 0, ScrollRange{0, 100, 1, 10}), 100);
}

}  // namespace
}  // namespace mxc9
