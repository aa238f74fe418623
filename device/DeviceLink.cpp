#include "device/DeviceLink.h"

#include <stdexcept>

#include "common/MessageTable.h"

namespace mxc9 {

namespace {

const std::string kCompletionSuffix[2] = {" 設定完了", " completion"};
const std::string kPortErrorText[2] = {"指定のポートは使用できません", "COMPORT does not exist"};

int LanguageSlot(int language) {
    return language == 0 ? 0 : 1;
}

}  // namespace

const std::string& CompletionSuffixIn(int language) {
    return kCompletionSuffix[LanguageSlot(language)];
}
const std::string& PortErrorTextIn(int language) {
    return kPortErrorText[LanguageSlot(language)];
}
const std::string& CompletionSuffix() {
    return CompletionSuffixIn(LanguageIndex());
}
const std::string& PortErrorText() {
    return PortErrorTextIn(LanguageIndex());
}

uint8_t Checksum(const std::string& bytes) {
    unsigned sum = 0;
    for (char c : bytes) sum += static_cast<uint8_t>(c);
    return static_cast<uint8_t>(sum & 0xFF);
}

void AppendChecksum(std::string& bytes) {
    bytes.push_back(static_cast<char>(Checksum(bytes)));
}

std::string ImageDataBytes(const DeviceImage& image) {
    std::string data;
    data.reserve(kImageValues);
    for (int32_t value : image) data.push_back(static_cast<char>(value & 0xFF));
    return data;
}

std::string BuildWriteFrame(const DeviceImage& image) {
    std::string data = ImageDataBytes(image);
    AppendChecksum(data);
    return std::string(1, static_cast<char>(kWriteCommand)) + data;
}

DeviceLink::DeviceLink(IMessageBoxes& messages) : messages_(messages) {}

DeviceLink::~DeviceLink() {
    if (port_) port_->close();
}

void DeviceLink::CreatePort(std::unique_ptr<IDevicePort> port) {
    port_ = std::move(port);
}

void DeviceLink::SetupPort(int portNo, int bitRate) {
    settings_ = LineSettings{};
    settings_.bitRate = bitRate;
    settings_.portNo = portNo;
    settings_.devicePath = resolvePath_ ? resolvePath_(portNo) : std::string();
    if (!port_) return;
    try {
        port_->applySettings(settings_);
    } catch (const std::exception&) {
        // A value the component refuses keeps the one it had; opening tells the user.
    }
}

bool DeviceLink::OpenPort() {
    try {
        if (!port_) throw std::runtime_error("no serial port component");
        port_->open();
        open_ = true;
        // The port comes up with DTR and RTS on; one short DTR pulse, then RTS alone stays.
        port_->setDtr(true);
        port_->setDtr(false);
        messages_.show("COM" + std::to_string(settings_.portNo) + CompletionSuffix(), kCaptionInfo,
                       MbIcon::Information, MbButtons::Ok);
        return true;
    } catch (...) {
        // Whatever went wrong, the user sees one text and the port is left closed.
        ClosePort();
        messages_.show(PortErrorText(), kCaptionError, MbIcon::Error, MbButtons::Ok);
        return false;
    }
}

void DeviceLink::ClosePort() {
    if (port_) port_->close();
    open_ = false;
}

// Each attempt discards what waits in the input, sends the whole request and reads up to
// `expected` bytes, one per read, each under the receive time-out. The limit is tested
// before completeness: a limit of 1 is one attempt whatever it brings, and a complete
// reply ends the exchange before the limit. Bytes past `expected` stay in the input until
// the next attempt discards them.
void DeviceLink::Exchange(const std::string& request, std::string& reply, int& count, int& attempts,
                          int expected) {
    const int limit = attempts;
    attempts = 0;
    for (;;) {
        count = 0;
        reply.clear();
        ReplyEnd end = ReplyEnd::PortLost;
        if (port_) {
            port_->purgeReceive();
            port_->sendString(request);
            end = ReplyEnd::Complete;
            while (count < expected) {
                uint8_t byte = 0;
                const int got = port_->readByte(byte);
                if (got <= 0) {
                    end = got < 0 ? ReplyEnd::PortLost : ReplyEnd::TimedOut;
                    break;
                }
                ++count;
                reply.push_back(static_cast<char>(byte));
            }
        }
        ++attempts;
        lastReply_ = reply;
        lastReplyEnd_ = end;
        if (attempts >= limit || count == expected) return;
    }
}

std::string DeviceLink::ReadUntilQuiet(size_t limit) {
    std::string bytes;
    uint8_t byte = 0;
    while (port_ && bytes.size() < limit && port_->readByte(byte) > 0)
        bytes.push_back(static_cast<char>(byte));
    return bytes;
}

bool DeviceLink::WriteDevice(int& attempts) {
    std::string reply;
    int count = 0;
    Exchange(BuildWriteFrame(image_), reply, count, attempts, kWriteReplyLength);
    return count == kWriteReplyLength &&
           static_cast<uint8_t>(reply[kWriteReplyLength - 1]) == kAcknowledge;
}

bool DeviceLink::ReadDevice(int& attempts) {
    std::string reply;
    int count = 0;
    Exchange(std::string(1, static_cast<char>(kReadCommand)), reply, count, attempts,
             kReadReplyLength);
    if (count != kReadReplyLength) return false;
    const auto received = static_cast<uint8_t>(reply[kReadReplyLength - 1]);
    const std::string data = reply.substr(1, kImageValues);
    if (Checksum(data) != received) return false;
    for (int i = 0; i < kImageValues; ++i) image_[i] = static_cast<uint8_t>(data[i]);
    return true;
}

}  // namespace mxc9
