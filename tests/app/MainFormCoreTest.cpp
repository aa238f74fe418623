#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "app/MainFormCore.h"
#include "common/MessageTable.h"
#include "platform/FileAccess.h"
#include "tests/device/ScriptedPort.h"
#include "tests/fakes/FakeSeams.h"
#include "tests/support/TestFiles.h"

namespace mxc9 {
namespace {

using namespace mxc9::testing;

// The comment boxes of the two window systems separate lines differently (LF in Qt's,
// CR LF in the Win32 edit box); the page keeps CR LF either way, and what either box
// shows is the same text.
// The seams a core needs, faked; the program folder a temporary one.
struct CoreSeams : FakeSeamSet<> {
    Seams all =
        (folder.path = WithTrailingSeparator(testing::MakeTemporaryFolder("mxc9-core")), seams());
};

TEST(MainFormCoreComment, EitherBoxesLineBreaksKeepTheSamePage) {
    CoreSeams fakes;
    MainFormCore core(fakes.all);
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

class CoreView : public MainFormView {
  public:
    int port = 0;
    std::vector<bool> busy;
    void showTitle(const std::string&) override {}
    void showHints(const std::array<std::string, kSpeedButtons>&) override {}
    void showMenuCaptions(const std::array<std::string, kPageMenuItems>&) override {}
    void showBrakeItems(const std::vector<std::string>&, int) override {}
    int portIndex() const override { return port; }
    void showPortIndex(int index) override { port = index; }
    void showPortDevices(const std::vector<PortEntry>&) override {}
    void focusTabControl() override {}
    void showTransferBusy(bool b) override { busy.push_back(b); }
    void closeWindow() override {}
};

// What the screen shows again while its page is held.
class ShownAgain : public ScreenModel::Listener {
  public:
    int brake = 0, lists = 0;
    void neutralBrakeChanged() override { ++brake; }
    void listChanged(ListId) override { ++lists; }
};

TEST(MainFormCoreTransfer, ThePageTakesNoEditForTheWholeTransferAndEveryEditAfterIt) {
    CoreSeams fakes;
    FakeMessageBoxes& messages = fakes.messages;
    AnsweringPort* port = nullptr;
    MainFormCore core(fakes.all, [&port] {
        auto made = std::make_unique<AnsweringPort>();
        port = made.get();
        return made;
    });
    CoreView view;
    ShownAgain shown;
    core.screen().setListener(&shown);
    core.FormCreate(view);
    view.port = 1;
    core.CommPortCloseUp();
    ASSERT_TRUE(port && port->isOpen);

    // Every way an edit reaches the core, each tried inside the transfer.
    auto editEverything = [&core] {
        int position = 10;
        core.FRQ_Scroll(3, scLineDown, position);
        int average = 50;
        core.AVG_BARScroll(scTrack, average);
        core.NBRK_BARChange(40);
        core.ListChange(ListId::Current, 2);
        return std::pair{position, average};
    };
    for (bool write : {true, false}) {
        SCOPED_TRACE(write ? "Write" : "Read");
        const ScreenModel before = core.screen();
        bool heldMeanwhile = false;
        std::pair<int, int> positions;
        std::optional<std::string> commentShown;
        ShownAgain shownMeanwhile;
        port->meanwhile = [&] {
            heldMeanwhile = core.transferRunning() && core.pageHeld();
            positions = editEverything();
            commentShown = core.CommentChange("typed meanwhile");
            shownMeanwhile = shown;
        };
        shown = {};
        view.busy.clear();
        messages.shown.clear();
        write ? core.PROGRAM_BTNClick() : core.READ_BTNClick();
        ASSERT_TRUE(heldMeanwhile) << "the edits came inside the transfer";
        EXPECT_EQ(view.busy, (std::vector<bool>{true, false}));
        EXPECT_EQ(messages.shown.back().text, Message(write ? 1 : 3));  // "Completed"
        // The bars' requests come back refused, the brake bar and the list are shown
        // again as the page has them, and the comment box is given the page's text.
        EXPECT_EQ(positions, std::pair(before.bar(3), before.averageBar()));
        EXPECT_EQ(shownMeanwhile.brake, 1);
        EXPECT_EQ(shownMeanwhile.lists, 1);
        EXPECT_EQ(commentShown, core.CommentText());
        if (write) {
            EXPECT_EQ(core.screen().comment(), before.comment());
            EXPECT_EQ(core.screen().neutralBrake(), before.neutralBrake());
            EXPECT_EQ(core.screen().listIndex(ListId::Current), before.listIndex(ListId::Current));
            EXPECT_EQ(core.screen().bar(3), before.bar(3));
        }
    }
    // Once the transfer has ended the page takes edits again.
    core.NBRK_BARChange(40);
    EXPECT_EQ(core.screen().neutralBrake(), 40);
    EXPECT_FALSE(core.CommentChange("typed after"));
    EXPECT_EQ(core.screen().comment(), "typed after");
    core.screen().setListener(nullptr);
}

}  // namespace
}  // namespace mxc9
