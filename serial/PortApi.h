// What the serial component asks of the operating system for one open port. The Linux
// layer (PosixPort) implements it over a tty, the Windows layer (Win32Port) over a COM
// port's handle; tests put a scripted port in its place to see what a pseudo-terminal
// cannot show (modem lines, breaks, line errors, timing).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace mxc9 {

// Port events, as the receive thread reports them.
inline constexpr uint32_t EV_RXCHAR = 1;
inline constexpr uint32_t EV_BREAK = 64;
inline constexpr uint32_t EV_ERR = 128;

// Line-error bits of ClearError.
inline constexpr uint32_t CE_OVERRUN = 2;
inline constexpr uint32_t CE_RXPARITY = 4;
inline constexpr uint32_t CE_FRAME = 8;
inline constexpr uint32_t CE_BREAK = 16;
inline constexpr uint32_t kLineErrorMask = CE_OVERRUN | CE_RXPARITY | CE_FRAME;

// Bits of the flags word of PortState.
inline constexpr uint32_t kFlagBinary = 0x0001;
inline constexpr uint32_t kFlagParity = 0x0002;
inline constexpr uint32_t kFlagOutxCtsFlow = 0x0004;
inline constexpr uint32_t kFlagOutxDsrFlow = 0x0008;
inline constexpr uint32_t kFlagDtrEnable = 0x0010;     // DTR control: 1 raised
inline constexpr uint32_t kFlagDtrHandshake = 0x0020;  // DTR control: 2 handshake
inline constexpr uint32_t kFlagDtrControlMask = 0x0030;
inline constexpr uint32_t kFlagOutX = 0x0100;
inline constexpr uint32_t kFlagInX = 0x0200;
inline constexpr uint32_t kFlagRtsEnable = 0x1000;     // RTS control: 1 raised
inline constexpr uint32_t kFlagRtsHandshake = 0x2000;  // RTS control: 2 handshake
inline constexpr uint32_t kFlagRtsControlMask = 0x3000;

// The line settings of a port (the fields of the Windows device control block that the
// component uses). Parity 0 none, 1 odd, 2 even, 3 mark, 4 space; StopBits 0 one,
// 1 one and a half, 2 two.
struct PortState {
    uint32_t BaudRate = 9600;
    uint32_t Flags = kFlagBinary | kFlagDtrEnable | kFlagRtsEnable;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 8;
    uint8_t Parity = 0;
    uint8_t StopBits = 0;
    char XonChar = 17;
    char XoffChar = 19;
};

enum class ModemLine { Rts, Dtr };

enum class WriteResult {
    Completed,  // the write is over (possibly cut short by the write time-out)
    Pending,    // under way: FinishWrite waits for it
    Failed,     // the port refused it; the rest is not sent
    Aborted,    // a transmit purge ended it
};

enum class PortWait {
    Events,  // mask holds the port events that happened
    Woken,   // Wake was called
    Failed,  // the port cannot report events any more (gone, hung up)
};

class ISerialPort {
  public:
    virtual ~ISerialPort() = default;

    // A number that names the open port (the file descriptor for a tty).
    virtual uint32_t Handle() const = 0;

    virtual bool SetupQueues(int32_t inputSize, int32_t outputSize) = 0;
    // Discards unsent output and ends a write under way (FinishWrite answers Aborted).
    virtual void PurgeTransmit() = 0;
    // Discards received bytes not yet read.
    virtual void PurgeReceive() = 0;
    virtual PortState GetState() = 0;
    virtual bool SetState(const PortState& state) = 0;
    // Total read and write time-outs in milliseconds.
    virtual bool SetTimeouts(uint32_t readTotal, uint32_t writeTotal) = 0;
    virtual bool SetLine(ModemLine line, bool raise) = 0;

    // Line errors since the last call (CE_ bits) and, when asked, bytes waiting.
    virtual uint32_t ClearError(int32_t* inQueue) = 0;

    // Takes up to `size` waiting bytes without waiting: the count, 0 when none are
    // waiting, -1 when the port failed or is gone.
    virtual int32_t Read(void* buffer, int32_t size) = 0;
    // Waits up to `ms` milliseconds for input (or a failure) to be there.
    virtual void WaitInput(int32_t ms) = 0;

    // A write in two steps, so that a purge can fall between them.
    virtual WriteResult StartWrite(const uint8_t* data, uint32_t size, uint32_t& written) = 0;
    virtual WriteResult FinishWrite(uint32_t& written) = 0;

    // Receive side: sleeps until a port event or Wake.
    virtual PortWait WaitEvent(uint32_t& mask) = 0;
    // Sleeps until Wake, ignoring the port.
    virtual void WaitWake() = 0;
    // From any thread: ends a WaitEvent or WaitWake, now or the next one to come.
    virtual void Wake() = 0;
};

// Opens the device file for exclusive use in raw mode; null when it cannot.
using PortOpener = std::function<std::unique_ptr<ISerialPort>(const std::string& path)>;
// The device file of COMn.
using PortNameResolver = std::function<std::string(int32_t portNo)>;

// The port layer of the system the program is built for (PosixPort.cpp on Linux,
// Win32Port.cpp on Windows): what COMn opens when nothing else names its device
// (/dev/ttyS followed by n - 1 on Linux, \\.\COMn on Windows), and the opener.
std::string DefaultPortName(int32_t portNo);
std::unique_ptr<ISerialPort> OpenSystemPort(const std::string& path);

}  // namespace mxc9
