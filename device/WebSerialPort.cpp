// The browser's Web Serial port as the device link's port. The browser gives a page no
// thread to block: each wait here (opening, the lines, every byte of a reply under the
// receive time-out) hands control back to the browser until the port's stream or a timer
// answers, and the transfer goes on from where it waited (the module is built with
// Asyncify). The page's serial code (app/web/serial.js) holds the streams.
#include <emscripten.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "device/DeviceLink.h"

namespace mxc9 {

namespace {

// clang-format off
EM_ASYNC_JS(int, WebSerialOpen, (const char* device, int bitRate, int charSize, int bufferSize), {
    return await Module.serial.open(UTF8ToString(device), {
        baudRate: bitRate, dataBits: charSize, stopBits: 1, parity: "none",
        flowControl: "none", bufferSize: bufferSize });
});
EM_ASYNC_JS(void, WebSerialClose, (), { await Module.serial.close(); });
EM_ASYNC_JS(void, WebSerialSetDtr, (int raise), { await Module.serial.setDtr(!!raise); });
EM_JS(void, WebSerialPurgeReceive, (), { Module.serial.purgeReceive(); });
EM_JS(int, WebSerialWrite, (const uint8_t* bytes, int length), {
    return Module.serial.write(HEAPU8.slice(bytes, bytes + length)) ? 1 : 0;
});
// A byte 0..255, -1 after the time-out, -2 when the port is closed or gone.
EM_ASYNC_JS(int, WebSerialReadByte, (int timeoutMs), {
    return await Module.serial.readByte(timeoutMs);
});
// clang-format on

class WebSerialPort : public IDevicePort {
  public:
    ~WebSerialPort() override = default;

    void applySettings(const LineSettings& settings) override { settings_ = settings; }
    void open() override {
        if (settings_.devicePath.empty()) throw std::runtime_error("no port stands for COMn");
        if (!WebSerialOpen(settings_.devicePath.c_str(), settings_.bitRate, settings_.charSize,
                           settings_.bufLenReceive))
            throw std::runtime_error("the port did not open");
        open_ = true;
    }
    void close() override {
        if (!open_) return;
        open_ = false;
        WebSerialClose();
    }
    void setDtr(bool raise) override {
        if (open_) WebSerialSetDtr(raise ? 1 : 0);
    }
    void purgeReceive() override {
        if (open_) WebSerialPurgeReceive();
    }
    bool sendString(const std::string& bytes) override {
        if (!open_) return false;
        return WebSerialWrite(reinterpret_cast<const uint8_t*>(bytes.data()),
                              static_cast<int>(bytes.size())) != 0;
    }
    int readByte(uint8_t& byte) override {
        if (!open_) return -1;
        const int got = WebSerialReadByte(settings_.timeOutReceive);
        if (got == -1) return 0;
        if (got < 0) return -1;
        byte = static_cast<uint8_t>(got);
        return 1;
    }

  private:
    LineSettings settings_;
    bool open_ = false;
};

}  // namespace

std::unique_ptr<IDevicePort> MakeWebSerialPort() {
    return std::make_unique<WebSerialPort>();
}

void DeviceLink::CreatePort() {
    CreatePort(MakeWebSerialPort());
}

}  // namespace mxc9
