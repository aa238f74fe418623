// The serial component over the Windows port layer, against the controller simulator on a
// pseudo-terminal that the Wine prefix knows as the COM port MXC9_TEST_PORT
// (tests/windows/with-simulator). Without that variable the tests are skipped.
//
// Wine on a pseudo-terminal refuses DTR and RTS changes and does not refuse a second
// opener, so nothing here depends on either.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/SerialDevices.h"
#include "serial/CommX.h"
#include "serial/Win32Port.h"

namespace mxc9 {

std::chrono::milliseconds ProcessTime();  // ProcessTime.cpp

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kReadCommand = static_cast<char>(0xC5);
constexpr char kWriteCommand = static_cast<char>(0xD5);
constexpr int kImageBytes = 42;

uint8_t Sum(const std::string& bytes) {
    unsigned sum = 0;
    for (char c : bytes) sum += static_cast<uint8_t>(c);
    return static_cast<uint8_t>(sum);
}

class Win32PortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* port = std::getenv("MXC9_TEST_PORT");
        if (port == nullptr) GTEST_SKIP() << "no COM port mapped to the simulator";
        portNo_ = ComPortNumber(port);
        ASSERT_GT(portNo_, 0) << port;
        // The line as the device link sets it up.
        comm_.SetBitRate(1200);
        comm_.SetBufLenReceive(2048);
        comm_.SetBufLenTrans(2048);
        comm_.SetCharSize(8);
        comm_.SetFlowCtrl(cfcNone);
        comm_.SetParityBit(cpbNone);
        comm_.SetPortNo(portNo_);
        comm_.SetStopBit(csb1);
        comm_.SetTimeOutReceive(1000);
        comm_.SetTimeOutTrans(3000);
    }

    // Sends `request` and reads the answer byte by byte, as the device link does, until
    // `limit` bytes have come or a read gives nothing.
    std::string Exchange(const std::string& request, size_t limit) {
        comm_.PurgeReceive();
        EXPECT_TRUE(comm_.SendString(request));
        std::string reply;
        char byte;
        while (reply.size() < limit && comm_.Read(&byte, 1) == 1) reply.push_back(byte);
        return reply;
    }

    int portNo_ = 0;
    TCommX comm_;
};

TEST_F(Win32PortTest, OpensTheComPortWithTheLineSettingsAndClosesIt) {
    comm_.Open();
    EXPECT_NE(comm_.Handle(), INVALID_HANDLE_VALUE);
    const PortState& line = comm_.DeviceControlBlock();
    EXPECT_EQ(line.BaudRate, 1200u);
    EXPECT_EQ(line.ByteSize, 8);
    EXPECT_EQ(line.Parity, 0);
    EXPECT_EQ(line.StopBits, 0);
    EXPECT_EQ(line.XonLim, 512);
    comm_.Close();
    EXPECT_EQ(comm_.Handle(), INVALID_HANDLE_VALUE);
    // Free again for the next opener.
    comm_.Open();
    EXPECT_NE(comm_.Handle(), INVALID_HANDLE_VALUE);
}

TEST_F(Win32PortTest, ReadCommandBringsTheImageWithItsChecksum) {
    comm_.Open();
    const auto start = Clock::now();
    const std::string reply = Exchange(std::string(1, kReadCommand), 44);
    const auto took = Clock::now() - start;
    ASSERT_EQ(reply.size(), 44u);
    EXPECT_EQ(Sum(reply.substr(1, kImageBytes)), static_cast<uint8_t>(reply[43]));
    // 44 bytes of ten bits at 1200 bit/s take 367 ms on the line.
    EXPECT_GT(took, std::chrono::milliseconds(300));
    EXPECT_LT(took, std::chrono::milliseconds(1500));
}

