#include "serial/CommX.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>
#include <thread>

#include "serial/CommThreads.h"

namespace mxc9 {

namespace {

constexpr int32_t kMaxQueuedBlocks = 32;

void SleepMs(int32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

TCustomCommX::TCustomCommX(IUiThread& ui, PortNameResolver resolver, PortOpener opener)
    : ui_(ui), resolver_(std::move(resolver)), opener_(std::move(opener)) {
    if (!resolver_) resolver_ = DefaultPortName;
    if (!opener_) opener_ = OpenSystemPort;
}

TCustomCommX::TCustomCommX() : TCustomCommX(ApplicationUiThread()) {}

TCustomCommX::~TCustomCommX() {
    Close();
}

void TCustomCommX::SetPortNameResolver(PortNameResolver resolver) {
    resolver_ = resolver ? std::move(resolver) : PortNameResolver(DefaultPortName);
}

uint32_t TCustomCommX::Handle() const {
    return port_ ? port_->Handle() : INVALID_HANDLE_VALUE;
}

void TCustomCommX::Open() {
    if (IsOpen()) throw ECommError(kErrAlreadyOpen);
    port_ = opener_(resolver_(portNo_));
    if (!port_) throw ECommError(kErrOpen);
    ++opening_;
    try {
        {
            std::lock_guard lock(counterLock_);
            pendingBytes_ = 0;
            queuedBlocks_ = 0;
        }
        ApplyBufferSizes();
        port_->PurgeTransmit();
        port_->PurgeReceive();
        dcb_ = port_->GetState();
        // Each setting is applied on its own, so the first one the port refuses names
        // the failure.
        ApplyBitRate();
        ApplyCharSize();
        ApplyParityBit();
        ApplyStopBit();
        ApplyFlowCtrl();
        ApplyTimeOuts();
        ApplyXonChar();
        ApplyXoffChar();
        StartThreads();
    } catch (...) {
        Close();
        throw;
    }
}

void TCustomCommX::StartThreads() {
    transThread_.reset();
    receiveThread_.reset();
    try {
        transThread_ = std::make_unique<TCommTransThread>(*this, *port_);
        transThread_->SetHoldTime(CommHoldTime(bitRate_));
        transThread_->Resume();
    } catch (...) {
        transThread_.reset();
        throw ECommError(kErrTransThread);
    }
    try {
        receiveThread_ = std::make_unique<TCommReceiveThread>(*this, *port_);
        receiveThread_->Resume();
    } catch (...) {
        receiveThread_.reset();
        throw ECommError(kErrReceiveThread);
    }
    // DTR has been high since the port opened (DTR_CONTROL_ENABLE); the device link drops
    // it right after Open, and the controller is given this long a pulse.
    SleepMs(100);
}

void TCustomCommX::Close() {
    if (!IsOpen() || closing_) return;
    closing_ = true;
    SetDtr(false);
    SetRts(false);
    PurgeTransmit();
    PurgeReceive();
    // No pause here: StopThreads returns only when both threads have ended, so neither
    // can touch the port, the locks or this component once the port is closed.
    StopThreads();
    port_.reset();  // closes the device and gives it its own settings back
    closing_ = false;
}

void TCustomCommX::StopThreads() {
    if (transThread_) {
        transThread_->Terminate();
        ThreadMessage wake;
        wake.message = kThreadMsgWake;
        transThread_->PostMessage(std::move(wake));
    }
    if (receiveThread_) {
        receiveThread_->Terminate();
        receiveThread_->Wake();
    }
    // Wait for both ends, so that no thread touches the component or the port after
    // Close. A thread may be waiting for a notification meanwhile: one still queued is
    // delivered (and does nothing, the port being closed); one whose handler called
    // Close further up this stack lets its thread go, since the handler cannot return
    // before this wait ends.
    auto running = [](const auto& thread) { return thread && !thread->Finished(); };
    while (running(transThread_) || running(receiveThread_)) {
        ReleaseWorkers();
        SleepMs(1);
    }
    transThread_.reset();
    receiveThread_.reset();
    // A notification sent after the thread was told to end did not wait: it is still
    // queued and names this component, so it goes now, doing nothing.
    ui_.DeliverSends();
}

void TCustomCommX::ReleaseWorkers() {
    ui_.DeliverSends();
    ui_.ReleaseSenders();
}

bool TCustomCommX::Write(const void* buffer, int32_t size) {
    if (size <= 0) return true;
    const auto* position = static_cast<const uint8_t*>(buffer);
    int32_t remaining = size;
    bool allQueued = true;
    while (remaining > 0) {
        if (!IsOpen() || !transThread_) return false;
        int32_t queued;
        {
            std::lock_guard lock(counterLock_);
            queued = queuedBlocks_;
        }
        if (queued >= kMaxQueuedBlocks) {
            ui_.ProcessMessages();
            SleepMs(1);
            continue;
        }
        const int32_t n = std::min(remaining, bufLenTrans_);
        ThreadMessage message;
        message.message = kThreadMsgBlock;
        message.wParam = static_cast<uint32_t>(n);
        message.block.reset(new (std::nothrow) uint8_t[n]);
        if (message.block) {
            std::memcpy(message.block.get(), position, static_cast<size_t>(n));
            {
                std::lock_guard lock(counterLock_);
                pendingBytes_ += n;
                queuedBlocks_ += 1;
            }
            // A block the thread cannot take is not counted, or PurgeTransmit would wait
            // for it for ever.
            if (!transThread_->PostMessage(std::move(message))) {
                BlockFinished(static_cast<uint32_t>(n));
                allQueued = false;
            }
        } else {
            allQueued = false;
        }
        position += n;
        remaining -= n;
    }
    return allQueued;
}

bool TCustomCommX::SendString(const std::string& text) {
    if (text.empty()) return true;
    return Write(text.data(), static_cast<int32_t>(text.size()));
}

int32_t TCustomCommX::Read(void* buffer, int32_t size) {
    if (!IsOpen() || !receiveThread_ || buffer == nullptr) return -1;
    if (size <= 0) return 0;
    auto* bytes = static_cast<uint8_t*>(buffer);
    // The read ends with `size` bytes, or after TimeOutReceive with what has come.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(timeOutReceive_);
    int32_t count = 0;
    for (;;) {
        const int32_t got = port_->Read(bytes + count, size - count);
        if (got < 0) {
            ReportLineErrors();
            return -1;
        }
        count += got;
        if (count >= size || std::chrono::steady_clock::now() >= deadline) return count;
        ui_.ProcessMessages();
        if (!IsOpen() || !receiveThread_) return -1;
        port_->WaitInput(1);
        if (!IsOpen() || !receiveThread_) return -1;
    }
}

void TCustomCommX::PurgeTransmit() {
    if (!IsOpen()) return;
    if (!transThread_) {
        port_->PurgeTransmit();
        return;
    }
    transThread_->SetStop(true);
    for (;;) {
        {
            std::lock_guard lock(transLock_);
            port_->PurgeTransmit();
        }
        SleepMs(1);
        // The transmit thread may be waiting for this thread to take a notification, or
        // for the handler that called this purge.
        ReleaseWorkers();
        if (!IsOpen() || !transThread_) return;  // a handler run meanwhile closed the port
        std::lock_guard lock(counterLock_);
        if (pendingBytes_ == 0) break;
    }
    transThread_->SetStop(false);
}

void TCustomCommX::PurgeReceive() {
    if (IsOpen()) port_->PurgeReceive();
}

int32_t TCustomCommX::ReceivedCount() {
    if (!IsOpen()) return 0;
    int32_t inQueue = 0;
    port_->ClearError(&inQueue);
    return inQueue;
}

void TCustomCommX::SetRts(bool raise) {
    if (IsOpen()) port_->SetLine(ModemLine::Rts, raise);
}

void TCustomCommX::SetDtr(bool raise) {
    if (IsOpen()) port_->SetLine(ModemLine::Dtr, raise);
}

int32_t TCustomCommX::PendingByteCount() {
    std::lock_guard lock(counterLock_);
    return pendingBytes_;
}

int32_t TCustomCommX::QueuedBlockCount() {
    std::lock_guard lock(counterLock_);
    return queuedBlocks_;
}

void TCustomCommX::BlockFinished(uint32_t size) {
    std::lock_guard lock(counterLock_);
    const int64_t left = static_cast<int64_t>(pendingBytes_) - size;
    pendingBytes_ = left > 0 ? static_cast<int32_t>(left) : 0;
    if (queuedBlocks_ > 0) queuedBlocks_ -= 1;
}

// ---- properties

void TCustomCommX::SetPortNo(int32_t value) {
    portNo_ = value;
    if (IsOpen()) {
        Close();
        Open();
    }
}

void TCustomCommX::SetBitRate(int32_t value) {
    // Below 10 bit/s a character would last for ever (and the hold time divides by 0).
    if (value < 10) throw ECommError(kErrBitRateValue);
    bitRate_ = value;
    if (!IsOpen()) return;
    ApplyBitRate();
    if (transThread_) transThread_->SetHoldTime(CommHoldTime(bitRate_));
}

void TCustomCommX::SetCharSize(int32_t value) {
    charSize_ = value;
    if (IsOpen()) ApplyCharSize();
}

void TCustomCommX::SetParityBit(TCommParityBits value) {
    parityBit_ = value;
    if (IsOpen()) ApplyParityBit();
}

void TCustomCommX::SetStopBit(TCommStopBits value) {
    stopBit_ = value;
    if (IsOpen()) ApplyStopBit();
}

void TCustomCommX::SetFlowCtrl(TCommFlowCtrls value) {
    flowCtrl_.store(value, std::memory_order_relaxed);
    if (IsOpen()) ApplyFlowCtrl();
}

void TCustomCommX::SetTimeOutTrans(int32_t value) {
    timeOutTrans_ = value;
    if (IsOpen()) ApplyTimeOuts();
}

void TCustomCommX::SetTimeOutReceive(int32_t value) {
    timeOutReceive_ = value;
    if (IsOpen()) ApplyTimeOuts();
}

void TCustomCommX::SetXonChar(char value) {
    xonChar_ = value;
    if (IsOpen()) ApplyXonChar();
}

void TCustomCommX::SetXoffChar(char value) {
    xoffChar_ = value;
    if (IsOpen()) ApplyXoffChar();
}

void TCustomCommX::SetBufLenTrans(int32_t value) {
    // Write cuts its bytes into blocks of this size: 0 would never get anywhere.
    if (value < 1) throw ECommError(kErrBufLenTransValue);
    bufLenTrans_ = value;
    if (IsOpen()) ApplyBufferSizes();
}

void TCustomCommX::SetBufLenReceive(int32_t value) {
    bufLenReceive_ = value;
    if (!IsOpen()) return;
    ApplyBufferSizes();
    ApplyFlowCtrl();  // its Xon and Xoff limits follow this size
}

// ---- applying settings to the open port

void TCustomCommX::SetState(const char* failureText) {
    if (!port_->SetState(dcb_)) throw ECommError(failureText);
}

void TCustomCommX::ApplyBufferSizes() {
    if (IsOpen() && !port_->SetupQueues(bufLenReceive_, bufLenTrans_)) {
        throw ECommError(kErrBuffers);
    }
}

void TCustomCommX::ApplyTimeOuts() {
    if (IsOpen() && !port_->SetTimeouts(static_cast<uint32_t>(timeOutReceive_),
                                        static_cast<uint32_t>(timeOutTrans_))) {
        throw ECommError(kErrTimeOut);
    }
}

void TCustomCommX::ApplyBitRate() {
    dcb_.BaudRate = static_cast<uint32_t>(bitRate_);
    SetState(kErrBitRate);
}

void TCustomCommX::ApplyCharSize() {
    dcb_.ByteSize = static_cast<uint8_t>(charSize_);
    SetState(kErrCharSize);
}

void TCustomCommX::ApplyParityBit() {
    if (parityBit_ > cpbEven) return;  // not a parity of ours: stored only
    dcb_.Parity = parityBit_;
    SetState(kErrParity);
}

void TCustomCommX::ApplyStopBit() {
    if (stopBit_ > csb2) return;  // not a stop bit setting of ours: stored only
    dcb_.StopBits = stopBit_;
    SetState(kErrStopBit);
}

void TCustomCommX::ApplyFlowCtrl() {
    // The whole flags word is replaced: every bit not named here is off.
    uint32_t flags = kFlagBinary | kFlagParity;
    switch (FlowCtrl()) {
        case cfcRtsCts:
            flags |= kFlagOutxCtsFlow | kFlagDtrEnable | kFlagRtsHandshake;
            break;
        case cfcDtrDsr:
            flags |= kFlagOutxDsrFlow | kFlagDtrHandshake | kFlagRtsEnable;
            break;
        case cfcXonXoff:
            flags |= kFlagOutX | kFlagInX | kFlagDtrEnable | kFlagRtsEnable;
            break;
        case cfcHalfHigh:
            flags |= kFlagDtrEnable;  // RTS rests low; the transmit thread raises it
            break;
        case cfcHalfLow:
        case cfcNone:
        default:
            flags |= kFlagDtrEnable | kFlagRtsEnable;
            break;
    }
    dcb_.Flags = flags;
    dcb_.XonLim = static_cast<uint16_t>(bufLenReceive_ / 4);
    dcb_.XoffLim = static_cast<uint16_t>(bufLenReceive_ / 4);
    SetState(kErrFlowCtrl);
}

void TCustomCommX::ApplyXonChar() {
    dcb_.XonChar = xonChar_;
    SetState(kErrXonChar);
}

void TCustomCommX::ApplyXoffChar() {
    dcb_.XoffChar = xoffChar_;
    SetState(kErrXoffChar);
}

// ---- notifications

void TCustomCommX::ReportLineErrors() {
    const uint32_t bits = port_->ClearError(nullptr) & kLineErrorMask;
    if (bits != 0) WindowProc(kMsgLineErrors, static_cast<int32_t>(bits));
}

void TCustomCommX::NotifyLineErrors(ISerialPort& port, const TCommThread& from) {
    const uint32_t bits = port.ClearError(nullptr) & kLineErrorMask;
    if (bits != 0) Notify(kMsgLineErrors, static_cast<int32_t>(bits), from);
}

void TCustomCommX::Notify(uint32_t message, int32_t lParam, const TCommThread& from) {
    // No opening begins while a thread of this one runs, so the count is stable here.
    const uint32_t opening = opening_;
    ui_.Send(
        [this, opening, message, lParam] {
            // Notifications that arrive while the port closes, or after, do nothing.
            if (opening == opening_) WindowProc(message, lParam);
        },
        [&from] { return from.Stopping(); });
}

void TCustomCommX::WindowProc(uint32_t message, int32_t lParam) {
    // Notifications that arrive while the port closes, or after, do nothing.
    if (!IsOpen() || closing_) return;
    switch (message) {
        case kMsgReceived:
            if (onReceive_) {
                const int32_t n = ReceivedCount();
                if (n != 0) onReceive_(this, n);
            }
            break;
        case kMsgBreak:
            if (onBreak_) onBreak_(this);
            break;
        case kMsgLineErrors:
            if (onError_) onError_(this, lParam);
            break;
        default:
            break;
    }
}

}  // namespace mxc9
