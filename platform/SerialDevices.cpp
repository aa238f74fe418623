#include "platform/SerialDevices.h"

#include <libudev.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <sstream>
#include <string_view>

#include "platform/UdevTty.h"

namespace mxc9 {

namespace {

struct UdevRelease {
    void operator()(udev* context) const { udev_unref(context); }
    void operator()(udev_enumerate* scan) const { udev_enumerate_unref(scan); }
    void operator()(udev_device* device) const { udev_device_unref(device); }
};
template <typename T>
using UdevPointer = std::unique_ptr<T, UdevRelease>;

// The named attributes and properties of a device that it has.
std::map<std::string, std::string> Attributes(udev_device* device,
                                              std::initializer_list<const char*> names) {
    std::map<std::string, std::string> found;
    for (const char* name : names)
        if (const char* value = udev_device_get_sysattr_value(device, name)) found[name] = value;
    return found;
}
std::map<std::string, std::string> Properties(udev_device* device,
                                              std::initializer_list<const char*> names) {
    std::map<std::string, std::string> found;
    for (const char* name : names)
        if (const char* value = udev_device_get_property_value(device, name)) found[name] = value;
    return found;
}

// The driver of the nearest device above the tty that has one.
std::string DriverAbove(udev_device* tty) {
    for (udev_device* up = udev_device_get_parent(tty); up; up = udev_device_get_parent(up))
        if (const char* driver = udev_device_get_driver(up)) return driver;
    return {};
}

// Device file -> the links under /dev/serial/by-id and /dev/serial/by-path that lead to it.
std::map<std::string, std::vector<std::string>> SerialLinksOnDisk() {
    std::map<std::string, std::vector<std::string>> links;
    for (const char* folder : {"/dev/serial/by-id", "/dev/serial/by-path"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            std::error_code broken;
            const std::string target = std::filesystem::canonical(entry.path(), broken).string();
            if (!broken) links[target].push_back(entry.path().string());
        }
    }
    return links;
}

const std::string kById = "/dev/serial/by-id/";
const std::string kByPath = "/dev/serial/by-path/";

// The first of the links in `folder`, by name.
std::string FirstLinkIn(const std::vector<std::string>& links, const std::string& folder) {
    std::string first;
    for (const std::string& link : links)
        if (link.rfind(folder, 0) == 0 && (first.empty() || link < first)) first = link;
    return first;
}

std::string Value(const std::map<std::string, std::string>& values, const std::string& name) {
    const auto found = values.find(name);
    return found == values.end() ? std::string() : found->second;
}

// "rfcomm0", "rfcomm12": a Bluetooth serial port of the rfcomm driver.
bool IsRfcommName(const std::string& name) {
    constexpr std::string_view prefix = "rfcomm";
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

// The kernel's own ttys (consoles, ptmx, the virtual terminals) live under
// /sys/devices/virtual with no hardware, and so does an rfcomm port bound to a Bluetooth
// address (rfcomm bind) until it connects: that one is a serial port.
bool KernelOwnTty(const std::string& syspath) {
    const std::string name = syspath.substr(syspath.rfind('/') + 1);
    return syspath.find("/devices/virtual/") != std::string::npos && !IsRfcommName(name);
}

}  // namespace

PortNaming SystemPortNaming() {
    return PortNaming::DeviceFiles;
}

std::string PortKeyTarget(const std::string& keyText) {
    std::error_code missing;
    std::string target = std::filesystem::canonical(keyText, missing).string();
    return missing ? std::string() : target;
}

std::optional<SerialDevice> SerialDeviceFromUdev(const UdevTty& tty,
                                                 const std::vector<std::string>& linksOnDisk) {
    if (tty.devnode.empty()) return std::nullopt;
    if (KernelOwnTty(tty.syspath)) return std::nullopt;
    // Any other tty has hardware above it, or is a bound rfcomm port.
    const bool virtualTty = tty.syspath.find("/devices/virtual/") != std::string::npos;
    if (!virtualTty && !tty.hasParent) return std::nullopt;
    const bool rfcomm = IsRfcommName(tty.syspath.substr(tty.syspath.rfind('/') + 1));
    SerialDevice device;
    device.device = tty.devnode;
    std::vector<std::string> links = linksOnDisk;
    std::istringstream devlinks(Value(tty.properties, "DEVLINKS"));
    for (std::string link; devlinks >> link;) links.push_back(link);
    // The by-id name comes from udev's record where there is one: two look-alike adapters
    // both hold it there, while only one of them holds the link on disk.
    device.byId = FirstLinkIn(links, kById);
    device.byPath = FirstLinkIn(links, kByPath);
    if (tty.usb) {
        device.usb = true;
        device.product = Value(tty.usbAttributes, "product");
        device.manufacturer = Value(tty.usbAttributes, "manufacturer");
        for (const auto* values : {&tty.properties, &tty.usbProperties}) {
            if (device.vendorFromDatabase.empty())
                device.vendorFromDatabase = Value(*values, "ID_VENDOR_FROM_DATABASE");
            if (device.modelFromDatabase.empty())
                device.modelFromDatabase = Value(*values, "ID_MODEL_FROM_DATABASE");
        }
    }
    const std::string type = Value(tty.attributes, "type");
    if (!type.empty()) device.uartType = std::atoi(type.c_str());
    device.console = Value(tty.attributes, "console") == "Y";
    device.driver = tty.driverAbove.empty() && rfcomm ? "rfcomm" : tty.driverAbove;
    return device;
}

std::vector<SerialDevice> SystemSerialDevices::serialDevices() const {
    std::vector<SerialDevice> found;
    UdevPointer<udev> context(udev_new());
    if (!context) return found;
    UdevPointer<udev_enumerate> scan(udev_enumerate_new(context.get()));
    if (!scan || udev_enumerate_add_match_subsystem(scan.get(), "tty") < 0 ||
        udev_enumerate_scan_devices(scan.get()) < 0)
        return found;
    const auto linksOnDisk = SerialLinksOnDisk();
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get())) {
        UdevTty record;
        record.syspath = udev_list_entry_get_name(entry);
        // Most ttys are the kernel's own (63 virtual terminals): those are passed over
        // before udev is asked about them, which would read their records for nothing.
        if (KernelOwnTty(record.syspath)) continue;
        UdevPointer<udev_device> tty(
            udev_device_new_from_syspath(context.get(), record.syspath.c_str()));
        if (!tty) continue;
        const char* node = udev_device_get_devnode(tty.get());
        record.devnode = node ? node : "";
        record.hasParent = udev_device_get_parent(tty.get()) != nullptr;
        record.driverAbove = DriverAbove(tty.get());
        record.properties = Properties(
            tty.get(), {"DEVLINKS", "ID_VENDOR_FROM_DATABASE", "ID_MODEL_FROM_DATABASE"});
        record.attributes = Attributes(tty.get(), {"type", "console"});
        if (udev_device* usb =
                udev_device_get_parent_with_subsystem_devtype(tty.get(), "usb", "usb_device")) {
            record.usb = true;
            record.usbAttributes = Attributes(usb, {"product", "manufacturer"});
            record.usbProperties =
                Properties(usb, {"ID_VENDOR_FROM_DATABASE", "ID_MODEL_FROM_DATABASE"});
        }
        const auto links = linksOnDisk.find(record.devnode);
        if (auto device = SerialDeviceFromUdev(
                record, links == linksOnDisk.end() ? std::vector<std::string>() : links->second))
            found.push_back(std::move(*device));
    }
    return found;
}

}  // namespace mxc9
