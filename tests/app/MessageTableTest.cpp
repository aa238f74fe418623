#include <gtest/gtest.h>

#include "common/MessageTable.h"
#include "editor/FrequencyTable.h"
#include "editor/ScreenModel.h"

namespace mxc9 {
namespace {

TEST(MessageTable, RowsWithEqualEnglishTextsStaySeparateInJapanese) {
    EXPECT_EQ(MessageIn(1, 1), MessageIn(1, 3));
    EXPECT_NE(MessageIn(0, 1), MessageIn(0, 3));
    EXPECT_EQ(MessageIn(1, 7), MessageIn(1, 8));
    EXPECT_NE(MessageIn(0, 7), MessageIn(0, 8));
}

TEST(MessageTable, RefusedCharactersRowHoldsTheNineInOrder) {
    EXPECT_EQ(MessageIn(1, 23), "\\/:*?\"<>|");
    EXPECT_EQ(MessageIn(0, 23), "\\/:*?\"<>|の文字は使用できません");
}

TEST(MessageTable, LanguageIndexInUseChoosesTheBlock) {
    if (LanguageIndex() == 1) {
        EXPECT_EQ(LanguageCode(), "US");
        EXPECT_EQ(Message(0), "Close the program?");
        EXPECT_EQ(Message(34), "Delete");
    } else {
        EXPECT_EQ(LanguageCode(), "JP");
        EXPECT_EQ(Message(0), "終了してよろしいですか？");
        EXPECT_EQ(Message(34), "現在のページを削除する");
    }
    EXPECT_EQ(std::string(kCaptionQuit), "Quit");
}

TEST(MessageTable, RowsOutsideTheTableAreEmpty) {
    EXPECT_EQ(Message(-1), "");
    EXPECT_EQ(Message(kMessageRows), "");
    EXPECT_EQ(MessageIn(2, 0), "");
}

TEST(MessageTable, FilledRowsPutEachValueInItsPlace) {
    const std::string path = "C:\\data\\a.mxd";
    const std::string cut = MessageWith(kMessagePagesCut, {"1000", "2000000000", "1000"});
    if (LanguageIndex() == 1) {
        EXPECT_EQ(MessageWith(kMessageCannotWrite, {path}), "Cannot write to " + path);
        EXPECT_EQ(SettingsFileFilterNames().settingsFiles, "Settings data (*.mxd)");
        EXPECT_EQ(cut,
                  "1000 of the file's 2000000000 pages were read: a window holds at most "
                  "1000 pages.");
    } else {
        // The Japanese text stays as it always was.
        EXPECT_EQ(MessageWith(kMessageCannotWrite, {path}), path + " に書き込めません");
        EXPECT_EQ(SettingsFileFilterNames().settingsFiles, "設定データ (*.mxd)");
        EXPECT_EQ(
            cut,
            "ファイルの 2000000000 ページのうち 1000 ページを読み込みました（ページは 1000 まで）");
    }
}

TEST(FrequencyTable, LabelsAtTheEndsAndTheJump) {
    EXPECT_EQ(FrequencyLabel(0), " 0.93");
    EXPECT_EQ(FrequencyLabel(35), " 3.98");
    EXPECT_EQ(FrequencyLabel(59), " 9.98");
    EXPECT_EQ(FrequencyLabel(60), "10.60");
    EXPECT_EQ(FrequencyLabel(63), "12.00");
    EXPECT_EQ(FrequencyLabel(64), "");
    for (int code = 0; code < kFrequencyCodes; ++code) EXPECT_EQ(FrequencyLabel(code).size(), 5u);
}

TEST(ScreenModel, ControlRules) {
    struct Counter : ScreenModel::Listener {
        int bars = 0, lists = 0, brakes = 0;
        void barChanged(int) override { ++bars; }
        void listChanged(ListId) override { ++lists; }
        void neutralBrakeChanged() override { ++brakes; }
    } counter;
    ScreenModel screen;
    screen.setListener(&counter);
    screen.setBar(3, 70);
    EXPECT_EQ(screen.bar(3), 63);
    screen.setBar(3, 63);  // equal value: no event
    screen.setBar(4, -5);
    EXPECT_EQ(screen.bar(4), 0);
    EXPECT_EQ(counter.bars, 2);
    screen.setListIndex(ListId::Current, 13);
    EXPECT_EQ(screen.listIndex(ListId::Current), -1);
    screen.setListIndex(ListId::Current, -7);
    EXPECT_EQ(counter.lists, 1);
    screen.setNeutralBrake(150);
    EXPECT_EQ(screen.neutralBrake(), 100);
    EXPECT_EQ(screen.neutralBrakeCaption(), "100");
    screen.setNeutralBrake(0);
    EXPECT_EQ(screen.neutralBrakeCaption(), "OFF");
    EXPECT_EQ(counter.brakes, 2);
}

TEST(ScreenModel, BrakeFrequencyItems) {
    auto items = ListItems(ListId::Brake);
    ASSERT_EQ(items.size(), 64u);
    EXPECT_EQ(items[0], "01:  0.93kHz");
    EXPECT_EQ(items[31], "32:  3.45kHz");
    EXPECT_EQ(items[59], "60:  9.98kHz");
    EXPECT_EQ(items[60], "61: 10.60kHz");
    EXPECT_EQ(items[63], "64: 12.00kHz");
}

}  // namespace
}  // namespace mxc9
