#include <gtest/gtest.h>

#include "app/ApplicationShell.h"
#include "common/MessageTable.h"
#include "tests/fakes/FakeSeams.h"

namespace mxc9 {
namespace {

TEST(DefaultErrorText, AppendsAPeriodOnlyAfterCharactersSortingAfterIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"Disk full", "Disk full."},
        {"Disk full.", "Disk full."},
        {"Failed!", "Failed!"},  // '!' sorts before '.'
        {"Size -", "Size -"},    // '-' sorts before '.'
        {"Path /", "Path /."},   // '/' sorts after '.'
        {"Code 7", "Code 7."},
        {"書き込めません", "書き込めません."},  // a Japanese last character sorts after
        {"終わり。", "終わり。."},
    };
    for (const auto& [message, shown] : cases) EXPECT_EQ(DefaultErrorText(message), shown);
}

TEST(DefaultErrorText, BoxCarriesTheApplicationTitleErrorIconAndOk) {
    testing::FakeMessageBoxes boxes;
    const std::string previous = ApplicationTitle();
    SetApplicationTitle("MXC-9 Manager Ver2.2 US");
    ShowDefaultError(boxes, "out of memory");
    SetApplicationTitle(previous);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "out of memory.");
    EXPECT_EQ(boxes.shown[0].caption, "MXC-9 Manager Ver2.2 US");
    EXPECT_EQ(boxes.shown[0].icon, MbIcon::Error);
    EXPECT_EQ(boxes.shown[0].buttons, MbButtons::Ok);
}

TEST(MainWindowTitle, IsThePrefixFollowedDirectlyByTheLanguageCode) {
    EXPECT_EQ(MainWindowTitle(),
              LanguageIndex() == 1 ? "MXC-9 Manager Ver2.2 US" : "MXC-9 Manager Ver2.2 JP");
}

}  // namespace
}  // namespace mxc9
