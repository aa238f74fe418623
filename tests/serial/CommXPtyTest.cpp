// The component on a real tty: it opens the slave side of a pseudo-terminal as its port
// and the test plays the far end on the master side.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "serial/CommX.h"
#include "serial/PosixPort.h"
#include "tests/serial/FakePort.h"

namespace mxc9 {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A pseudo-terminal whose slave is "COM1" for the component.
class Pty {
  public:
    Pty() {
        int slave = -1;
        char name[64] = {};
        if (openpty(&master_, &slave, name, nullptr, nullptr) == 0) {
            path_ = name;
            close(slave);
        }
    }
    ~Pty() { CloseMaster(); }
    const std::string& path() const { return path_; }
    int master() const { return master_; }
    void CloseMaster() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }
    void Send(const std::string& bytes) {
        ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Whatever the component sent, until `count` bytes or a second without any.
    std::string Receive(size_t count) {
        std::string got;
        while (got.size() < count) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 1000) <= 0) break;
            char buffer[4096];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            got.append(buffer, static_cast<size_t>(n));
        }
        return got;
    }

  private:
    int master_ = -1;
    std::string path_;
};

// The tty's port, telling the test when the transmit thread has begun a write.
class WatchedPort : public ISerialPort {
  public:
    struct Writes {
        std::mutex mutex;
        std::condition_variable started;
        int count = 0;
        bool WaitForStart() {
            std::unique_lock lock(mutex);
            return started.wait_for(lock, 5s, [&] { return count > 0; });
        }
    };

    WatchedPort(std::unique_ptr<ISerialPort> port, std::shared_ptr<Writes> writes)
        : port_(std::move(port)), writes_(std::move(writes)) {}

    uint32_t Handle() const override { return port_->Handle(); }
    bool SetupQueues(int32_t in, int32_t out) override { return port_->SetupQueues(in, out); }
    void PurgeTransmit() override { port_->PurgeTransmit(); }
    void PurgeReceive() override { port_->PurgeReceive(); }
    PortState GetState() override { return port_->GetState(); }
    bool SetState(const PortState& state) override { return port_->SetState(state); }
    bool SetTimeouts(uint32_t read, uint32_t write) override {
        return port_->SetTimeouts(read, write);
    }
    bool SetLine(ModemLine line, bool raise) override { return port_->SetLine(line, raise); }
    uint32_t ClearError(int32_t* inQueue) override { return port_->ClearError(inQueue); }
    int32_t Read(void* buffer, int32_t size) override { return port_->Read(buffer, size); }
    void WaitInput(int32_t ms) override { port_->WaitInput(ms); }
    WriteResult StartWrite(const uint8_t* data, uint32_t size, uint32_t& written) override {
        const WriteResult result = port_->StartWrite(data, size, written);
        {
            std::lock_guard lock(writes_->mutex);
            ++writes_->count;
        }
        writes_->started.notify_all();
        return result;
    }
    WriteResult FinishWrite(uint32_t& written) override { return port_->FinishWrite(written); }
    PortWait WaitEvent(uint32_t& mask) override { return port_->WaitEvent(mask); }
    void WaitWake() override { port_->WaitWake(); }
    void Wake() override { port_->Wake(); }

  private:
    std::unique_ptr<ISerialPort> port_;
    std::shared_ptr<Writes> writes_;
};

class PtyTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(pty.path().empty()) << "no pseudo-terminal"; }
    PortNameResolver Resolver() {
        return [this](int32_t) { return pty.path(); };
    }
    Pty pty;
    PumpedUiThread ui;
    TCommX comm{ui, Resolver()};
};

void ExpectOpenFails(TCommX& comm) {
    try {
        comm.Open();
        ADD_FAILURE() << "opened";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), kErrOpen);
    }
    EXPECT_EQ(comm.Handle(), INVALID_HANDLE_VALUE);
}

