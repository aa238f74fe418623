// Linux: what udev tells of one tty, and the serial device it is (or none). The machine's
// list (SystemSerialDevices) reads these records through libudev; tests script them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/SerialDevices.h"

namespace mxc9 {

struct UdevTty {
    std::string syspath;      // "/sys/devices/pci0000:00/.../ttyUSB0/tty/ttyUSB0"
    std::string devnode;      // "/dev/ttyUSB0"; "" when the tty has no device file
    bool hasParent = true;    // a device above the tty (none for the kernel's virtual ones)
    std::string driverAbove;  // the driver of the nearest device above that has one
    // The tty's udev properties (DEVLINKS, ID_VENDOR_FROM_DATABASE, ...) and sysfs
    // attributes (type, console).
    std::map<std::string, std::string> properties;
    std::map<std::string, std::string> attributes;
    // The USB device above the tty, for a port of a USB adapter: its sysfs attributes
    // (product, manufacturer) and udev properties.
    bool usb = false;
    std::map<std::string, std::string> usbAttributes;
    std::map<std::string, std::string> usbProperties;
};

// The serial device a tty is, or nullopt for a tty that is no serial port. `linksOnDisk`
// are the /dev/serial links found pointing at its device file; they count beside those of
// its DEVLINKS property (a machine whose udev keeps no records still has its links).
std::optional<SerialDevice> SerialDeviceFromUdev(const UdevTty& tty,
                                                 const std::vector<std::string>& linksOnDisk);

}  // namespace mxc9
