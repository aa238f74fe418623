// A port that answers each request with the next scripted reply, for the reading and
// retry rules of the device link. Unlike a line it never waits: a read with nothing left
// is the receive time-out (0), and a read on a closed port is -1.
#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "device/DeviceLink.h"

namespace mxc9::testing {

class ScriptedPort : public IDevicePort {
  public:
    std::deque<std::string> replies;  // one per request sent; none left: silence
    std::vector<std::string> sent;
    std::vector<std::string> calls;  // "settings", "open", "close", "dtr1", "dtr0", "purge"
    std::vector<LineSettings> appliedSettings;
    bool failOpen = false;
    bool failDtr = false;
    bool isOpen = false;
    std::string input;  // bytes waiting to be read

    void applySettings(const LineSettings& settings) override {
        calls.push_back("settings");
        appliedSettings.push_back(settings);
    }
    void open() override {
        calls.push_back("open");
        if (failOpen) throw std::runtime_error("ポートをオープンできませんでした");
        isOpen = true;
    }
    void close() override {
        calls.push_back("close");
        isOpen = false;
    }
    void setDtr(bool raise) override {
        calls.push_back(raise ? "dtr1" : "dtr0");
        if (failDtr) throw std::runtime_error("line refused");
    }
    void purgeReceive() override {
        calls.push_back("purge");
        input.clear();
    }
    bool sendString(const std::string& bytes) override {
        if (!isOpen) return false;
        sent.push_back(bytes);
        if (!replies.empty()) {
            input += replies.front();
            replies.pop_front();
        }
        return true;
    }
    int readByte(uint8_t& byte) override {
        if (!isOpen) return -1;
        if (input.empty()) return 0;
        byte = static_cast<uint8_t>(input.front());
        input.erase(0, 1);
        return 1;
    }
};

// A read reply carrying `data` (42 bytes) after `first`, with a good checksum.
inline std::string ReadReply(const std::string& data, char first = '\xC5') {
    std::string reply = data;
    AppendChecksum(reply);
    return first + reply;
}

// The 45-byte reply to a write frame: the frame echoed, then `last`.
inline std::string WriteReply(const std::string& frame, char last = '\x06') {
    return frame + last;
}

// A controller that answers every read with the same image and acknowledges every write
// frame; `meanwhile` runs once, as the user's events run while the link waits: at the
// first byte the link waits for after `meanwhileAfter` requests (1: the reply to the
// read command, 2: the reply to Write's frame).
class AnsweringPort : public ScriptedPort {
  public:
    std::function<void()> meanwhile;
    size_t meanwhileAfter = 1;
    bool sendString(const std::string& bytes) override {
        if (!ScriptedPort::sendString(bytes)) return false;
        input += bytes[0] == '\xC5' ? ReadReply(std::string(42, '\x01')) : bytes + '\x06';
        return true;
    }
    int readByte(uint8_t& byte) override {
        if (meanwhile && sent.size() >= meanwhileAfter) std::exchange(meanwhile, {})();
        return ScriptedPort::readByte(byte);
    }
};

}  // namespace mxc9::testing
