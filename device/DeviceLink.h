// The program's link to the controller: it owns the one serial port, configures it for
// the controller's line, and carries out the two transactions the controller knows:
// writing the whole device image and reading it back. A transaction is one request and
// one reply of fixed length read byte by byte under the receive time-out; an 8-bit
// additive checksum covers the 42 data bytes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Seams.h"

namespace mxc9 {

// The controller's parameter image: parameter values 0..9, then frequency codes 0..31.
// Each value goes on the line as its low 8 bits.
inline constexpr int kParameterValues = 10;
inline constexpr int kImageValues = 42;
using DeviceImage = std::array<int32_t, kImageValues>;

inline constexpr uint8_t kWriteCommand = 0xD5;
inline constexpr uint8_t kReadCommand = 0xC5;
inline constexpr uint8_t kAcknowledge = 0x06;
inline constexpr int kWriteReplyLength = 45;  // the 44 bytes sent, then the acknowledgement
inline constexpr int kReadReplyLength = 44;   // the command byte, 42 data bytes, checksum
inline constexpr int kWriteFrameLength = 44;

// The line the controller runs, set by SetupPort in this order.
struct LineSettings {
    int bitRate = 1200;
    int bufLenReceive = 2048;
    int bufLenTrans = 2048;
    int charSize = 8;
    // Flow control none, no parity, one stop bit: the only line the controller speaks.
    int portNo = 1;
    int timeOutReceive = 1000;  // ms, for each byte of a reply
    int timeOutTrans = 3000;    // ms
    // Device file of COMn; empty leaves the serial component's own default.
    std::string devicePath;
};

// How the reading of a reply ended.
enum class ReplyEnd {
    Complete,  // every expected byte came
    TimedOut,  // the receive time-out passed without the next byte
    PortLost,  // the port failed: hung up or closed by the far end, or not open
};

// What the device link needs of the serial port component. The production port is the
// serial component itself (MakeCommXPort); tests of the reading rules can script one.
class IDevicePort {
  public:
    virtual ~IDevicePort() = default;
    // Stores the settings in the order of LineSettings; the port is closed.
    virtual void applySettings(const LineSettings& settings) = 0;
    // Opens with the stored settings or throws, leaving the port closed.
    virtual void open() = 0;
    virtual void close() = 0;  // nothing when closed
    virtual void setDtr(bool raise) = 0;
    virtual void purgeReceive() = 0;
    virtual bool sendString(const std::string& bytes) = 0;
    // 1 when a byte arrived, 0 after the receive time-out, -1 when closed or failed.
    virtual int readByte(uint8_t& byte) = 0;
};

// The serial component behind IDevicePort; in the browser, the page's Web Serial port.
std::unique_ptr<IDevicePort> MakeCommXPort();
std::unique_ptr<IDevicePort> MakeWebSerialPort();

// The unit's texts in the language in use.
const std::string& CompletionSuffix();  // " completion"
const std::string& PortErrorText();     // "COMPORT does not exist"
const std::string& CompletionSuffixIn(int language);
const std::string& PortErrorTextIn(int language);

// Sum of the bytes modulo 256.
uint8_t Checksum(const std::string& bytes);
// Appends the checksum of the string to it.
void AppendChecksum(std::string& bytes);
// The 42 data bytes of an image: the low 8 bits of each value, in image order.
std::string ImageDataBytes(const DeviceImage& image);
// 0xD5, the 42 data bytes, their checksum.
std::string BuildWriteFrame(const DeviceImage& image);

class DeviceLink {
  public:
    explicit DeviceLink(IMessageBoxes& messages);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Creates the serial port component and keeps it for the whole run.
    void CreatePort();
    // The same with a given port (tests, the command-line tool).
    void CreatePort(std::unique_ptr<IDevicePort> port);

    // Tells COMn's device file; without one the serial component's default is used.
    void setPortPathResolver(std::function<std::string(int portNo)> resolver) {
        resolvePath_ = std::move(resolver);
    }

    void SetupPort(int portNo, int bitRate);
    // Opens the port, pulses DTR and tells the user "COMn completion"; on any error
    // closes the port, shows the port error text and returns false.
    bool OpenPort();
    void ClosePort();
    bool isOpen() const { return open_; }

    // One transaction; see the .cpp for the retry rule. attempts: in the limit (at least
    // 1), out the number of requests sent. reply and count are those of the last attempt.
    void Exchange(const std::string& request, std::string& reply, int& count, int& attempts,
                  int expected);
    bool WriteDevice(int& attempts);
    bool ReadDevice(int& attempts);
    // The bytes of the last attempt of the last exchange and how their reading ended
    // (TransferFault.h tells the fault).
    const std::string& lastReply() const { return lastReply_; }
    ReplyEnd lastReplyEnd() const { return lastReplyEnd_; }
    // Whatever arrives after the last reply until the line stays quiet for one receive
    // time-out (or the port fails), at most `limit` bytes. The transactions never look
    // past their reply; this is for telling the cause of a failure.
    std::string ReadUntilQuiet(size_t limit);

    DeviceImage& image() { return image_; }
    const DeviceImage& image() const { return image_; }
    const LineSettings& settings() const { return settings_; }

  private:
    IMessageBoxes& messages_;
    std::unique_ptr<IDevicePort> port_;
    std::function<std::string(int)> resolvePath_;
    LineSettings settings_;
    DeviceImage image_{};
    std::string lastReply_;
    ReplyEnd lastReplyEnd_ = ReplyEnd::Complete;
    bool open_ = false;
};

}  // namespace mxc9
