// The component and its threads over a scripted port: what a pseudo-terminal cannot show
// (refused settings, modem lines, breaks, line errors, half-duplex RTS timing).
#include <gtest/gtest.h>

#include <thread>

#include "serial/CommThreads.h"
#include "serial/CommX.h"
#include "tests/serial/FakePort.h"
#include "tests/serial/Watchdog.h"

namespace mxc9::test {
namespace {

using namespace std::chrono_literals;

long Ms(Clock::duration d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}

// Waits (pumping the UI thread) until `done` holds or a second has passed.
template <typename Pred>
bool PumpUntil(PumpedUiThread& ui, Pred done) {
    const auto end = Clock::now() + 2s;
    while (!done()) {
        if (Clock::now() > end) return false;
        ui.ProcessMessages();
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

class FakePortTest : public ::testing::Test {
  protected:
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    std::vector<std::string> paths;
    CountingUi<PumpedUiThread> ui;
    TCommX comm{ui, {}, FakeOpener(line, &paths)};

    std::vector<WriteRecord> Writes() {
        return line->Get<std::vector<WriteRecord>>([](FakeLine& l) { return l.writes; });
    }
    std::vector<LineChange> Lines() {
        return line->Get<std::vector<LineChange>>([](FakeLine& l) { return l.lines; });
    }
    void ClearLines() {
        line->Set([](FakeLine& l) { l.lines.clear(); });
    }
    size_t WriteCount() { return Writes().size(); }
};

TEST_F(FakePortTest, PublishedDefaultsAndDefaultDeviceName) {
    EXPECT_EQ(comm.PortNo(), 1);
    EXPECT_EQ(comm.BitRate(), 9600);
    EXPECT_EQ(comm.CharSize(), 8);
    EXPECT_EQ(comm.ParityBit(), cpbNone);
    EXPECT_EQ(comm.StopBit(), csb1);
    EXPECT_EQ(comm.FlowCtrl(), cfcRtsCts);
    EXPECT_EQ(comm.TimeOutTrans(), 3000);
    EXPECT_EQ(comm.TimeOutReceive(), 3000);
    EXPECT_EQ(comm.XonChar(), 17);
    EXPECT_EQ(comm.XoffChar(), 19);
    EXPECT_EQ(comm.BufLenTrans(), 2048);
    EXPECT_EQ(comm.BufLenReceive(), 2048);
    EXPECT_EQ(comm.Handle(), INVALID_HANDLE_VALUE);
    // COMn without a name of its own: the system's COMn (the device name keeps COM10 and
    // above openable on Windows).
#ifdef _WIN32
    const std::string third = R"(\\.\COM3)";
    EXPECT_EQ(DefaultPortName(1), R"(\\.\COM1)");
    EXPECT_EQ(DefaultPortName(10), R"(\\.\COM10)");
#else
    const std::string third = "/dev/ttyS2";
    EXPECT_EQ(DefaultPortName(1), "/dev/ttyS0");
    EXPECT_EQ(DefaultPortName(10), "/dev/ttyS9");
#endif
    comm.SetPortNo(3);
    comm.Open();
    comm.SetPortNameResolver([](int32_t n) { return "/dev/ttyUSB" + std::to_string(n); });
    comm.SetPortNo(4);
    EXPECT_EQ(paths, (std::vector<std::string>{third, "/dev/ttyUSB4"}));
}

TEST_F(FakePortTest, ClosedPortStoresSettingsAndRefusesUnusableValues) {
    comm.SetBitRate(1200);
    comm.SetCharSize(7);
    comm.SetFlowCtrl(cfcNone);
    EXPECT_TRUE(line->Get<bool>([](FakeLine& l) { return l.states.empty(); }));
    try {
        comm.SetBitRate(9);
        FAIL() << "bit rate 9 accepted";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), kErrBitRateValue);
    }
    EXPECT_EQ(comm.BitRate(), 1200);
    try {
        comm.SetBufLenTrans(0);
        FAIL() << "block length 0 accepted";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), kErrBufLenTransValue);
    }
    EXPECT_EQ(comm.BufLenTrans(), 2048);
}

