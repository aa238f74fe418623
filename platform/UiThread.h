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

// Calls that other threads wait for, in the order sent. The waits use the standard
// library's own locks, so a race checker sees every hand-over between the threads.
class SendQueue {
  public:
    struct Item {
        std::function<void()> call;
        std::function<bool()> released;
        bool done = false;
    };

    std::shared_ptr<Item> Add(std::function<void()> call, std::function<bool()> released) {
        auto item = std::make_shared<Item>();
        item->call = std::move(call);
        item->released = std::move(released);
        std::lock_guard lock(mutex_);
        queue_.push_back(item);
        return item;
    }

    void Wait(const std::shared_ptr<Item>& item) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return item->done || (item->released && item->released()); });
    }

    void Deliver() {
        for (;;) {
            std::shared_ptr<Item> item;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty()) return;
                item = queue_.front();
                queue_.pop_front();
            }
            // Run outside the lock: the call may pump again, Send from this thread, or
            // release its own sender. The item owns the call, so a sender that has been
            // released may be gone by the time it ends.
            item->call();
            {
                std::lock_guard lock(mutex_);
                item->done = true;
            }
            changed_.notify_all();
        }
    }

    void Release() {
        // Taken so that a sender between asking `released` and sleeping hears this.
        { std::lock_guard lock(mutex_); }
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Item>> queue_;
};

class IUiThread {
  public:
    virtual ~IUiThread() = default;

    // From any thread: runs `call` on the UI thread and returns when it has run. Called
    // on the UI thread itself, it runs the call directly. A sender may stop waiting
    // earlier: `released` is asked when it starts to wait and again at each
    // ReleaseSenders, and once it holds Send returns; the call still runs (or goes on
    // running) on the UI thread without it.
    void Send(std::function<void()> call, std::function<bool()> released = {}) {
        if (OnUiThread()) {
            call();
            return;
        }
        auto item = sends_.Add(std::move(call), std::move(released));
        Wake();
        sends_.Wait(item);
    }
    // On the UI thread: runs the calls that other threads are waiting in Send for, and
    // nothing else of the application. Lets a waiting UI thread release its workers.
    void DeliverSends() { sends_.Deliver(); }
    // On the UI thread: lets every sender whose `released` now holds return, also the
    // sender of a call that is running further up this thread's stack.
    void ReleaseSenders() { sends_.Release(); }
    // On the UI thread: processes every waiting application message, Sends included.
    virtual void ProcessMessages() = 0;

  protected:
    virtual bool OnUiThread() const = 0;
    // From a sending thread: a call is waiting; have the UI thread deliver it when it
    // next processes its messages.
    virtual void Wake() {}

  private:
    SendQueue sends_;
};

// Calls wait in a queue until the UI thread (the thread that created this object)
// pumps. Without a window system "every message" is just those calls.
class PumpedUiThread : public IUiThread {
  public:
    PumpedUiThread() : owner_(std::this_thread::get_id()) {}
    void ProcessMessages() override { DeliverSends(); }

  protected:
    bool OnUiThread() const override { return std::this_thread::get_id() == owner_; }

  private:
    std::thread::id owner_;
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
