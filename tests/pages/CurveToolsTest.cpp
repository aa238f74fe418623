#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <numeric>

#include "common/MessageTable.h"
#include "editor/CurveTools.h"
#include "pages/PageRecord.h"
#include "tests/pages/PagesTestSupport.h"

namespace mxc9 {
namespace {

TEST(Interpolation, EveryBuildRoundsToA64BitSignificand) {
    // Where long double is wider than the x87 format (WebAssembly), the rounding is the
    // program's own: one unit in the 65th bit goes, one in the 64th stays, halves to even.
    const long double one = 1.0L;
    EXPECT_EQ(ToExtendedPrecision(one + std::ldexp(one, -63)), one + std::ldexp(one, -63));
    EXPECT_EQ(ToExtendedPrecision(one + std::ldexp(one, -64)), one);
    EXPECT_EQ(ToExtendedPrecision(one + 3 * std::ldexp(one, -64)), one + std::ldexp(one, -62));
    EXPECT_EQ(ToExtendedPrecision(-59.0L / 14), -ToExtendedPrecision(59.0L / 14))
        << "the sign is kept";
}

TEST(Interpolation, RoundsTheExtendedPrecisionProductHalvesToEven) {
    struct Case {
        int diff, span, step, expected;
    };
    const Case cases[] = {
        // Quotients that are not exact: 53-bit precision gives 30, -30 and 15 here.
        {59, 14, 7, 29},
        {-59, 14, 7, -29},
        {29, 14, 7, 14},
        // Exact quotients: halves go to the even neighbour.
        {10, 4, 1, 2},
        {10, 4, 2, 5},
        {10, 4, 3, 8},
        {5, 2, 1, 2},
        {-5, 2, 1, -2},
        {7, 2, 1, 4},
        {63, 31, 31, 63},
        {-63, 31, 31, -63},
        {63, 31, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InterpolationStep(c.diff, c.span, c.step), c.expected)
            << c.diff << "/" << c.span << "*" << c.step;
}

class CurveToolsTest : public ::testing::Test {
  protected:
    CurveToolsTest() {
        for (int k = 0; k < kFrequencyBars; ++k) window.screen.setBar(k, (k * 7) % 64);
        window.screen.setAverageBar(AverageCode(window.screen));
    }

    std::vector<int> bars() const {
        std::vector<int> values;
        for (int k = 0; k < kFrequencyBars; ++k) values.push_back(window.screen.bar(k));
        return values;
    }
    void select(int anchor, int end) {
        window.selection.anchor = anchor;
        window.selection.end = end;
    }

    testing::WindowState window;
    CurveTools tools{window.screen, window.selection, window.display, window.seams};
};

TEST_F(CurveToolsTest, LineRunsFromTheLowerBarWhicheverEndWasChosenFirst) {
    for (auto [anchor, end] : {std::pair{2, 6}, std::pair{6, 2}}) {
        window.screen.setBar(2, 10);
        window.screen.setBar(6, 20);
        select(anchor, end);
        const std::vector<int> before = bars();
        tools.LINER_ADJClick();
        std::vector<int> expected = before;
        for (int k = 2; k <= 6; ++k)
            expected[static_cast<size_t>(k)] =
                std::vector{10, 12, 15, 18, 20}[static_cast<size_t>(k - 2)];
        EXPECT_EQ(bars(), expected) << anchor << "->" << end;
        EXPECT_EQ(window.screen.averageBar(), AverageCode(window.screen));
    }
    ASSERT_FALSE(window.messages.shown.empty());
    EXPECT_EQ(window.messages.shown[0].text, Message(10));
    EXPECT_EQ(window.messages.shown[0].caption, "Info");
    EXPECT_EQ(window.messages.shown[0].icon, MbIcon::Question);
    EXPECT_TRUE(window.display.gauges.empty()) << "the gauge is not repainted";
    EXPECT_TRUE(window.display.readouts.empty());
    EXPECT_EQ(window.selection.anchor, 6);
}

TEST_F(CurveToolsTest, FifteenBarLineMeetsTheHalfAtStepSeven) {
    const std::tuple<int, int, int> cases[] = {{0, 59, 29}, {59, 0, 30}};
    for (auto [first, last, middle] : cases) {
        window.screen.setBar(0, first);
        window.screen.setBar(14, last);
        select(0, 14);
        tools.LINER_ADJClick();
        EXPECT_EQ(window.screen.bar(7), middle) << first << ".." << last;
    }
}

TEST_F(CurveToolsTest, LineOverAllBarsFromZeroTo63) {
    window.screen.setBar(0, 0);
    window.screen.setBar(31, 63);
    select(31, 0);
    tools.LINER_ADJClick();
    std::vector<int> expected;
    for (int i = 0; i < 16; ++i) expected.push_back(2 * i);
    for (int i = 16; i < 32; ++i) expected.push_back(2 * i + 1);
    EXPECT_EQ(bars(), expected);
    EXPECT_EQ(window.screen.averageBar(), 31);
}

TEST_F(CurveToolsTest, NoAfterTheLineRestoresEveryBarAndTheAverage) {
    select(3, 29);
    const std::vector<int> before = bars();
    const int average = window.screen.averageBar();
    window.messages.answers = {kIdNo};
    tools.LINER_ADJClick();
    EXPECT_EQ(bars(), before);
    EXPECT_EQ(window.screen.averageBar(), average);
}

TEST_F(CurveToolsTest, OpenEndSelectionChangesNothingAndAsksNothing) {
    const std::vector<int> before = bars();
    for (auto [anchor, end] : {std::pair{-1, 5}, std::pair{5, -1}, std::pair{-1, 40}}) {
        select(anchor, end);
        tools.LINER_ADJClick();
    }
    EXPECT_EQ(bars(), before);
    EXPECT_TRUE(window.messages.shown.empty());
}

TEST_F(CurveToolsTest, FrequencyResetAnsweredNoFirstChangesNothing) {
    const std::vector<int> before = bars();
    const int average = window.screen.averageBar();
    window.messages.answers = {kIdNo};
    tools.FQRESET_MENUClick();
    EXPECT_EQ(bars(), before);
    EXPECT_EQ(window.screen.averageBar(), average);
    EXPECT_TRUE(window.display.readouts.empty());
    EXPECT_TRUE(window.display.gauges.empty());
    EXPECT_EQ(window.messages.shown.size(), 1u);
    EXPECT_EQ(window.messages.shown[0].text, Message(11));
}

TEST_F(CurveToolsTest, FrequencyResetKeptOrTakenBack) {
    select(4, 9);
    for (int answer : {kIdYes, kIdNo}) {
        const std::vector<int> before = bars();
        const int average = window.screen.averageBar();
        window.messages.shown.clear();
        window.display.readouts.clear();
        window.display.gauges.clear();
        window.messages.answers = {kIdYes, answer};
        tools.FQRESET_MENUClick();
        if (answer == kIdYes) {
            EXPECT_EQ(bars(), std::vector<int>(kFrequencyBars, Defaults::kFreq));
            EXPECT_EQ(window.screen.averageBar(), Defaults::kFreq);
        } else {
            EXPECT_EQ(bars(), before);
            EXPECT_EQ(window.screen.averageBar(), average);
        }
        EXPECT_EQ(window.display.readouts, std::vector<int>{kAverageBarTag});
        EXPECT_EQ(window.display.gauges, (std::vector<std::pair<int, int>>{{-1, -1}}));
        EXPECT_EQ(window.selection.anchor, 4);
        ASSERT_EQ(window.messages.shown.size(), 2u);
        EXPECT_EQ(window.messages.shown[1].text, Message(12));
        // Leave the bars apart from the defaults for the next round.
        for (int k = 0; k < kFrequencyBars; ++k) window.screen.setBar(k, k);
        window.screen.setAverageBar(AverageCode(window.screen));
    }
}

TEST_F(CurveToolsTest, ValuesResetSetsTheFiveDefaultsAndNoTakesThemBack) {
    auto setOthers = [this] {
        window.screen.setNeutralBrake(55);
        window.screen.setListIndex(ListId::Brake, 3);
        window.screen.setListIndex(ListId::CutVt, 0);
        window.screen.setListIndex(ListId::Response, 9);
        window.screen.setListIndex(ListId::Current, 40);  // no selection: -1
        window.screen.setComment("kept");
    };
    auto others = [this] {
        return std::vector<int>{
            window.screen.neutralBrake(), window.screen.listIndex(ListId::Brake),
            window.screen.listIndex(ListId::CutVt), window.screen.listIndex(ListId::Response),
            window.screen.listIndex(ListId::Current)};
    };
    const std::vector<int> bars0 = bars();

    setOthers();
    window.messages.answers = {kIdNo};
    tools.ATHOR_MENUClick();
    EXPECT_EQ(others(), (std::vector<int>{55, 3, 0, 9, -1}));

    window.messages.answers = {kIdYes, kIdYes};
    tools.ATHOR_MENUClick();
    EXPECT_EQ(others(), (std::vector<int>{0, 31, 2, 0, 12}));
    EXPECT_EQ(window.screen.neutralBrakeCaption(), "OFF");
    EXPECT_EQ(window.screen.comment(), "kept");
    EXPECT_EQ(bars(), bars0);

    setOthers();
    window.messages.answers = {kIdYes, kIdNo};
    tools.ATHOR_MENUClick();
    EXPECT_EQ(others(), (std::vector<int>{55, 3, 0, 9, -1}));
    EXPECT_EQ(window.screen.neutralBrakeCaption(), "55");
    const std::vector<std::string> texts = {Message(13), Message(13), Message(14), Message(13),
                                            Message(14)};
    ASSERT_EQ(window.messages.shown.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(window.messages.shown[i].text, texts[i]);
}

}  // namespace
}  // namespace mxc9
