#include "serial/Win32Port.h"

// After the component's own header: windows.h spells some of its port constants
// (EV_RXCHAR, CE_FRAME, ...) as macros of the same names and values.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <string>

namespace mxc9 {

namespace {

static_assert(sizeof(DCB) == 28, "the device control block is 28 bytes long");

// While WaitCommEvent ends without an event (Wine does that on a pseudo-terminal, several
// hundred times a second), the receive side looks at the input queue instead: this often
// while a reply is due (a write has gone out, or a read waits for bytes, within the read
// time-out), and seldom while nothing is expected, so that an idle open port costs
// next to nothing.
constexpr DWORD kReplyPollMs = 10;
constexpr DWORD kRestPollMs = 150;

std::atomic<LineErrorQuery> lineErrorQuery{SystemLineErrorQuery};

bool QueryLine(HANDLE handle, DWORD& errors, DWORD& inQueue) {
    uint32_t bits = 0, waiting = 0;
    const bool ok = lineErrorQuery.load()(handle, bits, waiting);
    errors = bits;
    inQueue = waiting;
    return ok;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
    return wide;
}

// The 32-bit flags word of the device control block (fBinary ... fAbortOnError) holds
// its bits where PortState's kFlag constants put them.
uint32_t FlagsOf(const DCB& dcb) {
    uint32_t flags;
    std::memcpy(&flags, reinterpret_cast<const char*>(&dcb) + offsetof(DCB, BaudRate) + 4,
                sizeof flags);
    return flags;
}

void SetFlags(DCB& dcb, uint32_t flags) {
    std::memcpy(reinterpret_cast<char*>(&dcb) + offsetof(DCB, BaudRate) + 4, &flags, sizeof flags);
}

class Win32Port : public ISerialPort {
  public:
    Win32Port(HANDLE handle, HANDLE wakeEvent, HANDLE eventEvent, HANDLE writeEvent,
              HANDLE readEvent, HANDLE replyEvent)
        : handle_(handle), wakeEvent_(wakeEvent), replyEvent_(replyEvent) {
        eventOverlapped_.hEvent = eventEvent;
        writeOverlapped_.hEvent = writeEvent;
        readOverlapped_.hEvent = readEvent;
        dcb_.DCBlength = sizeof(DCB);
    }

    ~Win32Port() override {
        // The threads have ended: nothing is under way but what the driver still holds.
        CancelIo(handle_);
        PurgeComm(handle_, PURGE_TXABORT | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_RXCLEAR);
        CloseHandle(handle_);
        CloseHandle(wakeEvent_);
        CloseHandle(replyEvent_);
        CloseHandle(eventOverlapped_.hEvent);
        CloseHandle(writeOverlapped_.hEvent);
        CloseHandle(readOverlapped_.hEvent);
    }

    uint32_t Handle() const override {
        return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle_));
    }

    bool SetupQueues(int32_t inputSize, int32_t outputSize) override {
        if (inputSize < 0 || outputSize < 0) return false;
        return SetupComm(handle_, static_cast<DWORD>(inputSize), static_cast<DWORD>(outputSize));
    }

    // Ends a write under way: FinishWrite then answers Aborted (the driver completes it
    // with ERROR_OPERATION_ABORTED). Wine does not end a pending operation on a purge, so
    // the write is also cancelled itself.
    void PurgeTransmit() override {
        PurgeComm(handle_, PURGE_TXABORT | PURGE_TXCLEAR);
        if (writePending_.load()) CancelIoEx(handle_, &writeOverlapped_);
    }

    void PurgeReceive() override { PurgeComm(handle_, PURGE_RXABORT | PURGE_RXCLEAR); }

    PortState GetState() override {
        GetCommState(handle_, &dcb_);  // on failure the last state stays
        PortState state;
        state.BaudRate = dcb_.BaudRate;
        state.Flags = FlagsOf(dcb_);
        state.XonLim = dcb_.XonLim;
        state.XoffLim = dcb_.XoffLim;
        state.ByteSize = dcb_.ByteSize;
        state.Parity = dcb_.Parity;
        state.StopBits = dcb_.StopBits;
        state.XonChar = dcb_.XonChar;
        state.XoffChar = dcb_.XoffChar;
        return state;
    }

    bool SetState(const PortState& state) override {
        DCB dcb = dcb_;
        dcb.DCBlength = sizeof(DCB);
        dcb.BaudRate = state.BaudRate;
        SetFlags(dcb, state.Flags);
        dcb.XonLim = state.XonLim;
        dcb.XoffLim = state.XoffLim;
        dcb.ByteSize = state.ByteSize;
        dcb.Parity = state.Parity;
        dcb.StopBits = state.StopBits;
        dcb.XonChar = state.XonChar;
        dcb.XoffChar = state.XoffChar;
        if (!SetCommState(handle_, &dcb)) return false;
        dcb_ = dcb;
        return true;
    }

