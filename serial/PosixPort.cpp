#include "serial/PosixPort.h"

#include <asm/ioctls.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>

// glibc's termios.h and the kernel's asm/termbits.h cannot be included together; the
// kernel's termios2 (any bit rate through BOTHER) is declared here in its own layout.
struct termios2 {
    tcflag_t c_iflag;
    tcflag_t c_oflag;
    tcflag_t c_cflag;
    tcflag_t c_lflag;
    cc_t c_line;
    cc_t c_cc[19];
    speed_t c_ispeed;
    speed_t c_ospeed;
};
#ifndef IBSHIFT
#define IBSHIFT 16
#endif
#ifndef BOTHER
#define BOTHER 0010000
#endif

namespace mxc9 {

namespace {

using Clock = std::chrono::steady_clock;

struct StandardRate {
    uint32_t rate;
    speed_t code;
};
constexpr StandardRate kStandardRates[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool StandardSpeed(uint32_t rate, speed_t& code) {
    for (const auto& entry : kStandardRates) {
        if (entry.rate == rate) {
            code = entry.code;
            return true;
        }
    }
    return false;
}

uint32_t RateOf(speed_t code) {
    for (const auto& entry : kStandardRates) {
        if (entry.code == code) return entry.rate;
    }
    return 9600;
}

bool SameSettings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0 &&
           cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b);
}

}  // namespace