TEST_F(PtyTest, ZeroByteWritesSucceedOpenOrClosedAndOtherWritesNeedAnOpenPort) {
    EXPECT_TRUE(comm.Write("", 0));
    EXPECT_TRUE(comm.SendString(""));
    EXPECT_FALSE(comm.Write("a", 1));
    EXPECT_FALSE(comm.SendString("a"));
    char byte;
    EXPECT_EQ(comm.Read(&byte, 1), -1);
    comm.Open();
    EXPECT_TRUE(comm.Write("", 0));
    EXPECT_TRUE(comm.SendString("ok"));
    EXPECT_EQ(pty.Receive(2), "ok");
    EXPECT_EQ(pty.Receive(1), "");  // the empty writes sent nothing
}

TEST_F(PtyTest, FiveThousandBytesArriveCompleteAndInOrder) {
    comm.SetBitRate(1200);  // a pseudo-terminal does not pace the bytes
    comm.Open();
    std::string data(5000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 31) >> 3);
    const auto start = Clock::now();
    EXPECT_TRUE(comm.SendString(data));
    EXPECT_LT(MsSince(start), 50);  // Write does not wait for the line
    EXPECT_EQ(pty.Receive(data.size()), data);
}

TEST_F(PtyTest, ReadReturnsWhatArrivedOrZeroAfterTheTimeOut) {
    comm.SetTimeOutReceive(200);
    comm.Open();
    char buffer[4] = {};
    auto start = Clock::now();
    EXPECT_EQ(comm.Read(buffer, 1), 0);
    EXPECT_GE(MsSince(start), 200);
    EXPECT_LT(MsSince(start), 300);

    pty.Send("AB");
    EXPECT_EQ(comm.Read(buffer, 2), 2);
    EXPECT_EQ(std::string(buffer, 2), "AB");

    // Fewer bytes than asked for: what came, once the time-out has passed.
    pty.Send("C");
    start = Clock::now();
    EXPECT_EQ(comm.Read(buffer, 3), 1);
    EXPECT_EQ(buffer[0], 'C');
    EXPECT_GE(MsSince(start), 200);

    // A byte that comes during the wait ends it.
    std::thread far([&] {
        std::this_thread::sleep_for(50ms);
        pty.Send("D");
    });
    start = Clock::now();
    EXPECT_EQ(comm.Read(buffer, 1), 1);
    EXPECT_LT(MsSince(start), 150);
    far.join();
    EXPECT_EQ(buffer[0], 'D');
    EXPECT_EQ(comm.Read(nullptr, 1), -1);
}

TEST_F(PtyTest, OpenTwiceKeepsThePortOpenAndUnchanged) {
    comm.Open();
    const uint32_t handle = comm.Handle();
    try {
        comm.Open();
        FAIL() << "second Open accepted";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), kErrAlreadyOpen);
    }
    EXPECT_EQ(comm.Handle(), handle);
    EXPECT_TRUE(comm.SendString("still"));
    EXPECT_EQ(pty.Receive(5), "still");
}

TEST_F(PtyTest, MissingPortFailsWithItsTextAndCloseIsHarmlessAfter) {
    TCommX missing(ui, [](int32_t) { return std::string("/dev/no-such-tty-here"); });
    ExpectOpenFails(missing);
    missing.Close();
    EXPECT_EQ(missing.Handle(), INVALID_HANDLE_VALUE);
    // Not a tty at all.
    TCommX notTty(ui, [](int32_t) { return std::string("/dev/null"); });
    ExpectOpenFails(notTty);
}

TEST_F(PtyTest, PortHeldOpenIsRefusedToASecondComponentAndAnotherProcess) {
    comm.Open();
    TCommX second(ui, Resolver());
    ExpectOpenFails(second);
    const pid_t child = fork();
    if (child == 0) _exit(OpenPosixPort(pty.path()) ? 1 : 0);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "other process opened it";
    comm.Close();
    second.Open();  // free again after Close
    EXPECT_NE(second.Handle(), INVALID_HANDLE_VALUE);
}

