// Which device file each COMn of the port list stands for. A [Ports] key of the
// application settings file has the last word; every COMn without one takes the next
// serial port present that no key names, in an order that keeps an adapter in its place
// when it is plugged in again: USB adapters by their /dev/serial/by-id names, then
// adapters whose by-id name is shared with a look-alike or missing by their
// /dev/serial/by-path names (the USB socket), then UARTs that really exist, then any
// other serial device. The system console is no port found. Without keys COMn is the
// n-th port.
#pragma once

#include <string>
#include <vector>

#include "platform/SerialDevices.h"

namespace mxc9 {

// A [Ports] key: the path as written and the device file it leads to (symbolic links
// followed), "" when it leads nowhere.
struct PortKey {
    std::string path;
    std::string target;
};

struct PortEntry {
    int portNo = 0;      // n of COMn
    std::string device;  // the file opened for COMn; "" when it stands for nothing
    // What it is: "FT232R USB UART (FTDI)", "16550A UART", ...; a keyed entry ends in
    // "[Ports]".
    std::string details;
    bool keyed = false;  // named by a [Ports] key
};

// The ports present in COMn order; UART names with no UART behind them and the system
// console are left out.
std::vector<SerialDevice> OrderPresentPorts(std::vector<SerialDevice> devices);

// What a device is, in the words of its maker where it has them (else in those of udev's
// hardware database); `bySocket` adds the USB socket an adapter is told apart by.
std::string DescribeDevice(const SerialDevice& device, bool bySocket = false);

// COM1..COMn for keys.size() = n; keys[i] is the key of COM(i + 1), its path empty when
// there is none.
std::vector<PortEntry> MapPorts(const std::vector<SerialDevice>& devices,
                                const std::vector<PortKey>& keys);

// The same where the system names its ports COMn (Windows). COMn is the system's COMn
// where that port exists. Ports numbered above the list (USB adapters are often COM11 and
// up) take, in number order, the entries whose own port does not exist, so every adapter
// can be chosen; an entry left over still opens its own name, as it always did. A key
// has the last word here too ("COM15" or "\\.\COM15"), and a port above the list that
// a key names is not handed out again.
std::vector<PortEntry> MapComPorts(const std::vector<SerialDevice>& devices,
                                   const std::vector<PortKey>& keys);

}  // namespace mxc9
