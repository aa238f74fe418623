#include <gtest/gtest.h>

#include <string>

#include "app/MainFormCore.h"
#include "tests/fakes/FakeSeams.h"

namespace mxc9 {
namespace {

using namespace mxc9::testing;

// The comment boxes of the two window systems separate lines differently (LF in Qt's,
// CR LF in the Win32 edit box); the page keeps CR LF either way, and what either box
// shows is the same text.
TEST(MainFormCoreComment, EitherBoxesLineBreaksKeepTheSamePage) {
    FakeMessageBoxes messages;
    FakeProgramFolder folder;
    FakeKeyboardState keyboard;
    FakeClock clock;
    Seams seams;
    seams.messages = &messages;
    seams.programFolder = &folder;
    seams.keyboard = &keyboard;
    seams.clock = &clock;
    MainFormCore core(seams);
    struct Case {
        const char* lineBreak;
        std::string typed;
    };
    const Case cases[] = {{"\n", "first\nsecond"}, {"\r\n", "first\r\nsecond"}};
    for (const Case& c : cases) {
        core.screen().setComment("");
        EXPECT_FALSE(core.CommentChange(c.typed, c.lineBreak)) << c.lineBreak;
        EXPECT_EQ(core.screen().comment(), "first\r\nsecond");
        EXPECT_EQ(core.CommentText(c.lineBreak), c.typed);
        // A character code page 932 cannot hold comes back as '?', the breaks as typed.
        const auto kept =
            core.CommentChange(c.typed + c.lineBreak + "\xF0\x9F\x98\x80", c.lineBreak);
        ASSERT_TRUE(kept);
        EXPECT_EQ(*kept, c.typed + c.lineBreak + "?");
        EXPECT_EQ(core.screen().comment(), "first\r\nsecond") << "the page waits for the kept text";
    }
}

}  // namespace
}  // namespace mxc9
