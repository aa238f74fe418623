#include "tools/simulator/ControllerSimulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace mxc9::sim {

namespace {

using Clock = std::chrono::steady_clock;

// A write frame that stalls this long between two bytes is dropped.
constexpr auto kFrameGap = std::chrono::milliseconds(500);

int DefaultParam(Fault kind, int answerLength) {
    switch (kind) {
        case Fault::Short:
            return answerLength / 2;
        case Fault::Extra:
            return 3;
        case Fault::Delay:
            return 2000;
        case Fault::Noise:
            return 5;
        case Fault::Keep:
            return -1;  // every byte
        default:
            return 0;
    }
}

bool Applies(const FaultPlan& plan, bool isWrite) {
    if ((plan.kind == Fault::Refuse || plan.kind == Fault::Keep) && !isWrite) return false;
    if (plan.kind == Fault::BadChecksum && isWrite) return false;
    return plan.target == FaultTarget::Any || (plan.target == FaultTarget::Write) == isWrite;
}

speed_t SpeedOf(int bitRate) {
    switch (bitRate) {
        case 300:
            return B300;
        case 600:
            return B600;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        default:
            return B1200;
    }
}

void MakeRaw(int fd, int bitRate) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return;  // not a terminal: nothing to set
    cfmakeraw(&tio);
    cfsetispeed(&tio, SpeedOf(bitRate));
    cfsetospeed(&tio, SpeedOf(bitRate));
    tio.c_cflag |= CLOCAL | CREAD;
    tcsetattr(fd, TCSANOW, &tio);
}

std::string Hex(uint8_t byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

// The names of the faults on the command line and in the log.
constexpr std::pair<const char*, Fault> kFaultNames[] = {
    {"none", Fault::None},          {"silent", Fault::Silent}, {"short", Fault::Short},
    {"badsum", Fault::BadChecksum}, {"refuse", Fault::Refuse}, {"extra", Fault::Extra},
    {"delay", Fault::Delay},        {"noise", Fault::Noise},   {"keep", Fault::Keep}};

}  // namespace

std::optional<FaultPlan> ParseFault(const std::string& text) {
    const auto colon = text.find(':');
    const std::string name = text.substr(0, colon);
    FaultPlan plan;
    bool known = false;
    for (const auto& [word, kind] : kFaultNames) {
        if (name == word) {
            plan.kind = kind;
            known = true;
        }
    }
    if (!known) return std::nullopt;
    if (colon != std::string::npos) {
        char* end = nullptr;
        const std::string number = text.substr(colon + 1);
        const long value = std::strtol(number.c_str(), &end, 10);
        if (number.empty() || *end != '\0' || value < 0 || value > 600000) return std::nullopt;
        plan.param = static_cast<int>(value);
    }
    return plan;
}

const char* FaultName(Fault kind) {
    for (const auto& [word, named] : kFaultNames) {
        if (named == kind) return word;
    }
    return "?";
}

DeviceImage PlausibleImage() {
    // Neutral brake 10 (code 25), brake frequency 2.00 kHz, cut-off 3.0 V, response OFF,
    // current limit OFF, and a drive map rising from low to high frequencies.
    DeviceImage image{0x3C, 25, 31, 0x12, 0x34, 0x56, 0x78, 120, 30, 100};
    for (int i = 0; i < 32; ++i) image[static_cast<size_t>(kParameterValues + i)] = 20 + i;
    return image;
}

std::string DecimalList(const std::string& bytes) {
    std::string text;
    for (char c : bytes) {
        if (!text.empty()) text += ' ';
        text += std::to_string(static_cast<uint8_t>(c));
    }
    return text;
}

