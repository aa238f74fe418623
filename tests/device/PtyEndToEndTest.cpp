// The device link over a pseudo-terminal, through the real serial component, against
// the controller simulator.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "app/AppSettings.h"
#include "common/MessageTable.h"
#include "device/Conversions.h"
#include "device/TransferCommands.h"
#include "tests/device/TempFolder.h"
#include "tools/simulator/ControllerSimulator.h"

namespace mxc9 {
namespace {

using sim::Fault;
using sim::FaultPlan;
using sim::FaultTarget;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The transfer commands with the real serial component, in a program folder of their own.
class TransferRig : public ::testing::Test {
  protected:
    testing::TempProgramFolder folder;
    testing::FakeMessageBoxes boxes;
    testing::FakeSerialDevices devices;  // a machine without serial hardware
    AppSettings settings{folder, boxes, &devices};
    ScreenModel screen;
    DeviceLink link{boxes};
    TransferCommands commands{screen, link, boxes, settings};
};

class OverPty : public TransferRig {
  protected:
    void SetUp() override {
        controller = sim::LineController::OnPseudoTerminal(1200);
        controller->setBitRate(0);  // instant: these tests are about the rules, not time
        controller->start();
        folder.write("MXC9.ini", "[Ports]\r\nCOM1=" + controller->path() + "\r\n");
        link.CreatePort();
        ASSERT_TRUE(commands.CommPortCloseUp(1));
        boxes.shown.clear();
    }
    void TearDown() override { link.ClosePort(); }

    void fault(Fault kind, FaultTarget target, int times, int param = -1) {
        controller->addFault({kind, target, times, param});
    }

