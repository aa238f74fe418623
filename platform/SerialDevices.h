// The serial devices of this machine as the kernel describes them, read from sysfs and
// /dev/serial/by-id without opening any device (opening a port pulses DTR and RTS on a
// real UART, and a modem answers with a line of text).
#pragma once

#include <string>
#include <vector>

namespace mxc9 {

struct SerialDevice {
    std::string device;        // device file, "/dev/ttyUSB0"
    std::string byId;          // its first /dev/serial/by-id link by name, "" when none
    bool usb = false;          // a port of a USB adapter (FTDI, CH340, CP210x, CDC-ACM, ...)
    std::string product;       // the USB product string, "FT232R USB UART"
    std::string manufacturer;  // the USB maker string, "FTDI"
    // The UART type the serial driver reports (4 is a 16550A); 0 when the driver found no
    // UART behind the name, as for most of the ttyS0..ttyS31 a PC kernel always creates;
    // -1 when the device reports no type (USB, Bluetooth, ...).
    int uartType = -1;
    std::string driver;  // driver of the hardware behind the tty, "ftdi_sio", "serial8250"
};

class ISerialDeviceSource {
  public:
    virtual ~ISerialDeviceSource() = default;
    // Every tty that belongs to a piece of hardware, in no particular order; virtual
    // consoles and pseudo-terminals are not among them.
    virtual std::vector<SerialDevice> serialDevices() const = 0;
};

// The machine's own devices, through libudev.
class SystemSerialDevices : public ISerialDeviceSource {
  public:
    std::vector<SerialDevice> serialDevices() const override;
};

}  // namespace mxc9