    // The read time-outs as the component's Read works with them: a read ends when its
    // bytes are there or after readTotal milliseconds with what has come.
    bool SetTimeouts(uint32_t readTotal, uint32_t writeTotal) override {
        COMMTIMEOUTS timeouts{};
        GetCommTimeouts(handle_, &timeouts);
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = 0;
        timeouts.ReadTotalTimeoutConstant = readTotal;
        timeouts.WriteTotalTimeoutMultiplier = 0;
        timeouts.WriteTotalTimeoutConstant = writeTotal;
        if (!SetCommTimeouts(handle_, &timeouts)) return false;
        writeTimeout_.store(writeTotal);
        readTimeout_.store(readTotal);
        return true;
    }

    bool SetLine(ModemLine line, bool raise) override {
        DWORD function;
        if (line == ModemLine::Rts) {
            function = raise ? SETRTS : CLRRTS;
        } else {
            function = raise ? SETDTR : CLRDTR;
        }
        return EscapeCommFunction(handle_, function);
    }

    // The receive side may have cleared errors while it watched the queue: those are
    // kept for the next call, so no error is lost between the two threads.
    uint32_t ClearError(int32_t* inQueue) override {
        DWORD errors = 0, waiting = 0;
        const bool ok = QueryLine(handle_, errors, waiting);
        errors |= keptErrors_.exchange(0);
        if (inQueue != nullptr) *inQueue = ok ? static_cast<int32_t>(waiting) : 0;
        return errors;
    }

    // Takes what the input queue holds: a read of at most that many bytes, which the
    // driver completes at once.
    int32_t Read(void* buffer, int32_t size) override {
        ExpectReply();
        DWORD errors = 0, waiting = 0;
        if (!QueryLine(handle_, errors, waiting)) return -1;  // the port is gone
        keptErrors_.fetch_or(errors);
        if (waiting == 0 || size <= 0) return 0;
        const DWORD wanted = std::min<DWORD>(waiting, static_cast<DWORD>(size));
        DWORD count = 0;
        ResetEvent(readOverlapped_.hEvent);
        if (ReadFile(handle_, buffer, wanted, &count, &readOverlapped_)) {
            return static_cast<int32_t>(count);
        }
        if (GetLastError() != ERROR_IO_PENDING) return -1;
        if (GetOverlappedResult(handle_, &readOverlapped_, &count, TRUE)) {
            return static_cast<int32_t>(count);
        }
        // Wine ends a read cut short by the time-out with ERROR_TIMEOUT; its bytes count.
        return GetLastError() == ERROR_TIMEOUT ? static_cast<int32_t>(count) : -1;
    }

