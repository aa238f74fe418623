// A stand-in for the MXC-9 controller. It speaks what the program relies on:
//  - the read command 0xC5 is answered by that byte, the 42-byte image and its checksum;
//  - a write frame (0xD5, 42 data bytes, checksum) is answered by the 44 bytes received
//    and 0x06 when the checksum is good (0x15 when not, and the image is kept);
// and it can misbehave on request, for tests and demonstrations.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "device/DeviceLink.h"

namespace mxc9::sim {

inline constexpr uint8_t kRefusal = 0x15;  // ASCII NAK

enum class Fault {
    None,
    Silent,       // no answer at all
    Short,        // only the first `param` bytes of the answer (default: half)
    BadChecksum,  // a read answer whose checksum is one too high
    Refuse,       // a write answer ending in 0x15 instead of 0x06; the image is kept
    Extra,        // `param` bytes 0xEE after the answer (default 3)
    Delay,        // waits `param` ms before answering (default 2000)
    Noise,        // `param` stray bytes before the answer (default 5)
    Keep,         // acknowledges a write but keeps data byte `param` as it was (default:
                  // every byte)
};

enum class FaultTarget { Any, Read, Write };

struct FaultPlan {
    Fault kind = Fault::None;
    FaultTarget target = FaultTarget::Any;
    int times = -1;  // answers it spoils; -1 for every answer
    int param = -1;  // -1: the default of the kind
};

// Parses "silent", "short[:N]", "badsum", "refuse", "extra[:N]", "delay[:MS]",
// "noise[:N]", "keep[:K]"; nullopt for anything else.
std::optional<FaultPlan> ParseFault(const std::string& text);
const char* FaultName(Fault kind);

// Settings a controller might plausibly hold; the pass-through values are not zero.
DeviceImage PlausibleImage();

// "a b c": the values in decimal.
std::string DecimalList(const std::string& bytes);

// The controller's protocol, byte by byte, without any I/O.
class ControllerProtocol {
  public:
    struct Answer {
        std::string bytes;
        int delayMs = 0;
    };

    explicit ControllerProtocol(DeviceImage image = PlausibleImage()) : image_(image) {}

    // Takes one received byte; returns the answer when a request is complete.
    std::optional<Answer> feed(uint8_t byte);
    // The line went quiet in the middle of a write frame: forget the partial frame.
    void dropPartialFrame();
    bool midFrame() const { return !frame_.empty(); }

    void addFault(const FaultPlan& plan) { faults_.push_back(plan); }
    void clearFaults() { faults_.clear(); }

    const DeviceImage& image() const { return image_; }
    void setImage(const DeviceImage& image) { image_ = image; }

    int readCommands() const { return readCommands_; }
    int writeFrames() const { return writeFrames_; }

    // Receives one readable line per frame received and per answer sent.
    std::function<void(const std::string&)> log;

  private:
    std::optional<Answer> answer(std::string bytes, bool isWrite);
    void say(const std::string& line) {
        if (log) log(line);
    }

    DeviceImage image_;
    std::string frame_;  // a write frame being received
    std::deque<FaultPlan> faults_;
    int keptByte_ = kKeepNone;  // the Keep fault of the answer being made
    static constexpr int kKeepNone = -2, kKeepAll = -1;
    int readCommands_ = 0;
    int writeFrames_ = 0;
};

// Runs the protocol on a file descriptor in a thread of its own, paced at the line speed
// (10 bits a byte) unless instant: each received byte counts as arrived one byte time
// after the one before it, and each answer byte leaves one byte time after the previous.
// An answer begins with as many bytes as the request had, which go back while the
// request arrives, one as each of its bytes comes in (as an echo on the line does): a
// write frame's answer ends one byte time after the frame, not 45 byte times after it.
class LineController {
  public:
    // A new pseudo-terminal; the program opens slavePath().
    static std::unique_ptr<LineController> OnPseudoTerminal(int bitRate);
    // A serial device, raw at `bitRate`; throws std::runtime_error when it cannot.
    static std::unique_ptr<LineController> OnDevice(const std::string& path, int bitRate);

    ~LineController();
    LineController(const LineController&) = delete;
    LineController& operator=(const LineController&) = delete;

    const std::string& path() const { return path_; }
    // Pacing: 0 for instant answers.
    void setBitRate(int bitRate);
    void start();
    // Stops answering and closes the line; the program then sees a hang-up.
    void stop();

    // Thread-safe access to the protocol.
    void addFault(const FaultPlan& plan);
    void clearFaults();
    DeviceImage image() const;
    void setImage(const DeviceImage& image);
    int readCommands() const;
    int writeFrames() const;
    void setLog(std::function<void(const std::string&)> log);

  private:
    LineController(int fd, int keepOpenFd, std::string path, int bitRate);
    void run();
    bool sleepUntil(std::chrono::steady_clock::time_point when);
    void send(const ControllerProtocol::Answer& answer,
              std::chrono::steady_clock::time_point requestStart,
              std::chrono::steady_clock::time_point requestEnd);

    int fd_;
    int keepOpenFd_;  // the slave side, held so the line stays up between the program's opens
    int wakeFd_;
    std::string path_;
    std::atomic<int64_t> byteNanos_{0};
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    ControllerProtocol protocol_;
    std::thread thread_;
};

}  // namespace mxc9::sim
