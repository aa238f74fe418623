#include "serial/CommThreads.h"

#include <chrono>

#include "serial/CommX.h"

namespace mxc9 {

namespace {

void SleepMs(int32_t ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

bool ThreadMessageQueue::Post(ThreadMessage message) {
    {
        std::lock_guard lock(mutex_);
        if (shut_) return false;
        messages_.push_back(std::move(message));
    }
    arrived_.notify_one();
    return true;
}

void ThreadMessageQueue::Wait() {
    std::unique_lock lock(mutex_);
    arrived_.wait(lock, [&] { return !messages_.empty(); });
}

bool ThreadMessageQueue::Peek(ThreadMessage& message) {
    std::lock_guard lock(mutex_);
    if (messages_.empty()) return false;
    message = std::move(messages_.front());
    messages_.pop_front();
    return true;
}

void ThreadMessageQueue::Shut() {
    std::lock_guard lock(mutex_);
    shut_ = true;
}

TCommThread::~TCommThread() = default;

void TCommThread::Resume() {
    thread_ = std::thread([this] {
        Execute();
        finished_.store(true);
    });
}

void TCommThread::Join() {
    if (thread_.joinable()) thread_.join();
}

TCommTransThread::TCommTransThread(TCustomCommX& owner, ISerialPort& port)
    : owner_(owner), port_(port) {}

TCommTransThread::~TCommTransThread() {
    Join();
}

void TCommTransThread::Execute() {
    while (!Terminated()) {
        bool burst = false;
        queue_.Wait();
        ThreadMessage message;
        while (queue_.Peek(message)) {
            if (message.hasWindow || message.message != kThreadMsgBlock) continue;
            if (!Stopping()) {
                if (!burst) {
                    burst = true;
                    BeginBurst();
                }
                WriteBlock(message.block.get(), message.wParam);
            }
            // Written or not, the block leaves the counters.
            message.block.reset();
            owner_.BlockFinished(message.wParam);
        }
        if (burst) EndBurst();
    }
    // Blocks posted from now on are refused, so the counters cannot keep them.
    queue_.Shut();
    ThreadMessage left;
    while (queue_.Peek(left)) {
        if (!left.hasWindow && left.message == kThreadMsgBlock) owner_.BlockFinished(left.wParam);
    }
}

void TCommTransThread::WriteBlock(const uint8_t* data, uint32_t size) {
    uint32_t remaining = size;
    const uint8_t* position = data;
    while (!Stopping()) {
        uint32_t written = 0;
        WriteResult result;
        {
            // A purge never falls into the start of a write.
            std::lock_guard lock(owner_.transLock_);
            result = port_.StartWrite(position, remaining, written);
        }
        if (result == WriteResult::Completed) return;
        if (result == WriteResult::Pending) result = port_.FinishWrite(written);
        if (result == WriteResult::Completed) return;
        owner_.NotifyLineErrors(port_, *this);
        if (result == WriteResult::Failed || written >= remaining) return;
        // Ended by a purge part way: the rest goes only if nothing stops it.
        position += written;
        remaining -= written;
    }
}

void TCommTransThread::BeginBurst() {
    const TCommFlowCtrls flow = owner_.FlowCtrl();
    if (flow != cfcHalfHigh && flow != cfcHalfLow) return;
    SleepMs(50);
    port_.SetLine(ModemLine::Rts, flow == cfcHalfHigh);
    SleepMs(HoldTime());
}

void TCommTransThread::EndBurst() {
    const TCommFlowCtrls flow = owner_.FlowCtrl();
    if (flow != cfcHalfHigh && flow != cfcHalfLow) return;
    SleepMs(HoldTime());
    port_.SetLine(ModemLine::Rts, flow != cfcHalfHigh);
}

TCommReceiveThread::TCommReceiveThread(TCustomCommX& owner, ISerialPort& port)
    : owner_(owner), port_(port) {}

TCommReceiveThread::~TCommReceiveThread() {
    Join();
}

void TCommReceiveThread::Wake() {
    port_.Wake();
}

void TCommReceiveThread::Execute() {
    while (!Terminated()) {
        uint32_t mask = 0;
        // A port that cannot report events any more leaves only the wake-up to wait for;
        // asking it again would return at once, for ever.
        if (port_.WaitEvent(mask) == PortWait::Failed) port_.WaitWake();
        if (Terminated()) break;
        owner_.NotifyLineErrors(port_, *this);
        if ((mask & EV_BREAK) && !Terminated()) {
            owner_.Notify(kMsgBreak, static_cast<int32_t>(mask), *this);
        }
        if ((mask & EV_RXCHAR) && !Terminated()) owner_.Notify(kMsgReceived, 0, *this);
    }
}

}  // namespace mxc9
