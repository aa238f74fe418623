// The two worker threads of an open TCommX: the transmit thread writes the blocks that
// Write queues, one after the other, and switches RTS around each burst in the
// half-duplex modes; the receive thread turns port events into the component's events.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace mxc9 {

class TCustomCommX;
class ISerialPort;

// Thread messages of the transmit thread.
inline constexpr uint32_t kThreadMsgBlock = 1280;  // wParam bytes in block
inline constexpr uint32_t kThreadMsgWake = 1281;   // see the termination request

struct ThreadMessage {
    bool hasWindow = false;  // a window message: never ours, discarded
    uint32_t message = 0;
    uint32_t wParam = 0;
    std::unique_ptr<uint8_t[]> block;
};

// The transmit thread's message queue. Post fails once the queue is shut (its thread
// has ended), so no block is left behind unreleased.
class ThreadMessageQueue {
  public:
    bool Post(ThreadMessage message);
    // Sleeps until a message is waiting.
    void Wait();
    bool Peek(ThreadMessage& message);
    void Shut();

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<ThreadMessage> messages_;
    bool shut_ = false;
};

// A worker's start, termination request and end.
class TCommThread {
  public:
    virtual ~TCommThread();
    void Resume();
    void Terminate() { terminated_.store(true); }
    bool Terminated() const { return terminated_.load(); }
    bool Finished() const { return finished_.load(); }
    // True once the thread no longer needs to wait for the UI thread to take its
    // notification: a Close (or a purge) that the notification's own handler runs waits
    // for this thread, so the thread must not wait for that handler.
    virtual bool Stopping() const { return Terminated(); }
    void Join();

  protected:
    virtual void Execute() = 0;

  private:
    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
};

class TCommTransThread : public TCommThread {
  public:
    TCommTransThread(TCustomCommX& owner, ISerialPort& port);
    ~TCommTransThread() override;

    bool PostMessage(ThreadMessage message) { return queue_.Post(std::move(message)); }
    void SetStop(bool stop) { stop_.store(stop); }
    void SetHoldTime(int32_t ms) { holdTime_.store(ms); }
    int32_t HoldTime() const { return holdTime_.load(); }

    bool Stopping() const override { return stop_.load() || Terminated(); }

  protected:
    void Execute() override;

  private:
    void WriteBlock(const uint8_t* data, uint32_t size);
    void BeginBurst();
    void EndBurst();

    TCustomCommX& owner_;
    ISerialPort& port_;
    std::atomic<bool> stop_{false};
    std::atomic<int32_t> holdTime_{0};
    ThreadMessageQueue queue_;
};

class TCommReceiveThread : public TCommThread {
  public:
    TCommReceiveThread(TCustomCommX& owner, ISerialPort& port);
    ~TCommReceiveThread() override;
    // Sets the wake-up event.
    void Wake();

  protected:
    void Execute() override;

  private:
    TCustomCommX& owner_;
    ISerialPort& port_;
};

}  // namespace mxc9