TEST_F(Win32PortTest, ReceivedBytesAreReportedOnTheThreadThatPumps) {
    std::vector<std::thread::id> calledOn;
    int32_t waiting = 0;
    comm_.SetOnReceive([&](TCustomCommX*, int32_t size) {
        calledOn.push_back(std::this_thread::get_id());
        waiting = size;
    });
    comm_.Open();
    ASSERT_TRUE(comm_.SendString(std::string(1, kReadCommand)));
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (calledOn.empty() && Clock::now() < deadline) {
        ApplicationUiThread().ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(calledOn.empty()) << "no OnReceive within 3 s";
    EXPECT_EQ(calledOn.front(), std::this_thread::get_id());
    EXPECT_GT(waiting, 0);
}

// The line-error queries of the port layer, through the seam: counted when they come
// from another thread than the test's (the receive thread's look at the port), and
// given line errors to report once when a test asks.
struct QueryWatch {
    static inline std::atomic<int> others{0};
    static inline std::atomic<uint32_t> planted{0};
    static inline std::thread::id testThread;
    static bool Query(void* handle, uint32_t& errors, uint32_t& inQueue) {
        const bool ok = SystemLineErrorQuery(handle, errors, inQueue);
        if (std::this_thread::get_id() != testThread) ++others;
        errors |= planted.exchange(0);
        return ok;
    }
    QueryWatch() {
        testThread = std::this_thread::get_id();
        others = 0;
        planted = 0;
        SetLineErrorQuery(Query);
    }
    ~QueryWatch() { SetLineErrorQuery(nullptr); }
};

// Wine ends the receive thread's port-event wait at once, again and again, while the line
// is idle: the thread must not turn that into a busy loop. It looks at the port seldom
// while nothing is expected, and often while a reply is due.
TEST_F(Win32PortTest, AnIdleOpenPortWakesSeldomAndOftenWhileAReplyIsDue) {
    comm_.SetTimeOutReceive(200);
    comm_.Open();
    // The line goes quiet first: what an earlier test asked for may still be on its way.
    char byte;
    while (comm_.Read(&byte, 1) == 1) {
    }
    QueryWatch watch;
    const auto before = ProcessTime();
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::seconds(3)) {
        ApplicationUiThread().ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const auto idleCost = ProcessTime() - before;
    const int idleLooks = QueryWatch::others.exchange(0);
    // A look every 10 ms for the 200 ms a reply was still due after the last read, then
    // one every 150 ms: about 40. A 10 ms pause all along would make 300.
    EXPECT_LE(idleLooks, 70);
    // And the processor time, as a share of what a busy thread takes in the same time.
    const auto busyBefore = ProcessTime();
    const auto busyStart = Clock::now();
    volatile unsigned spins = 0;
    while (Clock::now() - busyStart < std::chrono::seconds(1)) spins = spins + 1;
    const auto busyCost = (ProcessTime() - busyBefore) * 3;
    EXPECT_LT(idleCost * 20, busyCost) << idleCost.count() << " ms idle in 3 s";

    const auto exchangeStart = Clock::now();
    ASSERT_EQ(Exchange(std::string(1, kReadCommand), 44).size(), 44u);
    const auto took = Clock::now() - exchangeStart;
    // 44 bytes at 1200 bit/s take 367 ms: a look every 10 ms makes about 40 (each look
    // that finds bytes is followed by the error query of their event); the long pause, 10.
    EXPECT_GE(QueryWatch::others.load(), 20)
        << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
}

// A break and a framing error that the receive side finds, at an event or while it reads,
// are reported by the next error query.
TEST_F(Win32PortTest, LineErrorsSeenByTheReceiveSideReachTheNextErrorQuery) {
    QueryWatch watch;
    for (const bool byRead : {false, true}) {
        SCOPED_TRACE(byRead ? "read" : "event wait");
        auto port = OpenWin32Port(Win32PortName(portNo_));
        ASSERT_NE(port, nullptr);
        port->SetTimeouts(1000, 3000);
        uint32_t written = 0;
        const uint8_t request = static_cast<uint8_t>(kReadCommand);
        if (port->StartWrite(&request, 1, written) == WriteResult::Pending) {
            port->FinishWrite(written);
        }
        QueryWatch::planted = CE_FRAME | CE_BREAK;
        if (byRead) {
            char byte;
            EXPECT_GE(port->Read(&byte, 1), 0);
        } else {
            uint32_t mask = 0;
            EXPECT_EQ(port->WaitEvent(mask), PortWait::Events);
        }
        EXPECT_EQ(QueryWatch::planted.load(), 0u) << "the line was not looked at";
        EXPECT_EQ(port->ClearError(nullptr) & (CE_FRAME | CE_BREAK), CE_FRAME | CE_BREAK);
        EXPECT_EQ(port->ClearError(nullptr) & (CE_FRAME | CE_BREAK), 0u);  // reported once
        // The answer is taken off the line, so that it cannot reach the next exchange.
        char answer[64];
        for (auto last = Clock::now(); Clock::now() - last < std::chrono::milliseconds(300);) {
            if (port->Read(answer, sizeof answer) > 0) last = Clock::now();
            port->WaitInput(5);
        }
    }
}

TEST_F(Win32PortTest, WriteFrameIsAcknowledgedAndReadsBack) {
    comm_.Open();
    std::string image = Exchange(std::string(1, kReadCommand), 44).substr(1, kImageBytes);
    ASSERT_EQ(image.size(), static_cast<size_t>(kImageBytes));
    image[10] = static_cast<char>((static_cast<uint8_t>(image[10]) + 1) % 32);  // a frequency code
    std::string frame = kWriteCommand + image;
    frame.push_back(static_cast<char>(Sum(image)));
    const std::string reply = Exchange(frame, 45);
    ASSERT_EQ(reply.size(), 45u);
    EXPECT_EQ(reply.back(), '\x06');
    EXPECT_EQ(Exchange(std::string(1, kReadCommand), 44).substr(1, kImageBytes), image);
}

// The fault runs: the simulator started with --fault silent, short or badsum.
TEST_F(Win32PortTest, SilentControllerReadGivesNothingAfterTheTimeOut) {
    comm_.Open();
    const auto start = Clock::now();
    EXPECT_EQ(Exchange(std::string(1, kReadCommand), 44), "");
    const auto took = Clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(950));
    EXPECT_LT(took, std::chrono::milliseconds(2500));
}

