// The serial port component as the device link's port.
#include <memory>

#include "device/DeviceLink.h"
#include "serial/CommX.h"

namespace mxc9 {

namespace {

class CommXPort : public IDevicePort {
  public:
    CommXPort() {
        comm_.SetPortNameResolver([this](int32_t portNo) {
            return devicePath_.empty() ? DefaultPortName(portNo) : devicePath_;
        });
    }

    void applySettings(const LineSettings& settings) override {
        devicePath_ = settings.devicePath;
        comm_.SetBitRate(settings.bitRate);
        comm_.SetBufLenReceive(settings.bufLenReceive);
        comm_.SetBufLenTrans(settings.bufLenTrans);
        comm_.SetCharSize(settings.charSize);
        comm_.SetFlowCtrl(cfcNone);
        comm_.SetParityBit(cpbNone);
        comm_.SetPortNo(settings.portNo);
        comm_.SetStopBit(csb1);
        comm_.SetTimeOutReceive(settings.timeOutReceive);
        comm_.SetTimeOutTrans(settings.timeOutTrans);
    }
    void open() override { comm_.Open(); }
    void close() override { comm_.Close(); }
    void setDtr(bool raise) override { comm_.SetDtr(raise); }
    void purgeReceive() override { comm_.PurgeReceive(); }
    bool sendString(const std::string& bytes) override { return comm_.SendString(bytes); }
    int readByte(uint8_t& byte) override { return comm_.Read(&byte, 1); }

  private:
    TCommX comm_;
    std::string devicePath_;
};

}  // namespace

std::unique_ptr<IDevicePort> MakeCommXPort() {
    return std::make_unique<CommXPort>();
}

void DeviceLink::CreatePort() {
    CreatePort(MakeCommXPort());
}

}  // namespace mxc9