TEST(CommHoldTimeTest, OneTenBitCharacterPlusOneMillisecond) {
    const struct {
        int32_t rate, ms;
    } cases[] = {{1200, 9}, {9600, 2}, {10009, 2}, {10010, 1}, {115200, 1}, {300, 34}};
    for (const auto& c : cases) EXPECT_EQ(CommHoldTime(c.rate), c.ms) << c.rate;
}

// Open applies bit rate, size, parity, stop bits, flow control, then the time-outs and the
// two characters, each on its own: the first one refused names the failure.
TEST_F(FakePortTest, FirstRefusedSettingNamesTheFailureAndLeavesThePortClosed) {
    const struct {
        int refusedCall;
        bool queues, timeouts;
        const char* text;
    } cases[] = {
        {0, true, false, kErrBuffers},   {1, false, false, kErrBitRate},
        {2, false, false, kErrCharSize}, {3, false, false, kErrParity},
        {4, false, false, kErrStopBit},  {5, false, false, kErrFlowCtrl},
        {0, false, true, kErrTimeOut},   {6, false, false, kErrXonChar},
        {7, false, false, kErrXoffChar},
    };
    for (const auto& c : cases) {
        auto refusing = std::make_shared<FakeLine>();
        refusing->refuseSetStateCall = c.refusedCall;
        refusing->refuseQueues = c.queues;
        refusing->refuseTimeouts = c.timeouts;
        TCommX port(ui, {}, FakeOpener(refusing));
        try {
            port.Open();
            ADD_FAILURE() << "opened despite " << c.text;
        } catch (const ECommError& e) {
            EXPECT_STREQ(e.what(), c.text);
        }
        EXPECT_EQ(port.Handle(), INVALID_HANDLE_VALUE) << c.text;
        EXPECT_TRUE(refusing->Get<bool>([](FakeLine& l) { return l.destroyed; })) << c.text;
        port.Close();  // harmless after the failure
    }
}

TEST_F(FakePortTest, FlowControlSetsTheWholeFlagsWordAndQuarterBufferLimits) {
    const struct {
        TCommFlowCtrls flow;
        uint32_t flags;
    } cases[] = {{cfcRtsCts, 0x2017},   {cfcDtrDsr, 0x102B},  {cfcXonXoff, 0x1313},
                 {cfcHalfHigh, 0x0013}, {cfcHalfLow, 0x1013}, {cfcNone, 0x1013}};
    comm.Open();
    for (const auto& c : cases) {
        comm.SetFlowCtrl(c.flow);
        EXPECT_EQ(comm.DeviceControlBlock().Flags, c.flags) << int(c.flow);
        EXPECT_EQ(comm.DeviceControlBlock().XonLim, 512);
        EXPECT_EQ(comm.DeviceControlBlock().XoffLim, 512);
    }
    comm.SetBufLenReceive(1000);
    EXPECT_EQ(comm.DeviceControlBlock().XonLim, 250);
    EXPECT_EQ(comm.DeviceControlBlock().Flags, 0x1013u);
}

TEST_F(FakePortTest, OutOfRangeParityOrStopBitIsStoredWithoutTouchingThePort) {
    comm.Open();
    const auto before = line->Get<size_t>([](FakeLine& l) { return l.states.size(); });
    comm.SetParityBit(static_cast<TCommParityBits>(7));
    comm.SetStopBit(static_cast<TCommStopBits>(5));
    EXPECT_EQ(comm.ParityBit(), 7);
    EXPECT_EQ(comm.StopBit(), 5);
    EXPECT_EQ(line->Get<size_t>([](FakeLine& l) { return l.states.size(); }), before);
    comm.SetParityBit(cpbEven);
    EXPECT_EQ(comm.DeviceControlBlock().Parity, 2);
}