    // The receive thread owns the port's event wait, so this one only pauses.
    void WaitInput(int32_t ms) override { Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0); }

    WriteResult StartWrite(const uint8_t* data, uint32_t size, uint32_t& written) override {
        ExpectReply();
        written = 0;
        DWORD count = 0;
        ResetEvent(writeOverlapped_.hEvent);
        if (WriteFile(handle_, data, size, &count, &writeOverlapped_)) {
            written = count;
            return WriteResult::Completed;
        }
        if (GetLastError() != ERROR_IO_PENDING) return WriteResult::Failed;
        writePending_.store(true);
        return WriteResult::Pending;
    }

    // Waits for the write under way. The driver ends it at the write time-out; should it
    // not, the wait ends a second later and the write counts as cut short.
    WriteResult FinishWrite(uint32_t& written) override {
        const DWORD timeout = writeTimeout_.load();
        const DWORD limit = timeout == 0 || timeout > MAXDWORD - 1000 ? INFINITE : timeout + 1000;
        if (WaitForSingleObject(writeOverlapped_.hEvent, limit) != WAIT_OBJECT_0) {
            CancelIoEx(handle_, &writeOverlapped_);
        }
        DWORD count = 0;
        const BOOL ok = GetOverlappedResult(handle_, &writeOverlapped_, &count, TRUE);
        const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
        writePending_.store(false);
        written = count;
        if (ok || error == ERROR_TIMEOUT) return WriteResult::Completed;
        return error == ERROR_OPERATION_ABORTED ? WriteResult::Aborted : WriteResult::Failed;
    }

    PortWait WaitEvent(uint32_t& mask) override {
        mask = 0;
        if (gone_) return PortWait::Failed;
        for (;;) {
            DWORD events = 0;
            ResetEvent(eventOverlapped_.hEvent);
            BOOL ok = WaitCommEvent(handle_, &events, &eventOverlapped_);
            if (!ok && GetLastError() == ERROR_IO_PENDING) {
                HANDLE waits[2] = {wakeEvent_, eventOverlapped_.hEvent};
                if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
                    // The wait may not outlive this call: its record is used again.
                    CancelIoEx(handle_, &eventOverlapped_);
                    DWORD ignored;
                    GetOverlappedResult(handle_, &eventOverlapped_, &ignored, TRUE);
                    return PortWait::Woken;
                }
                DWORD ignored;
                ok = GetOverlappedResult(handle_, &eventOverlapped_, &ignored, FALSE);
            }
            mask = ok ? events & (EV_RXCHAR | EV_BREAK | EV_ERR) : 0;
            if (mask != 0) {
                NoteQueue();
                return PortWait::Events;
            }
            // The wait ended without an event: aborted or failed. Rather than ask again
            // at once, look at the port after a pause that Wake can end; a reply that
            // becomes due ends the long pause.
            const DWORD pause = ReplyDue() ? kReplyPollMs : kRestPollMs;
            HANDLE waits[2] = {wakeEvent_, replyEvent_};
            if (WaitForMultipleObjects(2, waits, FALSE, pause) == WAIT_OBJECT_0) {
                return PortWait::Woken;
            }
            DWORD errors = 0, waiting = 0;
            if (!QueryLine(handle_, errors, waiting)) {
                gone_ = true;  // unplugged: the handle answers nothing any more
                return PortWait::Failed;
            }
            keptErrors_.fetch_or(errors);
            if (errors & CE_BREAK) mask |= EV_BREAK;
            if (errors & (CE_OVERRUN | CE_RXPARITY | CE_FRAME)) mask |= EV_ERR;
            if (waiting > lastInQueue_) mask |= EV_RXCHAR;
            lastInQueue_ = waiting;
            if (mask != 0) return PortWait::Events;
        }
    }

    void WaitWake() override { WaitForSingleObject(wakeEvent_, INFINITE); }

    // An automatic-reset event: it stays set until the next wait takes it.
    void Wake() override { SetEvent(wakeEvent_); }

  private:
    // What the input queue held at a reported event (receive thread only).
    void NoteQueue() {
        DWORD errors = 0, waiting = 0;
        if (QueryLine(handle_, errors, waiting)) {
            keptErrors_.fetch_or(errors);
            lastInQueue_ = waiting;
        }
    }

    // A request goes out or a read waits: a reply is due for one read time-out from now.
    // The receive side hears of it at once only when it was resting.
    void ExpectReply() {
        const uint64_t now = GetTickCount64();
        const uint64_t until = now + std::max<uint32_t>(readTimeout_.load(), kReplyPollMs);
        if (replyDueUntil_.exchange(until) < now) SetEvent(replyEvent_);
    }

    bool ReplyDue() const { return replyDueUntil_.load() >= GetTickCount64(); }

    const HANDLE handle_;
    const HANDLE wakeEvent_;
    const HANDLE replyEvent_;       // automatic reset: a reply became due
    OVERLAPPED eventOverlapped_{};  // receive thread
    OVERLAPPED writeOverlapped_{};  // transmit thread
    OVERLAPPED readOverlapped_{};   // UI thread
    DCB dcb_{};
    std::atomic<bool> writePending_{false};
    std::atomic<uint32_t> writeTimeout_{0};
    std::atomic<uint32_t> readTimeout_{0};
    std::atomic<uint64_t> replyDueUntil_{0};  // GetTickCount64 time
    std::atomic<uint32_t> keptErrors_{0};
    DWORD lastInQueue_ = 0;  // receive thread only
    bool gone_ = false;      // receive thread only
};

}  // namespace

std::string Win32PortName(int32_t portNo) {
    return "\\\\.\\COM" + std::to_string(portNo);
}

std::string DefaultPortName(int32_t portNo) {
    return Win32PortName(portNo);
}

std::unique_ptr<ISerialPort> OpenSystemPort(const std::string& path) {
    return OpenWin32Port(path);
}

std::unique_ptr<ISerialPort> OpenWin32Port(const std::string& path) {
    const std::wstring name = Widen(path);
    if (name.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    // No sharing: a second opener, in this program or another, is refused.
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    // A disk file or NUL opens too, but is no port: it has no device control block.
    DCB probe{};
    probe.DCBlength = sizeof(DCB);
    if (GetFileType(handle) != FILE_TYPE_CHAR || !GetCommState(handle, &probe)) {
        CloseHandle(handle);
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HANDLE events[5] = {
        CreateEventW(nullptr, FALSE, FALSE, nullptr),  // wake-up: automatic reset
        CreateEventW(nullptr, TRUE, FALSE, nullptr),   // port events
        CreateEventW(nullptr, TRUE, FALSE, nullptr),   // writes
        CreateEventW(nullptr, TRUE, FALSE, nullptr),   // reads
        CreateEventW(nullptr, FALSE, FALSE, nullptr),  // a reply became due: automatic reset
    };
    if (!events[0] || !events[1] || !events[2] || !events[3] || !events[4] ||
        !SetCommMask(handle, EV_RXCHAR | EV_BREAK | EV_ERR)) {
        const DWORD error = GetLastError();
        for (HANDLE event : events)
            if (event) CloseHandle(event);
        CloseHandle(handle);
        SetLastError(error);
        return nullptr;
    }
    return std::make_unique<Win32Port>(handle, events[0], events[1], events[2], events[3],
                                       events[4]);
}

bool SystemLineErrorQuery(void* handle, uint32_t& errors, uint32_t& inQueue) {
    DWORD bits = 0;
    COMSTAT status{};
    const bool ok = ClearCommError(static_cast<HANDLE>(handle), &bits, &status);
    errors = bits;
    inQueue = ok ? status.cbInQue : 0;
    return ok;
}

LineErrorQuery SetLineErrorQuery(LineErrorQuery query) {
    return lineErrorQuery.exchange(query ? query : SystemLineErrorQuery);
}

}  // namespace mxc9
