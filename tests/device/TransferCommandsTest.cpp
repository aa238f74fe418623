// Write, Read and their messages, with a scripted controller.
#include <gtest/gtest.h>

#include <functional>

#include "app/AppSettings.h"
#include "common/MessageTable.h"
#include "device/Conversions.h"
#include "device/TransferCommands.h"
#include "tests/device/ScriptedPort.h"
#include "tests/device/TempFolder.h"

namespace mxc9 {
namespace {

using testing::ReadReply;
using testing::WriteReply;

// A scripted port that runs a callback while the link waits for a byte, the way the
// window's events run during a real wait.
class WaitingPort : public testing::ScriptedPort {
  public:
    std::function<void()> duringWait;
    int readByte(uint8_t& byte) override {
        if (duringWait) duringWait();
        return ScriptedPort::readByte(byte);
    }
};

class Transfers : public ::testing::Test {
  protected:
    void SetUp() override {
        auto owned = std::make_unique<WaitingPort>();
        port = owned.get();
        link.CreatePort(std::move(owned));
        port->isOpen = true;
        commands.setHooks({[this] { events.push_back("focus"); },
                           [this](bool busy) { events.push_back(busy ? "busy" : "idle"); }});
    }
    std::string controllerData() const {
        std::string data;
        for (int i = 0; i < kImageValues; ++i) data.push_back(static_cast<char>(11 + i));
        data[kImageNeutralBrake] = 18;  // position 7
        data[kImageBrakeFrequency] = 40;
        data[kImageCutOff] = static_cast<char>(140);
        data[kImageResponse] = 12;      // "6"
        data[kImageCurrentLimit] = 10;  // "120A"
        return data;
    }
    const testing::ShownMessage& onlyMessage() const {
        EXPECT_EQ(boxes.shown.size(), 1u);
        return boxes.shown.back();
    }