TEST_F(FakePortTest, WriteCutsBlocksOfBufLenTransInOrder) {
    comm.Open();
    std::string data(5000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(comm.SendString(data));
    ASSERT_TRUE(PumpUntil(ui, [&] { return WriteCount() == 3; }));
    const auto writes = Writes();
    EXPECT_EQ(writes[0].bytes.size(), 2048u);
    EXPECT_EQ(writes[1].bytes.size(), 2048u);
    EXPECT_EQ(writes[2].bytes.size(), 904u);
    EXPECT_EQ(writes[0].bytes + writes[1].bytes + writes[2].bytes, data);
    ASSERT_TRUE(PumpUntil(ui, [&] { return comm.PendingByteCount() == 0; }));
    EXPECT_EQ(comm.QueuedBlockCount(), 0);
}

// A UI thread whose pump runs a test's action at a given pump.
class ScriptedUi : public PumpedUiThread {
  public:
    int pumps = 0;
    int actAt = 0;
    std::function<void()> action;
    void ProcessMessages() override {
        PumpedUiThread::ProcessMessages();
        if (++pumps == actAt && action) action();
    }
};

// While 32 blocks are outstanding the 33rd is not handed over; Write keeps the window's
// events flowing until the transmit thread has finished one.
TEST(CommXBlockLimitTest, ThirtyThirdBlockWaitsForTheTransmitThread) {
    auto line = std::make_shared<FakeLine>();
    line->writesHeld = true;
    ScriptedUi ui;
    TCommX comm(ui, {}, FakeOpener(line));
    comm.SetBufLenTrans(1);
    comm.Open();
    auto finished = [&] { return line->Get<size_t>([](FakeLine& l) { return l.writes.size(); }); };
    int queuedWhileWaiting = -1, pendingWhileWaiting = -1;
    size_t finishedWhileWaiting = 99;
    ui.actAt = 5;  // several pumps with the line held: the events keep coming
    ui.action = [&] {
        queuedWhileWaiting = comm.QueuedBlockCount();
        pendingWhileWaiting = comm.PendingByteCount();
        finishedWhileWaiting = finished();
        line->Set([](FakeLine& l) { l.writesHeld = false; });
    };
    EXPECT_TRUE(comm.Write(std::string(33, 'x').data(), 33));
    EXPECT_GE(ui.pumps, ui.actAt);
    EXPECT_EQ(queuedWhileWaiting, 32);
    EXPECT_EQ(pendingWhileWaiting, 32);  // the 33rd byte not handed over yet
    EXPECT_EQ(finishedWhileWaiting, 0u);
    EXPECT_GE(finished(), 1u);  // handed over only once a block was finished
    ASSERT_TRUE(PumpUntil(ui, [&] { return finished() == 33; }));
}

TEST_F(FakePortTest, PurgeTransmitReleasesEveryQueuedBlockUnwritten) {
    line->writesHeld = true;
    comm.SetBufLenTrans(10);
    comm.Open();
    ASSERT_TRUE(comm.Write(std::string(50, 'y').data(), 50));
    EXPECT_EQ(comm.PendingByteCount(), 50);
    auto started = [&] { return line->Get<int>([](FakeLine& l) { return l.writesStarted; }); };
    ASSERT_TRUE(PumpUntil(ui, [&] { return started() == 1; }));  // the first block is on the line
    comm.PurgeTransmit();
    EXPECT_EQ(comm.PendingByteCount(), 0);
    EXPECT_EQ(comm.QueuedBlockCount(), 0);
    EXPECT_EQ(WriteCount(), 0u);
    EXPECT_EQ(started(), 1);
    // The thread takes blocks again after the purge.
    line->Set([](FakeLine& l) { l.writesHeld = false; });
    ASSERT_TRUE(comm.SendString("after"));
    ASSERT_TRUE(PumpUntil(ui, [&] { return WriteCount() == 1; }));
    EXPECT_EQ(Writes()[0].bytes, "after");
}

struct BurstCase {
    TCommFlowCtrls flow;
    bool switches;
    bool restingHigh;
    int32_t bitRate;  // written once the port is open
    long holdMs;
};

class BurstTest : public FakePortTest, public ::testing::WithParamInterface<BurstCase> {};

// In the half-duplex modes RTS goes to its active level 50 ms after the thread wakes, the
// first write follows one hold time later, and RTS rests again one hold time after the last
// write of the burst; the other modes never touch RTS.
TEST_P(BurstTest, RtsSwitchesOncePerBurstOnlyInHalfDuplexModes) {
    const BurstCase c = GetParam();
    comm.SetFlowCtrl(c.flow);
    comm.SetBufLenTrans(4);
    comm.Open();
    comm.SetBitRate(c.bitRate);  // the thread's hold time follows
    ClearLines();
    const auto posted = Clock::now();
    ASSERT_TRUE(comm.SendString("0123456789"));  // three blocks, one burst
    ASSERT_TRUE(PumpUntil(ui, [&] { return WriteCount() == 3; }));
    if (!c.switches) {
        // Close ends the burst and the thread before it returns, and drops DTR and RTS
        // itself: those two changes are all the line may have seen.
        comm.Close();
        const auto lines = Lines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].line, ModemLine::Dtr);
        EXPECT_EQ(lines[1].line, ModemLine::Rts);
        EXPECT_FALSE(lines[1].raised);
        return;
    }
    ASSERT_TRUE(PumpUntil(ui, [&] { return Lines().size() >= 2; }));
    const auto lines = Lines();
    const auto writes = Writes();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].line, ModemLine::Rts);
    EXPECT_EQ(lines[0].raised, !c.restingHigh);
    EXPECT_EQ(lines[1].raised, c.restingHigh);
    // A sleep lasts at least its time; how much later a thread wakes depends on the
    // machine's load, so the upper bounds only catch waits of the wrong kind.
    constexpr long kLate = 250;
    EXPECT_GE(Ms(lines[0].at - posted), 50);
    EXPECT_LT(Ms(lines[0].at - posted), 50 + kLate);
    EXPECT_GE(Ms(writes[0].started - lines[0].at), c.holdMs);
    EXPECT_LT(Ms(writes[0].started - lines[0].at), c.holdMs + kLate);
    EXPECT_GE(Ms(lines[1].at - writes[2].finished), c.holdMs);
    EXPECT_LT(Ms(lines[1].at - writes[2].finished), c.holdMs + kLate);
}

