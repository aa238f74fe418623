// A guard for tests of waits that must end: a deadlock fails the test at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace mxc9::test {

// Ends the test program when a step hangs, instead of holding the run until its time-out.
class Watchdog {
  public:
    Watchdog(std::chrono::seconds limit, std::string what)
        : thread_([this, limit, what = std::move(what)] {
              std::unique_lock lock(mutex_);
              if (!ended_.wait_for(lock, limit, [&] { return done_; })) {
                  std::fprintf(stderr, "hung: %s\n", what.c_str());
                  std::_Exit(1);
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        ended_.notify_all();
        thread_.join();
    }

  private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace mxc9::test