TEST_F(PtyTest, PortNoWrittenWhileOpenClosesAndOpensAgain) {
    int resolved = 0;
    comm.SetPortNameResolver([&](int32_t) {
        ++resolved;
        return pty.path();
    });
    comm.Open();
    comm.SetPortNo(comm.PortNo());  // also when unchanged
    EXPECT_EQ(resolved, 2);
    EXPECT_NE(comm.Handle(), INVALID_HANDLE_VALUE);
    comm.SetPortNo(2);
    EXPECT_EQ(resolved, 3);
    EXPECT_TRUE(comm.SendString("again"));
    EXPECT_EQ(pty.Receive(5), "again");
}

TEST_F(PtyTest, PurgeReceiveDropsWhatCameBefore) {
    comm.SetTimeOutReceive(300);
    comm.Open();
    pty.Send("old");
    const auto start = Clock::now();  // the pty hands bytes over in its own time
    while (comm.ReceivedCount() < 3 && MsSince(start) < 2000) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(comm.ReceivedCount(), 3);
    comm.PurgeReceive();
    EXPECT_EQ(comm.ReceivedCount(), 0);
    pty.Send("new");
    char buffer[3];
    EXPECT_EQ(comm.Read(buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 3), "new");
}

TEST_F(PtyTest, OnReceiveRunsOnTheUiThreadWithTheWaitingCount) {
    std::thread::id ranOn;
    int32_t size = 0;
    comm.SetOnReceive([&](TCustomCommX* sender, int32_t n) {
        EXPECT_EQ(sender, &comm);
        ranOn = std::this_thread::get_id();
        size = n;
    });
    comm.Open();
    pty.Send("xyz");
    const auto start = Clock::now();
    while (size == 0 && MsSince(start) < 2000) {
        ui.ProcessMessages();
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(size, 3);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

// Process CPU time in milliseconds.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The processor time a thread that never rests gets in `period` on this machine as it is
// loaded now: what a spinning worker would cost.
double BusyLoopCpuMs(std::chrono::milliseconds period) {
    const double before = CpuMs();
    const auto end = Clock::now() + period;
    volatile unsigned spins = 0;
    while (Clock::now() < end) spins = spins + 1;
    return CpuMs() - before;
}

TEST_F(PtyTest, VanishingPortEndsTheReadWithoutSpinningOrHanging) {
    comm.SetTimeOutReceive(3000);
    comm.Open();
    std::thread far([&] {
        std::this_thread::sleep_for(100ms);
        pty.CloseMaster();
    });
    char byte;
    auto start = Clock::now();
    EXPECT_EQ(comm.Read(&byte, 1), -1);
    EXPECT_LT(MsSince(start), 1000);
    far.join();
    // Nothing may loop on the hung-up port: idle, the process takes a small share of
    // what one busy thread takes in the same time.
    const double cpuBefore = CpuMs();
    std::this_thread::sleep_for(300ms);
    ui.ProcessMessages();
    const double idle = CpuMs() - cpuBefore;
    const double busy = BusyLoopCpuMs(300ms);
    EXPECT_LT(idle, 0.2 * busy) << idle << " ms idle against " << busy << " ms busy";
    EXPECT_EQ(comm.Read(&byte, 1), -1);
    start = Clock::now();
    comm.Close();
    EXPECT_LT(MsSince(start), 700);
}

TEST_F(PtyTest, CloseIsQuickAndGivesTheTtyItsSettingsBack) {
    comm.SetBitRate(31250);  // not a standard rate: set through termios2
    comm.Open();
    EXPECT_EQ(comm.DeviceControlBlock().BaudRate, 31250u);
    auto start = Clock::now();
    comm.Close();
    EXPECT_LT(MsSince(start), 600);
    EXPECT_EQ(comm.Handle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(comm.Read(nullptr, 0), -1);
    const int fd = open(pty.path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    EXPECT_TRUE(tio.c_lflag & ICANON) << "still in raw mode";
    close(fd);
}

TEST_F(PtyTest, SettingTheTtyRefusesNamesItAndLeavesThePortClosed) {
    comm.SetCharSize(9);
    try {
        comm.Open();
        FAIL() << "9 data bits accepted";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), kErrCharSize);
    }
    EXPECT_EQ(comm.Handle(), INVALID_HANDLE_VALUE);
    comm.SetCharSize(8);  // a pseudo-terminal knows no other size
    comm.Open();
    try {
        comm.SetCharSize(4);
        FAIL() << "4 data bits accepted";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), kErrCharSize);
    }
    EXPECT_EQ(comm.CharSize(), 4);  // stored even so
    EXPECT_NE(comm.Handle(), INVALID_HANDLE_VALUE);
}