std::optional<ControllerProtocol::Answer> ControllerProtocol::feed(uint8_t byte) {
    if (frame_.empty()) {
        if (byte == kReadCommand) {
            ++readCommands_;
            say("<- read command C5");
            std::string data = ImageDataBytes(image_);
            AppendChecksum(data);
            return answer(std::string(1, static_cast<char>(kReadCommand)) + data, false);
        }
        if (byte != kWriteCommand) {
            say("<- stray byte " + Hex(byte) + " ignored");
            return std::nullopt;
        }
    }
    frame_.push_back(static_cast<char>(byte));
    if (static_cast<int>(frame_.size()) < kWriteFrameLength) return std::nullopt;

    std::string frame;
    frame.swap(frame_);
    ++writeFrames_;
    const std::string data = frame.substr(1, kImageValues);
    const auto received = static_cast<uint8_t>(frame[kWriteFrameLength - 1]);
    const bool good = Checksum(data) == received;
    say("<- write frame D5 | parameters " + DecimalList(data.substr(0, kParameterValues)) +
        " | codes " + DecimalList(data.substr(kParameterValues)) + " | checksum " + Hex(received) +
        (good ? " good" : " BAD, expected " + Hex(Checksum(data))));
    std::string reply = frame;
    reply.push_back(static_cast<char>(good ? kAcknowledge : kRefusal));
    keptByte_ = kKeepNone;
    auto result = answer(std::move(reply), true);
    // The image is taken only when the acknowledgement actually goes out.
    if (good && result && static_cast<int>(result->bytes.size()) >= kWriteReplyLength &&
        static_cast<uint8_t>(result->bytes[kWriteReplyLength - 1]) == kAcknowledge) {
        for (int i = 0; i < kImageValues; ++i) {
            if (keptByte_ == kKeepAll || keptByte_ == i) continue;
            image_[i] = static_cast<uint8_t>(data[i]);
        }
    }
    return result;
}

void ControllerProtocol::dropPartialFrame() {
    if (frame_.empty()) return;
    say("<- write frame cut short after " + std::to_string(frame_.size()) + " bytes, dropped");
    frame_.clear();
}

std::optional<ControllerProtocol::Answer> ControllerProtocol::answer(std::string bytes,
                                                                     bool isWrite) {
    Answer result;
    std::string note;
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->kind == Fault::None || !Applies(*it, isWrite)) continue;
        const FaultPlan plan = *it;
        if (it->times > 0 && --it->times == 0) faults_.erase(it);
        const int param =
            plan.param >= 0 ? plan.param : DefaultParam(plan.kind, static_cast<int>(bytes.size()));
        note = std::string(" (fault: ") + FaultName(plan.kind) + ")";
        switch (plan.kind) {
            case Fault::Silent:
                say("-> no answer (fault: silent)");
                return std::nullopt;
            case Fault::Short:
                bytes.resize(std::min(bytes.size(), static_cast<size_t>(param)));
                break;
            case Fault::BadChecksum:
                bytes.back() = static_cast<char>(static_cast<uint8_t>(bytes.back()) + 1);
                break;
            case Fault::Refuse:
                bytes.back() = static_cast<char>(kRefusal);
                break;
            case Fault::Extra:
                bytes.append(static_cast<size_t>(param), static_cast<char>(0xEE));
                break;
            case Fault::Delay:
                result.delayMs = param;
                break;
            case Fault::Noise:
                for (int i = 0; i < param; ++i) {
                    bytes.insert(bytes.begin(), static_cast<char>(0xA5 ^ (i * 0x3B)));
                }
                break;
            case Fault::Keep:
                keptByte_ = param >= kImageValues ? kKeepNone : param;
                break;
            case Fault::None:
                break;
        }
        break;
    }
    say("-> " + std::to_string(bytes.size()) + " bytes" +
        (bytes.empty() ? std::string() : ", last " + Hex(static_cast<uint8_t>(bytes.back()))) +
        note);
    result.bytes = std::move(bytes);
    return result;
}

std::unique_ptr<LineController> LineController::OnPseudoTerminal(int bitRate) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        if (master >= 0) close(master);
        throw std::runtime_error(std::string("no pseudo-terminal: ") + std::strerror(errno));
    }
    const std::string path = ptsname(master);
    const int slave = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        close(master);
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    }
    // Raw at once: a slave left in canonical mode would echo our answers back to us.
    MakeRaw(slave, bitRate);
    return std::unique_ptr<LineController>(new LineController(master, slave, path, bitRate));
}

std::unique_ptr<LineController> LineController::OnDevice(const std::string& path, int bitRate) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    MakeRaw(fd, bitRate);
    // A real line paces itself.
    return std::unique_ptr<LineController>(new LineController(fd, -1, path, 0));
}

LineController::LineController(int fd, int keepOpenFd, std::string path, int bitRate)
    : fd_(fd), keepOpenFd_(keepOpenFd), wakeFd_(eventfd(0, EFD_CLOEXEC)), path_(std::move(path)) {
    setBitRate(bitRate);
}