bool LineSettingsToTermios(const PortState& state, termios& tio) {
    if (state.ByteSize < 5 || state.ByteSize > 8 || state.Parity > 4 || state.StopBits > 2) {
        return false;
    }
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag |= kSizes[state.ByteSize - 5];
    if (state.Parity != 0) {
        tio.c_cflag |= PARENB;
        if (state.Parity == 1 || state.Parity == 3) tio.c_cflag |= PARODD;
        if (state.Parity >= 3) tio.c_cflag |= CMSPAR;
        if (state.Flags & kFlagParity) tio.c_iflag |= INPCK;
    }
    // One and a half stop bits do not exist here: the nearest is two.
    if (state.StopBits != 0) tio.c_cflag |= CSTOPB;
    const bool rtsHandshake = (state.Flags & kFlagRtsControlMask) == kFlagRtsHandshake;
    if ((state.Flags & kFlagOutxCtsFlow) || rtsHandshake) tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (state.Flags & kFlagOutX) tio.c_iflag |= IXON;
    if (state.Flags & kFlagInX) tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = static_cast<cc_t>(state.XonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(state.XoffChar);
    tio.c_cc[VMIN] = 1;  // with O_NONBLOCK: EAGAIN for "nothing yet", 0 for "gone"
    tio.c_cc[VTIME] = 0;
    return true;
}

namespace {

class PosixPort : public ISerialPort {
  public:
    PosixPort(int fd, const termios& original, int wakeFd, int abortFd, int epollFd)
        : fd_(fd), original_(original), wakeFd_(wakeFd), abortFd_(abortFd), epollFd_(epollFd) {
        serial_icounter_struct counts{};
        haveCounters_ = ioctl(fd_, TIOCGICOUNT, &counts) == 0;
        errorCounts_ = counts;
        breakCount_ = counts.brk;
    }

    ~PosixPort() override {
        tcflush(fd_, TCIOFLUSH);
        tcsetattr(fd_, TCSANOW, &original_);
        ioctl(fd_, TIOCNXCL);
        flock(fd_, LOCK_UN);
        close(epollFd_);
        close(wakeFd_);
        close(abortFd_);
        close(fd_);
    }

    uint32_t Handle() const override { return static_cast<uint32_t>(fd_); }

    // Linux has no call for the driver's queue sizes: they are only kept.
    bool SetupQueues(int32_t inputSize, int32_t outputSize) override {
        if (inputSize < 0 || outputSize < 0) return false;
        inputQueue_ = inputSize;
        outputQueue_ = outputSize;
        return true;
    }

    void PurgeTransmit() override {
        tcflush(fd_, TCOFLUSH);
        abortCount_.fetch_add(1);
        const uint64_t one = 1;
        (void)!write(abortFd_, &one, sizeof one);
    }

    void PurgeReceive() override { tcflush(fd_, TCIFLUSH); }

    PortState GetState() override {
        PortState state;
        termios tio{};
        if (tcgetattr(fd_, &tio) != 0) return state;
        state.BaudRate = RateOf(cfgetospeed(&tio));
        switch (tio.c_cflag & CSIZE) {
            case CS5:
                state.ByteSize = 5;
                break;
            case CS6:
                state.ByteSize = 6;
                break;
            case CS7:
                state.ByteSize = 7;
                break;
            default:
                state.ByteSize = 8;
                break;
        }
        state.Parity = !(tio.c_cflag & PARENB) ? 0 : (tio.c_cflag & PARODD) ? 1 : 2;
        state.StopBits = (tio.c_cflag & CSTOPB) ? 2 : 0;
        state.XonChar = static_cast<char>(tio.c_cc[VSTART]);
        state.XoffChar = static_cast<char>(tio.c_cc[VSTOP]);
        return state;
    }

    bool SetState(const PortState& state) override {
        if (state.BaudRate == 0) return false;
        termios tio{};
        if (tcgetattr(fd_, &tio) != 0 || !LineSettingsToTermios(state, tio)) return false;
        speed_t code;
        const bool standard = StandardSpeed(state.BaudRate, code);
        if (standard) cfsetspeed(&tio, code);
        // A request the same as the last one is not made again. glibc takes a request
        // that changes nothing it can read back for a refusal, and a pseudo-terminal
        // never keeps the parity enable, so with parity on the next unrelated setting
        // (Xon, Xoff) would fail there.
        if (!haveRequested_ || !SameSettings(tio, requested_)) {
            if (tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
            requested_ = tio;
            haveRequested_ = true;
        }
        if (!standard) {
            termios2 tio2{};
            if (ioctl(fd_, TCGETS2, &tio2) != 0) return false;
            tio2.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
            tio2.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
            tio2.c_ispeed = tio2.c_ospeed = state.BaudRate;
            if (ioctl(fd_, TCSETS2, &tio2) != 0) return false;
        }
        // DTR and RTS follow their control modes. There is no driver mode for DTR/DSR
        // handshaking: DTR is simply raised (as when enabled) and DSR is not watched.
        // A device without modem lines (a pseudo-terminal) refuses these; that is no
        // failure of the settings.
        const uint32_t dtr = state.Flags & kFlagDtrControlMask;
        SetLine(ModemLine::Dtr, dtr != 0);
        const uint32_t rts = state.Flags & kFlagRtsControlMask;
        if (rts == kFlagRtsEnable) SetLine(ModemLine::Rts, true);
        if (rts == 0) SetLine(ModemLine::Rts, false);
        return true;
    }

    bool SetTimeouts(uint32_t readTotal, uint32_t writeTotal) override {
        (void)readTotal;  // Read keeps its own deadline
        writeTimeout_.store(writeTotal);
        return true;
    }

    bool SetLine(ModemLine line, bool raise) override {
        int bits = line == ModemLine::Rts ? TIOCM_RTS : TIOCM_DTR;
        return ioctl(fd_, raise ? TIOCMBIS : TIOCMBIC, &bits) == 0;
    }

    // The driver's interrupt counters, compared with their values at the last call, stand
    // in for an error word (where the driver keeps them; a pseudo-terminal does not).
    uint32_t ClearError(int32_t* inQueue) override {
        uint32_t errors = 0;
        if (haveCounters_) {
            serial_icounter_struct counts{};
            std::lock_guard lock(countersLock_);
            if (ioctl(fd_, TIOCGICOUNT, &counts) == 0) {
                if (counts.overrun != errorCounts_.overrun ||
                    counts.buf_overrun != errorCounts_.buf_overrun) {
                    errors |= CE_OVERRUN;
                }
                if (counts.parity != errorCounts_.parity) errors |= CE_RXPARITY;
                if (counts.frame != errorCounts_.frame) errors |= CE_FRAME;
                if (counts.brk != errorCounts_.brk) errors |= CE_BREAK;
                errorCounts_ = counts;
            }
        }
        if (inQueue != nullptr) {
            int waiting = 0;
            *inQueue = ioctl(fd_, FIONREAD, &waiting) == 0 ? waiting : 0;
        }
        return errors;
    }

    int32_t Read(void* buffer, int32_t size) override {
        for (;;) {
            const ssize_t n = read(fd_, buffer, static_cast<size_t>(size));
            if (n > 0) return static_cast<int32_t>(n);
            // In raw mode with VMIN 1 a read of 0 bytes means the line hung up.
            if (n == 0) return -1;
            if (errno == EINTR) continue;
            return errno == EAGAIN ? 0 : -1;
        }
    }

    void WaitInput(int32_t ms) override {
        pollfd p{fd_, POLLIN, 0};
        poll(&p, 1, ms);
    }

    WriteResult StartWrite(const uint8_t* data, uint32_t size, uint32_t& written) override {
        writeData_ = data;
        writeSize_ = size;
        writeDone_ = 0;
        written = 0;
        writeAbort_ = abortCount_.load();
        writeDeadline_ = Clock::now() + std::chrono::milliseconds(writeTimeout_.load());
        uint64_t drained;
        (void)!read(abortFd_, &drained, sizeof drained);
        if (!WriteSome()) return WriteResult::Failed;
        return WriteResult::Pending;
    }

    // Waits until every byte has left the port (as the overlapped write on Windows does,
    // which the half-duplex RTS switching depends on), the write time-out passes, or a
    // transmit purge ends the write.
    WriteResult FinishWrite(uint32_t& written) override {
        for (;;) {
            written = writeDone_;
            if (abortCount_.load() != writeAbort_) return WriteResult::Aborted;
            int unsent = 0;
            if (writeDone_ == writeSize_ && (ioctl(fd_, TIOCOUTQ, &unsent) != 0 || unsent == 0)) {
                return WriteResult::Completed;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(writeDeadline_ -
                                                                                    Clock::now());
            if (left.count() <= 0) return WriteResult::Completed;  // cut short by the time-out
            pollfd p[2] = {{fd_, static_cast<short>(writeDone_ < writeSize_ ? POLLOUT : 0), 0},
                           {abortFd_, POLLIN, 0}};
            // While the driver drains its queue there is nothing to wait on: look again
            // every millisecond.
            const int wait = writeDone_ < writeSize_ ? static_cast<int>(left.count()) : 1;
            if (poll(p, 2, wait) < 0 && errno != EINTR) return WriteResult::Failed;
            if (p[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return WriteResult::Failed;
            if (!WriteSome()) return WriteResult::Failed;
        }
    }

    PortWait WaitEvent(uint32_t& mask) override {
        mask = 0;
        if (hungUp_) return PortWait::Failed;
        for (;;) {
            epoll_event events[2];
            const int n = epoll_wait(epollFd_, events, 2, -1);
            if (n < 0) {
                if (errno == EINTR) continue;
                return PortWait::Failed;
            }
            bool woken = false;
            for (int i = 0; i < n; ++i) {
                if (events[i].data.fd == wakeFd_) {
                    woken = true;
                } else if (events[i].events & (EPOLLHUP | EPOLLERR)) {
                    hungUp_ = true;
                } else if (events[i].events & EPOLLIN) {
                    mask |= EV_RXCHAR;
                }
            }
            if (woken) {
                uint64_t value;
                (void)!read(wakeFd_, &value, sizeof value);
                return PortWait::Woken;
            }
            if (hungUp_) return PortWait::Failed;
            if (haveCounters_) {
                serial_icounter_struct counts{};
                if (ioctl(fd_, TIOCGICOUNT, &counts) == 0 && counts.brk != breakCount_) {
                    breakCount_ = counts.brk;
                    mask |= EV_BREAK;
                }
            }
            if (mask != 0) return PortWait::Events;
        }
    }

    void WaitWake() override {
        pollfd p{wakeFd_, POLLIN, 0};
        while (poll(&p, 1, -1) < 0 && errno == EINTR) {
        }
        uint64_t value;
        (void)!read(wakeFd_, &value, sizeof value);
    }

    void Wake() override {
        const uint64_t one = 1;
        (void)!write(wakeFd_, &one, sizeof one);
    }

    int32_t InputQueueSize() const { return inputQueue_; }
    int32_t OutputQueueSize() const { return outputQueue_; }

  private:
    // Writes what the driver takes now; false when the port refuses.
    bool WriteSome() {
        while (writeDone_ < writeSize_) {
            const ssize_t n = write(fd_, writeData_ + writeDone_, writeSize_ - writeDone_);
            if (n > 0) {
                writeDone_ += static_cast<uint32_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            return n < 0 && errno == EAGAIN;
        }
        return true;
    }

    const int fd_;
    const termios original_;
    const int wakeFd_;
    const int abortFd_;  // a transmit purge ends FinishWrite's wait
    const int epollFd_;

    int32_t inputQueue_ = 0;
    int32_t outputQueue_ = 0;
    std::atomic<uint32_t> writeTimeout_{0};

    // The write under way (transmit thread only).
    const uint8_t* writeData_ = nullptr;
    uint32_t writeSize_ = 0;
    uint32_t writeDone_ = 0;
    uint32_t writeAbort_ = 0;
    Clock::time_point writeDeadline_;
    std::atomic<uint32_t> abortCount_{0};

    termios requested_{};  // the settings last asked for
    bool haveRequested_ = false;
    bool haveCounters_ = false;
    std::mutex countersLock_;
    serial_icounter_struct errorCounts_{};
    int breakCount_ = 0;   // receive thread only
    bool hungUp_ = false;  // receive thread only
};

}  // namespace

std::string DefaultPortName(int32_t portNo) {
    return "/dev/ttyS" + std::to_string(portNo - 1);
}

std::unique_ptr<ISerialPort> OpenSystemPort(const std::string& path) {
    return OpenPosixPort(path);
}

std::unique_ptr<ISerialPort> OpenPosixPort(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    // The port is not shared. TIOCEXCL alone races with a second opener and does not
    // refuse root at all; the lock refuses every second holder, in this process or not.
    termios original{};
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || tcgetattr(fd, &original) != 0) {
        close(fd);
        return nullptr;
    }
    ioctl(fd, TIOCEXCL);
    termios raw = original;
    cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    const int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const int abortFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const int epollFd = epoll_create1(EPOLL_CLOEXEC);
    auto fail = [&] {
        for (int other : {wakeFd, abortFd, epollFd}) {
            if (other >= 0) close(other);
        }
        tcsetattr(fd, TCSANOW, &original);
        ioctl(fd, TIOCNXCL);
        close(fd);
        return nullptr;
    };
    if (wakeFd < 0 || abortFd < 0 || epollFd < 0 || tcsetattr(fd, TCSANOW, &raw) != 0) {
        return fail();
    }
    // Edge-triggered: each new arrival of bytes is one event, read or not.
    epoll_event portEvent{};
    portEvent.events = EPOLLIN | EPOLLET;
    portEvent.data.fd = fd;
    epoll_event wakeEvent{};
    wakeEvent.events = EPOLLIN;
    wakeEvent.data.fd = wakeFd;
    if (epoll_ctl(epollFd, EPOLL_CTL_ADD, fd, &portEvent) != 0 ||
        epoll_ctl(epollFd, EPOLL_CTL_ADD, wakeFd, &wakeEvent) != 0) {
        return fail();
    }
    return std::make_unique<PosixPort>(fd, original, wakeFd, abortFd, epollFd);
}

}  // namespace mxc9