TEST_F(PtyTest, ReadKeepsTheWindowsEventsFlowingWhileItWaits) {
    comm.SetTimeOutReceive(2000);
    comm.Open();
    // An event of the window, sent from another thread, plays the far end's byte: the
    // Read can only see that byte if the event is handled while it waits.
    std::thread window([&] {
        std::this_thread::sleep_for(50ms);
        ui.Send([&] { pty.Send("E"); });
    });
    char byte = 0;
    const auto start = Clock::now();
    const int32_t got = comm.Read(&byte, 1);
    const long ms = MsSince(start);
    ui.ProcessMessages();  // lets the window's thread go if the Read did not
    window.join();
    EXPECT_EQ(got, 1);
    EXPECT_EQ(byte, 'E');
    EXPECT_LT(ms, 1000);
}

// The far end has stopped the line with Xoff, so the transmit thread's write cannot drain
// before its time-out of 20 s; a purge, and Close, end it at once.
TEST_F(PtyTest, PurgeAndCloseEndAWriteThatCannotDrain) {
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "Close" : "PurgeTransmit");
        auto writes = std::make_shared<WatchedPort::Writes>();
        TCommX held(ui, Resolver(), [writes](const std::string& path) {
            auto port = OpenPosixPort(path);
            return port ? std::make_unique<WatchedPort>(std::move(port), writes) : nullptr;
        });
        held.SetFlowCtrl(cfcXonXoff);
        held.SetTimeOutTrans(20000);
        held.Open();
        // Xoff, then a byte whose arrival shows that the Xoff has been taken.
        pty.Send("\x13M");
        const auto sent = Clock::now();
        while (held.ReceivedCount() < 1 && MsSince(sent) < 2000) {
            std::this_thread::sleep_for(1ms);
        }
        held.PurgeReceive();
        ASSERT_TRUE(held.SendString(std::string(4096, 'z')));
        ASSERT_TRUE(writes->WaitForStart());  // the thread is in its write
        EXPECT_EQ(pty.Receive(1), "");        // nothing got past the Xoff
        const auto start = Clock::now();
        if (close) {
            held.Close();
        } else {
            held.PurgeTransmit();
            EXPECT_EQ(held.PendingByteCount(), 0);
        }
        EXPECT_LT(MsSince(start), 2000);
        pty.Send("\x11");
        held.Close();
    }
}

// A pseudo-terminal keeps the parity sense and the stop bits (it drops the parity
// enable and the data bits), so these are the tty's own settings: at Open, and after
// each change while open.
TEST_F(PtyTest, TheTtyHoldsTheParitySenseAndStopBitsSet) {
    const struct {
        TCommParityBits parity;
        TCommStopBits stop;
        bool parOdd, cStopB;
    } steps[] = {
        {cpbOdd, csb2, true, true},     // before Open
        {cpbEven, csb2, false, true},   // the rest while open
        {cpbEven, csb1, false, false},  //
        {cpbOdd, csb1, true, false},    //
        {cpbOdd, csb1p5, true, true},   // the nearest to one and a half is two
    };
    for (const auto& step : steps) {
        comm.SetParityBit(step.parity);
        comm.SetStopBit(step.stop);
        if (comm.Handle() == INVALID_HANDLE_VALUE) comm.Open();
        termios tio{};
        ASSERT_EQ(tcgetattr(static_cast<int>(comm.Handle()), &tio), 0);
        EXPECT_EQ((tio.c_cflag & PARODD) != 0, step.parOdd) << int(step.parity);
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, step.cStopB) << int(step.stop);
    }
}