    testing::TempProgramFolder folder;
    testing::FakeMessageBoxes boxes;
    AppSettings settings{folder, boxes};
    ScreenModel screen;
    DeviceLink link{boxes};
    WaitingPort* port = nullptr;
    TransferCommands commands{screen, link, boxes, settings};
    std::vector<std::string> events;
};

TEST_F(Transfers, WriteSendsTheScreenWithThePassThroughBytesAsRead) {
    screen.setNeutralBrake(1);
    screen.setListIndex(ListId::Brake, 2);
    for (int bar = 0; bar < kFrequencyBars; ++bar) screen.setBar(bar, 63 - bar);
    const std::string data = controllerData();
    DeviceImage expected{};
    for (int i = 0; i < kImageValues; ++i) expected[i] = static_cast<uint8_t>(data[i]);
    ScreenToImage(screen, expected);
    port->replies = {ReadReply(data), WriteReply(BuildWriteFrame(expected))};

    EXPECT_TRUE(commands.PROGRAM_BTNClick());
    ASSERT_EQ(port->sent.size(), 2u);
    EXPECT_EQ(port->sent[0], "\xC5");
    const std::string& frame = port->sent[1];
    EXPECT_EQ(frame, BuildWriteFrame(expected));
    for (int i : kPassThroughIndexes) EXPECT_EQ(frame[1 + i], data[i]) << i;
    EXPECT_EQ(frame[1 + kImageNeutralBrake], 2);
    EXPECT_EQ(onlyMessage().text, Message(1));
    EXPECT_EQ(onlyMessage().caption, "Info");
    EXPECT_EQ(onlyMessage().icon, MbIcon::Information);
    EXPECT_EQ(events, (std::vector<std::string>{"busy", "idle"}));
}

TEST_F(Transfers, WriteFailuresAreOneMessageWithTheInfoCaption) {
    std::string badSum = ReadReply(controllerData());
    badSum.back() ^= 0x01;
    struct Case {
        std::vector<std::string> replies;
        size_t framesSent;
    } cases[] = {
        {{badSum}, 1},  // nothing is written
        {{ReadReply(controllerData()).substr(0, 20)}, 1},
        {{ReadReply(controllerData()), std::string(44, 'x') + '\x15'}, 2},
        {{ReadReply(controllerData()), std::string(44, 'x')}, 2},
    };
    for (const auto& c : cases) {
        port->replies.assign(c.replies.begin(), c.replies.end());
        port->sent.clear();
        boxes.shown.clear();
        EXPECT_FALSE(commands.PROGRAM_BTNClick());
        EXPECT_EQ(port->sent.size(), c.framesSent);
        EXPECT_EQ(onlyMessage().text, Message(2));
        EXPECT_EQ(onlyMessage().caption, "Info");
        EXPECT_EQ(onlyMessage().icon, MbIcon::Error);
    }
}

TEST_F(Transfers, WriteLeavesTheScreenAsItWas) {
    screen.setListIndex(ListId::Current, -1);
    port->replies = {ReadReply(controllerData()), std::string(44, 'x') + '\x06'};
    EXPECT_TRUE(commands.PROGRAM_BTNClick());
    EXPECT_EQ(screen.listIndex(ListId::Current), -1);
    // No current-limit entry: the controller's own code goes back.
    EXPECT_EQ(port->sent[1][1 + kImageCurrentLimit], 10);
}

TEST_F(Transfers, ReadPutsTheControllerOnScreenAfterMovingTheFocus) {
    port->replies = {ReadReply(controllerData())};
    EXPECT_TRUE(commands.READ_BTNClick());
    EXPECT_EQ(events, (std::vector<std::string>{"focus", "busy", "idle"}));
    EXPECT_EQ(screen.neutralBrake(), 7);
    EXPECT_EQ(screen.listIndex(ListId::Brake), 40);
    EXPECT_EQ(screen.listIndex(ListId::CutVt), 3);
    EXPECT_EQ(screen.listIndex(ListId::Response), 6);
    EXPECT_EQ(screen.listIndex(ListId::Current), 4);
    EXPECT_EQ(screen.bar(0), 21);
    EXPECT_EQ(screen.bar(31), 52);
    EXPECT_EQ(screen.averageBar(), AverageCode(screen));
    EXPECT_EQ(onlyMessage().text, Message(3));
    EXPECT_EQ(onlyMessage().caption, "Info");
}

TEST_F(Transfers, FailedReadShowsTheErrorCaptionAndChangesNothing) {
    screen.setBar(5, 9);
    screen.setListIndex(ListId::Current, 2);
    port->replies = {ReadReply(controllerData()).substr(0, 43)};
    EXPECT_FALSE(commands.READ_BTNClick());
    EXPECT_EQ(screen.bar(5), 9);
    EXPECT_EQ(screen.listIndex(ListId::Current), 2);
    EXPECT_EQ(onlyMessage().text, Message(4));
    EXPECT_EQ(onlyMessage().caption, "Error");
    EXPECT_EQ(onlyMessage().icon, MbIcon::Error);
    EXPECT_EQ(events.back(), "idle");
}

TEST_F(Transfers, CommandsArrivingDuringATransferAreIgnored) {
    port->replies = {ReadReply(controllerData())};
    int nested = 0;
    port->duringWait = [&] {
        if (nested++ > 0) return;
        EXPECT_TRUE(commands.busy());
        EXPECT_FALSE(commands.READ_BTNClick());
        EXPECT_FALSE(commands.PROGRAM_BTNClick());
        commands.CommPortCloseUp(0);
    };
    EXPECT_TRUE(commands.READ_BTNClick());
    EXPECT_EQ(port->sent.size(), 1u);
    EXPECT_TRUE(port->isOpen);
    EXPECT_EQ(onlyMessage().text, Message(3));
    EXPECT_FALSE(commands.busy());
}

}  // namespace
}  // namespace mxc9
