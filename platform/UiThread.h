// The user-interface thread as the serial component sees it. Worker threads hand it
// calls to run and wait for them (the component's events always run on this thread);
// the component's waits in Read and Write keep the application's messages flowing.
//
// Qt programs use QtUiThread (platform/qt); plain programs and tests use PumpedUiThread,
// whose calls run whenever the UI thread pumps.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace mxc9 {

class IUiThread {
  public:
    virtual ~IUiThread() = default;
    // From any thread: runs `call` on the UI thread and returns when it has run. Called
    // on the UI thread itself, it runs the call directly.
    virtual void Send(const std::function<void()>& call) = 0;
    // On the UI thread: runs the calls that other threads are waiting in Send for, and
    // nothing else of the application. Lets a waiting UI thread release its workers.
    virtual void DeliverSends() = 0;
    // On the UI thread: processes every waiting application message, Sends included.
    virtual void ProcessMessages() = 0;
};

// Calls wait in a queue until the UI thread (the thread that created this object)
// pumps. Without a window system "every message" is just those calls.
class PumpedUiThread : public IUiThread {
  public:
    PumpedUiThread() : owner_(std::this_thread::get_id()) {}

    void Send(const std::function<void()>& call) override {
        if (std::this_thread::get_id() == owner_) {
            call();
            return;
        }
        auto item = std::make_shared<Item>();
        item->call = &call;
        std::unique_lock lock(mutex_);
        queue_.push_back(item);
        done_.wait(lock, [&] { return item->done; });
    }

    void DeliverSends() override {
        for (;;) {
            std::shared_ptr<Item> item;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty()) return;
                item = queue_.front();
                queue_.pop_front();
            }
            // Run outside the lock: the call may pump again or Send from this thread.
            (*item->call)();
            {
                std::lock_guard lock(mutex_);
                item->done = true;
            }
            done_.notify_all();
        }
    }

    void ProcessMessages() override { DeliverSends(); }

  private:
    struct Item {
        const std::function<void()>* call = nullptr;
        bool done = false;
    };
    std::thread::id owner_;
    std::mutex mutex_;
    std::condition_variable done_;
    std::deque<std::shared_ptr<Item>> queue_;
};

// The program's UI thread: the one installed (the Qt program installs its QtUiThread),
// otherwise a PumpedUiThread owned by the thread that first asks.
inline IUiThread*& InstalledUiThread() {
    static IUiThread* installed = nullptr;
    return installed;
}
inline void InstallApplicationUiThread(IUiThread* ui) {
    InstalledUiThread() = ui;
}
inline IUiThread& ApplicationUiThread() {
    if (IUiThread* ui = InstalledUiThread()) return *ui;
    static PumpedUiThread fallback;
    return fallback;
}

}  // namespace mxc9