// What the tty is given for the component's properties: each row sets the properties on
// an open scripted port and converts the line settings the component keeps for it.
TEST(LineSettingsToTermiosTest, PropertiesBecomeTheTtysSettings) {
    const struct {
        int32_t charSize;
        TCommParityBits parity;
        TCommStopBits stop;
        TCommFlowCtrls flow;
        tcflag_t size;
        bool parEnb, parOdd, cStopB, crtsCts, ixOn, ixOff;
    } cases[] = {
        {8, cpbNone, csb1, cfcNone, CS8, false, false, false, false, false, false},
        {7, cpbEven, csb1, cfcNone, CS7, true, false, false, false, false, false},
        {7, cpbOdd, csb2, cfcNone, CS7, true, true, true, false, false, false},
        {6, cpbOdd, csb1, cfcNone, CS6, true, true, false, false, false, false},
        {5, cpbNone, csb1p5, cfcNone, CS5, false, false, true, false, false, false},
        {8, cpbNone, csb1, cfcRtsCts, CS8, false, false, false, true, false, false},
        {8, cpbNone, csb1, cfcDtrDsr, CS8, false, false, false, false, false, false},
        {8, cpbNone, csb1, cfcXonXoff, CS8, false, false, false, false, true, true},
        {8, cpbNone, csb1, cfcHalfHigh, CS8, false, false, false, false, false, false},
        {8, cpbNone, csb1, cfcHalfLow, CS8, false, false, false, false, false, false},
    };
    PumpedUiThread ui;
    TCommX comm(ui, {}, test::FakeOpener(std::make_shared<test::FakeLine>()));
    comm.Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.charSize << " bits, parity " << int(c.parity)
                                          << ", stop " << int(c.stop) << ", flow " << int(c.flow));
        comm.SetCharSize(c.charSize);
        comm.SetParityBit(c.parity);
        comm.SetStopBit(c.stop);
        comm.SetFlowCtrl(c.flow);
        // Every bit that a row may clear starts set, as another program may leave them.
        termios tio{};
        tio.c_cflag = CS8 | PARENB | PARODD | CSTOPB | CRTSCTS;
        tio.c_iflag = IXON | IXOFF | IXANY;
        ASSERT_TRUE(LineSettingsToTermios(comm.DeviceControlBlock(), tio));
        EXPECT_EQ(tio.c_cflag & CSIZE, c.size);
        EXPECT_EQ((tio.c_cflag & PARENB) != 0, c.parEnb);
        EXPECT_EQ((tio.c_cflag & PARODD) != 0, c.parOdd);
        EXPECT_EQ((tio.c_iflag & INPCK) != 0, c.parEnb);  // received parity is checked
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.cStopB);
        EXPECT_EQ((tio.c_cflag & CRTSCTS) != 0, c.crtsCts);
        EXPECT_EQ((tio.c_iflag & IXON) != 0, c.ixOn);
        EXPECT_EQ((tio.c_iflag & IXOFF) != 0, c.ixOff);
        EXPECT_EQ(tio.c_iflag & IXANY, 0u);
        EXPECT_EQ(tio.c_lflag & ICANON, 0u);  // raw
        EXPECT_EQ(tio.c_cc[VSTART], 17);
        EXPECT_EQ(tio.c_cc[VSTOP], 19);
    }
}

}  // namespace
}  // namespace mxc9
