// A scripted port in place of the Linux layer: it records what the component and its
// threads do to the line (with times) and answers as a test tells it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/UiThread.h"
#include "serial/PortApi.h"

namespace mxc9::test {

using Clock = std::chrono::steady_clock;

struct LineChange {
    ModemLine line;
    bool raised;
    Clock::time_point at;
};

struct WriteRecord {
    std::string bytes;
    Clock::time_point started;
    Clock::time_point finished;
};

// Shared between the test and the port the component owns.
struct FakeLine {
    std::mutex mutex;
    std::condition_variable changed;

    // Script.
    int refuseSetStateCall = 0;  // 1-based SetState call to refuse; 0 none
    bool refuseQueues = false;
    bool refuseTimeouts = false;
    bool writesHeld = false;  // FinishWrite waits while set (or until a purge)
    WriteResult writeResult = WriteResult::Completed;
    uint32_t lineErrors = 0;  // returned (once) by the next ClearError
    int32_t inQueue = 0;
    bool readFails = false;
    std::deque<uint32_t> portEvents;  // masks for WaitEvent

    // Record.
    std::vector<PortState> states;
    std::vector<LineChange> lines;
    std::vector<WriteRecord> writes;
    int writesStarted = 0;
    int transmitPurges = 0;
    int receivePurges = 0;
    bool woken = false;
    bool destroyed = false;
    uint64_t purgeCount = 0;

    void Set(auto change) {
        {
            std::lock_guard lock(mutex);
            change(*this);
        }
        changed.notify_all();
    }
    template <typename T>
    T Get(auto read) {
        std::lock_guard lock(mutex);
        return read(*this);
    }
};

class FakePort : public ISerialPort {
  public:
    explicit FakePort(std::shared_ptr<FakeLine> line) : line_(std::move(line)) {}
    ~FakePort() override {
        line_->Set([](FakeLine& l) { l.destroyed = true; });
    }

    uint32_t Handle() const override { return 42; }
    bool SetupQueues(int32_t, int32_t) override { return !Locked()->refuseQueues; }
    void PurgeTransmit() override {
        line_->Set([](FakeLine& l) {
            ++l.transmitPurges;
            ++l.purgeCount;
        });
    }
    void PurgeReceive() override {
        line_->Set([](FakeLine& l) { ++l.receivePurges; });
    }
    PortState GetState() override { return PortState{}; }
    bool SetState(const PortState& state) override {
        std::lock_guard lock(line_->mutex);
        line_->states.push_back(state);
        return static_cast<int>(line_->states.size()) != line_->refuseSetStateCall;
    }
    bool SetTimeouts(uint32_t, uint32_t) override { return !Locked()->refuseTimeouts; }
    bool SetLine(ModemLine which, bool raise) override {
        line_->Set([&](FakeLine& l) { l.lines.push_back({which, raise, Clock::now()}); });
        return true;
    }
    uint32_t ClearError(int32_t* inQueue) override {
        std::lock_guard lock(line_->mutex);
        const uint32_t errors = line_->lineErrors;
        line_->lineErrors = 0;
        if (inQueue) *inQueue = line_->inQueue;
        return errors;
    }
    int32_t Read(void*, int32_t) override { return Locked()->readFails ? -1 : 0; }
    void WaitInput(int32_t ms) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
    WriteResult StartWrite(const uint8_t* data, uint32_t size, uint32_t& written) override {
        std::lock_guard lock(line_->mutex);
        ++line_->writesStarted;
        current_ = {std::string(reinterpret_cast<const char*>(data), size), Clock::now(), {}};
        purgeAtStart_ = line_->purgeCount;
        written = 0;
        return WriteResult::Pending;
    }
    WriteResult FinishWrite(uint32_t& written) override {
        std::unique_lock lock(line_->mutex);
        line_->changed.wait(
            lock, [&] { return !line_->writesHeld || line_->purgeCount != purgeAtStart_; });
        written = 0;
        if (line_->purgeCount != purgeAtStart_) return WriteResult::Aborted;
        current_.finished = Clock::now();
        line_->writes.push_back(current_);
        written = static_cast<uint32_t>(current_.bytes.size());
        return line_->writeResult;
    }
    PortWait WaitEvent(uint32_t& mask) override {
        std::unique_lock lock(line_->mutex);
        line_->changed.wait(lock, [&] { return line_->woken || !line_->portEvents.empty(); });
        if (line_->woken) {
            line_->woken = false;
            return PortWait::Woken;
        }
        mask = line_->portEvents.front();
        line_->portEvents.pop_front();
        return PortWait::Events;
    }
    void WaitWake() override {
        std::unique_lock lock(line_->mutex);
        line_->changed.wait(lock, [&] { return line_->woken; });
        line_->woken = false;
    }
    void Wake() override {
        line_->Set([](FakeLine& l) { l.woken = true; });
    }

  private:
    struct LockedLine {
        std::unique_lock<std::mutex> lock;
        FakeLine* line;
        FakeLine* operator->() { return line; }
    };
    LockedLine Locked() { return {std::unique_lock(line_->mutex), line_.get()}; }

    std::shared_ptr<FakeLine> line_;
    WriteRecord current_;
    uint64_t purgeAtStart_ = 0;
};

// A UI thread that counts the notifications the workers have begun to wait for.
template <typename Base>
class CountingUi : public Base {
  public:
    // True once `count` workers have sent (within 5 s).
    bool WaitForSenders(int count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return senders_ >= count; });
    }

  protected:
    void Wake() override {
        Base::Wake();
        {
            std::lock_guard lock(mutex_);
            ++senders_;
        }
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int senders_ = 0;
};

// An opener that hands out FakePorts on `line` and remembers the paths asked for.
inline PortOpener FakeOpener(std::shared_ptr<FakeLine> line,
                             std::vector<std::string>* paths = nullptr) {
    return [line, paths](const std::string& path) -> std::unique_ptr<ISerialPort> {
        if (paths) paths->push_back(path);
        return std::make_unique<FakePort>(line);
    };
}

}  // namespace mxc9::test