INSTANTIATE_TEST_SUITE_P(FlowModes, BurstTest,
                         ::testing::Values(BurstCase{cfcHalfHigh, true, false, 1200, 9},
                                           BurstCase{cfcHalfLow, true, true, 1200, 9},
                                           BurstCase{cfcHalfHigh, true, false, 300, 34},
                                           BurstCase{cfcNone, false, false, 1200, 9},
                                           BurstCase{cfcRtsCts, false, false, 1200, 9},
                                           BurstCase{cfcDtrDsr, false, false, 1200, 9},
                                           BurstCase{cfcXonXoff, false, false, 1200, 9}));

TEST_F(FakePortTest, WakeUpAndWindowMessagesWriteNothingAndSwitchNoLine) {
    comm.SetFlowCtrl(cfcHalfHigh);
    FakePort port(line);
    TCommTransThread thread(comm, port);
    thread.Resume();
    // Ended however the test ends, or a failed check would leave it waiting for ever.
    struct Ender {
        TCommTransThread& thread;
        ~Ender() {
            thread.Terminate();
            ThreadMessage end;
            end.message = kThreadMsgWake;
            thread.PostMessage(std::move(end));
            thread.Join();
        }
    } ender{thread};
    ThreadMessage wake;
    wake.message = kThreadMsgWake;
    ASSERT_TRUE(thread.PostMessage(std::move(wake)));
    ThreadMessage windowMessage;
    windowMessage.hasWindow = true;
    windowMessage.message = kThreadMsgBlock;
    windowMessage.wParam = 1;
    windowMessage.block.reset(new uint8_t[1]{0x55});
    ASSERT_TRUE(thread.PostMessage(std::move(windowMessage)));
    // A block after them: once it is written, the thread has dealt with the two before.
    ThreadMessage block;
    block.message = kThreadMsgBlock;
    block.wParam = 1;
    block.block.reset(new uint8_t[1]{0xAA});
    ASSERT_TRUE(thread.PostMessage(std::move(block)));
    ASSERT_TRUE(PumpUntil(ui, [&] { return Lines().size() == 2; }));
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].bytes, "\xAA");
    // One burst, the block's own: raised before its write, dropped after it.
    const auto lines = Lines();
    EXPECT_TRUE(lines[0].raised);
    EXPECT_LE(lines[0].at, writes[0].started);
    EXPECT_FALSE(lines[1].raised);
    thread.Terminate();
    ThreadMessage end;
    end.message = kThreadMsgWake;
    thread.PostMessage(std::move(end));
    thread.Join();
    EXPECT_TRUE(thread.Finished());
    // A block offered after the thread has ended is refused, not lost in the counters.
    ThreadMessage late;
    late.message = kThreadMsgBlock;
    EXPECT_FALSE(thread.PostMessage(std::move(late)));
}