LineController::~LineController() {
    stop();
    if (wakeFd_ >= 0) close(wakeFd_);
}

void LineController::setBitRate(int bitRate) {
    byteNanos_ = bitRate > 0 ? int64_t{10} * 1000000000 / bitRate : 0;
}

void LineController::start() {
    if (thread_.joinable() || fd_ < 0) return;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void LineController::stop() {
    stopping_ = true;
    if (thread_.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] auto written = write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    if (keepOpenFd_ >= 0) close(keepOpenFd_);
    if (fd_ >= 0) close(fd_);
    keepOpenFd_ = fd_ = -1;
}

void LineController::addFault(const FaultPlan& plan) {
    std::lock_guard lock(mutex_);
    protocol_.addFault(plan);
}
void LineController::clearFaults() {
    std::lock_guard lock(mutex_);
    protocol_.clearFaults();
}
DeviceImage LineController::image() const {
    std::lock_guard lock(mutex_);
    return protocol_.image();
}
void LineController::setImage(const DeviceImage& image) {
    std::lock_guard lock(mutex_);
    protocol_.setImage(image);
}
int LineController::readCommands() const {
    std::lock_guard lock(mutex_);
    return protocol_.readCommands();
}
int LineController::writeFrames() const {
    std::lock_guard lock(mutex_);
    return protocol_.writeFrames();
}
void LineController::setLog(std::function<void(const std::string&)> log) {
    std::lock_guard lock(mutex_);
    protocol_.log = std::move(log);
}

bool LineController::sleepUntil(Clock::time_point when) {
    while (!stopping_) {
        const auto now = Clock::now();
        if (now >= when) return true;
        // Short slices so that stop() is honoured within a few milliseconds.
        const auto slice = std::min<Clock::duration>(when - now, std::chrono::milliseconds(20));
        const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(slice).count();
        timespec pause{static_cast<time_t>(nanos / 1000000000),
                       static_cast<long>(nanos % 1000000000)};
        nanosleep(&pause, nullptr);
    }
    return false;
}

void LineController::send(const ControllerProtocol::Answer& answer, Clock::time_point requestStart,
                          Clock::time_point requestEnd) {
    // A delayed answer waits from the end of the request; any other begins with the
    // request's own bytes, each going back as it arrives.
    auto start =
        answer.delayMs > 0 ? requestEnd + std::chrono::milliseconds(answer.delayMs) : requestStart;
    if (!sleepUntil(start)) return;
    const std::chrono::nanoseconds byteTime(byteNanos_.load());
    if (byteTime.count() == 0) {
        size_t done = 0;
        while (done < answer.bytes.size()) {
            const ssize_t n = write(fd_, answer.bytes.data() + done, answer.bytes.size() - done);
            if (n <= 0) return;
            done += static_cast<size_t>(n);
        }
        return;
    }
    // Each byte becomes readable once its 10 bits would have crossed the line.
    for (size_t i = 0; i < answer.bytes.size(); ++i) {
        if (!sleepUntil(start + byteTime * static_cast<int64_t>(i + 1))) return;
        if (write(fd_, &answer.bytes[i], 1) != 1) return;
    }
}

void LineController::run() {
    Clock::time_point lastArrival{};
    Clock::time_point requestStart{};  // when the first byte of the request began to arrive
    while (!stopping_) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (poll(fds, 2, 200) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (stopping_) return;
        if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        uint8_t buffer[256];
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) {
            // The other side is gone for now (a pty master reads EIO with no slave open).
            sleepUntil(Clock::now() + std::chrono::milliseconds(20));
            continue;
        }
        const auto now = Clock::now();
        const std::chrono::nanoseconds byteTime(byteNanos_.load());
        for (ssize_t i = 0; i < n; ++i) {
            const auto arrival = std::max(now, lastArrival) + byteTime;
            std::optional<ControllerProtocol::Answer> answer;
            {
                std::lock_guard lock(mutex_);
                if (protocol_.midFrame() && arrival - lastArrival > kFrameGap) {
                    protocol_.dropPartialFrame();
                }
                if (!protocol_.midFrame()) requestStart = arrival - byteTime;
                answer = protocol_.feed(buffer[i]);
            }
            lastArrival = arrival;
            if (answer) {
                send(*answer, requestStart, arrival);
                lastArrival = std::max(lastArrival, Clock::now());
            }
        }
    }
}

}  // namespace mxc9::sim
