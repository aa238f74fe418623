// The serial devices of this machine as the kernel and udev describe them, read from
// sysfs, udev's records and /dev/serial without opening any device (opening a port pulses
// DTR and RTS on a real UART, and a modem answers with a line of text).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mxc9 {

struct SerialDevice {
    std::string device;  // device file, "/dev/ttyUSB0"
    // Its first /dev/serial/by-id name, "" when none. udev makes it from the adapter's
    // maker, product and serial number, so two look-alike adapters without a serial
    // number (CH340, PL2303, many CP2102 copies) are given the same name, and only one of
    // them gets the link on disk.
    std::string byId;
    bool usb = false;          // a port of a USB adapter (FTDI, CH340, CP210x, CDC-ACM, ...)
    std::string product;       // the USB product string, "FT232R USB UART"
    std::string manufacturer;  // the USB maker string, "FTDI"
    // The UART type the serial driver reports (4 is a 16550A); 0 when the driver found no
    // UART behind the name, as for most of the ttyS0..ttyS31 a PC kernel always creates;
    // -1 when the device reports no type (USB, Bluetooth, ...).
    int uartType = -1;
    std::string driver;  // driver of the hardware behind the tty, "ftdi_sio", "serial8250"
    // Its first /dev/serial/by-path name, "" when none: the USB socket the adapter is in,
    // "/dev/serial/by-path/pci-0000:00:14.0-usb-0:1.2:1.0-port0".
    std::string byPath{};
    // The names of udev's hardware database for the adapter's vendor and model numbers,
    // "QinHeng Electronics" and "CH340 serial converter"; "" when it has none.
    std::string vendorFromDatabase{};
    std::string modelFromDatabase{};
    bool console = false;  // the system console (a kernel console= on a serial port)

    // Windows: the COM name ("COM5"; device is then "\\.\COM5"), what Windows calls the
    // port ("USB Serial Port (COM5)", "" when only the registry lists it) and, for
    // hardware, its first hardware id ("FTDIBUS\VID_0403+PID_6001+A50285BIA\0000").
    std::string portName{};
    std::string friendlyName{};
    std::string hardwareId{};
};

// How the system names its ports. Linux: device files, which a COMn of the list stands
// for in an order of the program's own. Windows: COM names, so COMn is the system's own
// COMn where it exists.
enum class PortNaming { DeviceFiles, ComNames };
PortNaming SystemPortNaming();

// n of "COMn" or "\\.\COMn" (any letter case, n from 1 to 8 digits without a leading
// 0); 0 for any other text.
inline int ComPortNumber(std::string_view name) {
    if (name.substr(0, 4) == R"(\\.\)") name.remove_prefix(4);
    if (name.size() < 4 || name.size() > 11 || name[3] == '0') return 0;
    for (size_t i = 0; i < 3; ++i)
        if ((name[i] | 0x20) != "com"[i]) return 0;
    int n = 0;
    for (char c : name.substr(3)) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

// The device a [Ports] key's text leads to, "" when it leads nowhere: on Linux the file
// its symbolic links end at, on Windows "\\.\COM15" for "COM15" or "\\.\COM15".
std::string PortKeyTarget(const std::string& keyText);

class ISerialDeviceSource {
  public:
    virtual ~ISerialDeviceSource() = default;
    // Every tty that belongs to a piece of hardware, and every bound Bluetooth rfcomm
    // port, in no particular order; virtual consoles and pseudo-terminals are not among
    // them.
    virtual std::vector<SerialDevice> serialDevices() const = 0;
};

// The machine's own devices: through libudev on Linux, through SetupAPI and the
// registry's SERIALCOMM key on Windows.
class SystemSerialDevices : public ISerialDeviceSource {
  public:
    std::vector<SerialDevice> serialDevices() const override;
};

}  // namespace mxc9