TEST_F(FakePortTest, OnePortEventReportsErrorsThenBreakThenData) {
    std::vector<std::string> order;
    comm.SetOnError([&](TCustomCommX* sender, int32_t bits) {
        EXPECT_EQ(sender, &comm);
        order.push_back("error " + std::to_string(bits));
    });
    comm.SetOnBreak([&](TCustomCommX*) { order.push_back("break"); });
    comm.SetOnReceive(
        [&](TCustomCommX*, int32_t n) { order.push_back("receive " + std::to_string(n)); });
    comm.Open();
    line->Set([](FakeLine& l) {
        l.lineErrors = CE_FRAME | CE_OVERRUN | CE_BREAK;
        l.inQueue = 5;
        l.portEvents.push_back(EV_BREAK | EV_RXCHAR);
    });
    ASSERT_TRUE(PumpUntil(ui, [&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<std::string>{"error 10", "break", "receive 5"}));
    // Data already read by the time the event is handled: no OnReceive. The break after
    // it shows that the event has been handled.
    line->Set([](FakeLine& l) {
        l.inQueue = 0;
        l.portEvents.push_back(EV_RXCHAR);
        l.portEvents.push_back(EV_BREAK);
    });
    ASSERT_TRUE(PumpUntil(ui, [&] { return order.size() >= 4; }));
    EXPECT_EQ(order.size(), 4u);
    EXPECT_EQ(order.back(), "break");
}

TEST_F(FakePortTest, FailedReadReportsLineErrorsAndEndsAtOnce) {
    std::vector<int32_t> errors;
    comm.SetOnError([&](TCustomCommX*, int32_t bits) { errors.push_back(bits); });
    comm.Open();
    line->Set([](FakeLine& l) {
        l.readFails = true;
        l.lineErrors = CE_RXPARITY | CE_BREAK;
    });
    char byte;
    EXPECT_EQ(comm.Read(&byte, 1), -1);
    EXPECT_EQ(errors, std::vector<int32_t>{CE_RXPARITY});
}

TEST_F(FakePortTest, CloseDropsDtrAndRtsFirstAndLeavesNothingRunning) {
    comm.SetFlowCtrl(cfcNone);
    comm.Open();
    ClearLines();
    comm.Close();
    const auto lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].line, ModemLine::Dtr);
    EXPECT_FALSE(lines[0].raised);
    EXPECT_EQ(lines[1].line, ModemLine::Rts);
    EXPECT_FALSE(lines[1].raised);
    EXPECT_TRUE(line->Get<bool>([](FakeLine& l) { return l.destroyed; }));
    EXPECT_EQ(comm.Handle(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(comm.Write("x", 1));
    comm.Close();  // closed: nothing
}

TEST(CommXLifetimeTest, DestroyingAnOpenComponentClosesIt) {
    auto line = std::make_shared<FakeLine>();
    PumpedUiThread ui;
    {
        TCommX comm(ui, {}, FakeOpener(line));
        comm.Open();
    }
    EXPECT_TRUE(line->Get<bool>([](FakeLine& l) { return l.destroyed; }));
}

// A worker waiting for the UI thread to take a notification must not hold Close up, even
// when the UI thread never pumps.
TEST_F(FakePortTest, CloseIsNotHeldUpByNotificationsNobodyPumps) {
    int received = 0, errors = 0;
    comm.SetOnReceive([&](TCustomCommX*, int32_t) { ++received; });
    comm.SetOnError([&](TCustomCommX*, int32_t) { ++errors; });
    comm.Open();
    // First the transmit thread's line error, then the receive thread's data: each thread
    // waits in its notification before Close is called.
    line->Set([](FakeLine& l) {
        l.writeResult = WriteResult::Failed;
        l.lineErrors = CE_FRAME;
    });
    ASSERT_TRUE(comm.SendString("abc"));
    ASSERT_TRUE(ui.WaitForSenders(1));
    line->Set([](FakeLine& l) {
        l.inQueue = 1;
        l.portEvents.push_back(EV_RXCHAR);
    });
    ASSERT_TRUE(ui.WaitForSenders(2));
    const auto start = Clock::now();
    comm.Close();
    EXPECT_LT(Ms(Clock::now() - start), 700);
    EXPECT_EQ(received, 0);  // arrived while closing: nothing
    EXPECT_EQ(errors, 0);
}

// A handler of the component's own events may close the port, or open it again through
// PortNo, while the thread that reported the event waits for that very handler.
TEST(CommXHandlerTest, HandlerClosesOrReopensThePortItsEventCameFrom) {
    enum Source { kData, kBreak, kReceiveError, kTransmitError };
    const struct {
        const char* name;
        Source source;
        bool reopen;
    } cases[] = {
        {"close on data", kData, false},
        {"close on break", kBreak, false},
        {"close on error from the receive thread", kReceiveError, false},
        {"close on error from the transmit thread", kTransmitError, false},
        {"reopen on break", kBreak, true},
        {"reopen on error from the transmit thread", kTransmitError, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto line = std::make_shared<FakeLine>();
        PumpedUiThread ui;
        TCommX comm(ui, {}, FakeOpener(line));
        int handled = 0, received = 0;
        auto act = [&] {
            ++handled;
            if (c.reopen) {
                comm.SetPortNo(comm.PortNo());
            } else {
                comm.Close();
            }
        };
        comm.SetOnError([&](TCustomCommX*, int32_t) { act(); });
        comm.SetOnBreak([&](TCustomCommX*) { act(); });
        comm.SetOnReceive([&](TCustomCommX*, int32_t) {
            if (c.source == kData) act();
            ++received;
        });
        comm.Open();
        line->Set([&](FakeLine& l) {
            l.inQueue = 1;
            if (c.source == kData) l.portEvents.push_back(EV_RXCHAR);
            // The data reported with the break belongs to the opening the handler ends.
            if (c.source == kBreak) l.portEvents.push_back(EV_BREAK | EV_RXCHAR);
            if (c.source == kReceiveError) {
                l.lineErrors = CE_FRAME;
                l.portEvents.push_back(EV_ERR);
            }
            if (c.source == kTransmitError) {
                l.lineErrors = CE_FRAME;
                l.writeResult = WriteResult::Failed;
            }
        });
        if (c.source == kTransmitError) {
            ASSERT_TRUE(comm.SendString("x"));
        }
        {
            Watchdog watchdog(std::chrono::seconds(10), c.name);
            ASSERT_TRUE(PumpUntil(ui, [&] { return handled == 1; }));
            // The handler's Close has joined the old threads and delivered whatever they
            // still sent: nothing more can come from them.
            ui.ProcessMessages();
        }
        EXPECT_EQ(handled, 1);
        EXPECT_EQ(received, c.source == kData ? 1 : 0);
        // The old port goes only once its threads have ended.
        EXPECT_TRUE(line->Get<bool>([](FakeLine& l) { return l.destroyed; }));
        EXPECT_EQ(comm.Handle() != INVALID_HANDLE_VALUE, c.reopen);
        if (!c.reopen) continue;
        // The new opening reports its own events.
        comm.SetOnReceive([&](TCustomCommX*, int32_t) { ++received; });
        line->Set([](FakeLine& l) { l.portEvents.push_back(EV_RXCHAR); });
        EXPECT_TRUE(PumpUntil(ui, [&] { return received == 1; }));
    }
}

}  // namespace
}  // namespace mxc9::test