TEST_F(Win32PortTest, ShortAnswerEndsAtTheTimeOutWithWhatCame) {
    comm_.Open();
    const std::string reply = Exchange(std::string(1, kReadCommand), 44);
    EXPECT_GT(reply.size(), 0u);
    EXPECT_LT(reply.size(), 44u);
}

TEST_F(Win32PortTest, BadChecksumArrivesAsSent) {
    comm_.Open();
    const std::string reply = Exchange(std::string(1, kReadCommand), 44);
    ASSERT_EQ(reply.size(), 44u);
    EXPECT_NE(Sum(reply.substr(1, kImageBytes)), static_cast<uint8_t>(reply[43]));
}

TEST_F(Win32PortTest, CloseDuringATransferEndsAtOnceAndThePortOpensAgain) {
    comm_.Open();
    std::string frame(1, kWriteCommand);
    frame += std::string(kImageBytes, '\x01');
    frame.push_back(static_cast<char>(Sum(frame.substr(1))));
    ASSERT_TRUE(comm_.SendString(frame + frame + frame));
    char byte;
    comm_.Read(&byte, 1);  // the answer has begun, or the line is busy
    const auto start = Clock::now();
    comm_.Close();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_EQ(comm_.Read(&byte, 1), -1);
    EXPECT_FALSE(comm_.SendString("x"));
    comm_.Open();
    EXPECT_EQ(Exchange(std::string(1, kReadCommand), 44).size(), 44u);
}

TEST(Win32PortNames, ComNamesOpenThroughTheDeviceNamespace) {
    EXPECT_EQ(Win32PortName(1), R"(\\.\COM1)");
    EXPECT_EQ(Win32PortName(15), R"(\\.\COM15)");
}

TEST(Win32PortNames, NamesThatAreNoPortDoNotOpen) {
    // NUL is a character device without line settings; a disk file is no device at all.
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "mxc9-not-a-port.mxd";
    std::ofstream(file) << "[MXC-9]\r\n";
    for (const std::string& name : {std::string("NUL"), std::string(R"(\\.\NUL)"), file.string(),
                                    std::string(R"(\\.\COM250)"), std::string("")}) {
        EXPECT_EQ(OpenWin32Port(name), nullptr) << name;
    }
    std::filesystem::remove(file);

    TCommX comm;
    comm.SetPortNo(250);
    try {
        comm.Open();
        ADD_FAILURE() << "COM250 opened";
    } catch (const ECommError& error) {
        EXPECT_STREQ(error.what(), kErrOpen);
    }
    EXPECT_EQ(comm.Handle(), INVALID_HANDLE_VALUE);
}

}  // namespace
}  // namespace mxc9