    std::unique_ptr<sim::LineController> controller;
};

TEST_F(OverPty, WriteThenReadKeepsEveryNeutralBrakePosition) {
    for (int position = 0; position <= kNeutralBrakeMax; ++position) {
        screen.setNeutralBrake(position);
        ASSERT_TRUE(commands.PROGRAM_BTNClick()) << position;
        ASSERT_EQ(controller->image()[kImageNeutralBrake], NeutralBrakeCode(position));
        screen.setNeutralBrake(position == 50 ? 51 : 50);
        ASSERT_TRUE(commands.READ_BTNClick()) << position;
        ASSERT_EQ(screen.neutralBrake(), position);
    }
    EXPECT_EQ(controller->writeFrames(), 101);
}

TEST_F(OverPty, WriteSendsThePageAndReturnsThePassThroughBytesAsRead) {
    const DeviceImage before = controller->image();
    screen.setListIndex(ListId::Brake, 7);
    screen.setListIndex(ListId::CutVt, 0);
    screen.setListIndex(ListId::Response, 4);
    screen.setListIndex(ListId::Current, 1);
    for (int bar = 0; bar < kFrequencyBars; ++bar) screen.setBar(bar, 63 - bar);
    ASSERT_TRUE(commands.PROGRAM_BTNClick());
    EXPECT_EQ(boxes.shown.back().text, Message(1));

    const DeviceImage after = controller->image();
    for (int i : kPassThroughIndexes) {
        EXPECT_NE(before[static_cast<size_t>(i)], 0) << i;
        EXPECT_EQ(after[static_cast<size_t>(i)], before[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(after[kImageBrakeFrequency], 7);
    EXPECT_EQ(after[kImageCutOff], 80);
    EXPECT_EQ(after[kImageResponse], 18);
    EXPECT_EQ(after[kImageCurrentLimit], 5);
    EXPECT_EQ(after[kImageFirstFrequency + 31], 32);
}

TEST_F(OverPty, BadChecksumOnTheReadBeforeWriteSendsNoWriteFrame) {
    fault(Fault::BadChecksum, FaultTarget::Read, 1);
    EXPECT_FALSE(commands.PROGRAM_BTNClick());
    EXPECT_EQ(controller->readCommands(), 1);
    EXPECT_EQ(controller->writeFrames(), 0);
    EXPECT_EQ(boxes.shown.back().text, Message(2));
    EXPECT_EQ(boxes.shown.back().caption, "Info");
}

TEST_F(OverPty, FaultyAnswersFailTheTransferAndTheNextOneSucceeds) {
    struct Case {
        Fault kind;
        FaultTarget target;
        bool write;  // Write (true) or Read
    } cases[] = {
        {Fault::Refuse, FaultTarget::Write, true},
        {Fault::Noise, FaultTarget::Read, false},
        {Fault::Noise, FaultTarget::Write, true},
        {Fault::Short, FaultTarget::Write, true},
    };
    for (const auto& c : cases) {
        const DeviceImage before = controller->image();
        screen.setBar(0, before[kImageFirstFrequency] == 3 ? 4 : 3);
        fault(c.kind, c.target, 1);
        EXPECT_FALSE(c.write ? commands.PROGRAM_BTNClick() : commands.READ_BTNClick())
            << sim::FaultName(c.kind);
        EXPECT_EQ(controller->image(), before) << sim::FaultName(c.kind);
        EXPECT_TRUE(c.write ? commands.PROGRAM_BTNClick() : commands.READ_BTNClick())
            << sim::FaultName(c.kind);
    }
}

TEST_F(OverPty, SilentControllerFailsAfterAboutOneReceiveTimeOut) {
    fault(Fault::Silent, FaultTarget::Any, -1);
    const auto start = Clock::now();
    int attempts = 1;
    EXPECT_FALSE(link.ReadDevice(attempts));
    const double elapsed = SecondsSince(start);
    EXPECT_GE(elapsed, 0.95);
    EXPECT_LE(elapsed, 1.6);
}

TEST_F(OverPty, EachByteMayComeUpToOneTimeOutAfterTheRequest) {
    fault(Fault::Delay, FaultTarget::Read, 1, 600);
    int attempts = 1;
    EXPECT_TRUE(link.ReadDevice(attempts));
    fault(Fault::Delay, FaultTarget::Read, 1, 1500);
    attempts = 1;
    EXPECT_FALSE(link.ReadDevice(attempts));
}

TEST_F(OverPty, PortOnOffFailsAtOnceWithoutSending) {
    ASSERT_FALSE(commands.CommPortCloseUp(0));
    const auto start = Clock::now();
    EXPECT_FALSE(commands.PROGRAM_BTNClick());
    EXPECT_FALSE(commands.READ_BTNClick());
    EXPECT_LT(SecondsSince(start), 0.3);
    EXPECT_EQ(controller->readCommands(), 0);
    EXPECT_EQ(controller->writeFrames(), 0);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[1].caption, "Info");
    EXPECT_EQ(boxes.shown[2].caption, "Error");
}

TEST_F(OverPty, RetryLimitsOneAndThree) {
    fault(Fault::Short, FaultTarget::Read, 2, 10);
    int attempts = 1;
    EXPECT_FALSE(link.ReadDevice(attempts));
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(controller->readCommands(), 1);

    attempts = 3;  // one short answer left, then a complete one
    EXPECT_TRUE(link.ReadDevice(attempts));
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(controller->readCommands(), 3);

    attempts = 3;  // complete at once
    EXPECT_TRUE(link.ReadDevice(attempts));
    EXPECT_EQ(attempts, 1);
}

// True once the line's input queue holds `count` bytes that nobody has read (within 5 s).
bool InputWaits(const std::string& path, int count) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const auto end = Clock::now() + std::chrono::seconds(5);
    int waiting = 0;
    while ((ioctl(fd, FIONREAD, &waiting) != 0 || waiting < count) && Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    close(fd);
    return waiting >= count;
}

// The surplus of a read's answer and of a write's is on the line, unread, when the next
// exchange begins.
TEST_F(OverPty, SurplusReplyBytesAreDiscardedByTheNextExchange) {
    fault(Fault::Extra, FaultTarget::Read, 1, 6);
    int attempts = 1;
    ASSERT_TRUE(link.ReadDevice(attempts));
    ASSERT_TRUE(InputWaits(controller->path(), 6));
    fault(Fault::Extra, FaultTarget::Write, 1, 6);
    ASSERT_TRUE(commands.PROGRAM_BTNClick());
    ASSERT_TRUE(InputWaits(controller->path(), 6));
    attempts = 1;
    EXPECT_TRUE(link.ReadDevice(attempts));
    EXPECT_EQ(link.image(), controller->image());
}

TEST_F(OverPty, AVanishedControllerFailsAtOnce) {
    controller->stop();
    const auto start = Clock::now();
    EXPECT_FALSE(commands.READ_BTNClick());
    EXPECT_LT(SecondsSince(start), 1.5);
    EXPECT_EQ(boxes.shown.back().text, Message(4));
    EXPECT_EQ(boxes.shown.back().caption, "Error");
}

// A key naming a device that is not there, and a COMn that no port found stands for.
TEST_F(TransferRig, AMissingDeviceSaysSoAndIsStillSaved) {
    const std::pair<std::string, int> cases[] = {
        {"[Ports]\r\nCOM9=/dev/no-such-port\r\n", 9},
        {"[Ports]\r\nCOM1=/dev/no-such-port\r\n", 4},
    };
    link.CreatePort();
    for (const auto& [ini, portNo] : cases) {
        folder.write("MXC9.ini", ini);
        boxes.shown.clear();
        EXPECT_FALSE(commands.CommPortCloseUp(portNo));
        EXPECT_FALSE(link.isOpen());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, PortErrorText());
        EXPECT_EQ(boxes.shown[0].caption, "Error");
        int index = 0;
        EXPECT_TRUE(settings.LoadAppSettings(index));
        EXPECT_EQ(index, portNo);
    }
}

}  // namespace
}  // namespace mxc9
