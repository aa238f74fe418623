#include "platform/SerialDevices.h"

#include <libudev.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

namespace mxc9 {

namespace {

struct UdevRelease {
    void operator()(udev* context) const { udev_unref(context); }
    void operator()(udev_enumerate* scan) const { udev_enumerate_unref(scan); }
    void operator()(udev_device* device) const { udev_device_unref(device); }
};
template <typename T>
using UdevPointer = std::unique_ptr<T, UdevRelease>;

std::string Attribute(udev_device* device, const char* name) {
    const char* value = udev_device_get_sysattr_value(device, name);
    return value ? std::string(value) : std::string();
}

// The driver of the nearest device above the tty that has one.
std::string DriverAbove(udev_device* tty) {
    for (udev_device* up = udev_device_get_parent(tty); up; up = udev_device_get_parent(up))
        if (const char* driver = udev_device_get_driver(up)) return driver;
    return {};
}

// Device file -> its first /dev/serial/by-id link by name. The links are udev's, made from
// the adapter's maker, product and serial number, so they stay when it is plugged into
// another socket.
std::map<std::string, std::string> ByIdLinks() {
    std::map<std::string, std::string> links;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/serial/by-id", error)) {
        std::error_code broken;
        const std::string target = std::filesystem::canonical(entry.path(), broken).string();
        if (broken) continue;
        const std::string link = entry.path().string();
        auto [place, added] = links.emplace(target, link);
        if (!added && link < place->second) place->second = link;
    }
    return links;
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

std::vector<SerialDevice> SystemSerialDevices::serialDevices() const {
    std::vector<SerialDevice> found;
    UdevPointer<udev> context(udev_new());
    if (!context) return found;
    UdevPointer<udev_enumerate> scan(udev_enumerate_new(context.get()));
    if (!scan || udev_enumerate_add_match_subsystem(scan.get(), "tty") < 0 ||
        udev_enumerate_scan_devices(scan.get()) < 0)
        return found;
    const std::map<std::string, std::string> links = ByIdLinks();
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get())) {
        const std::string syspath = udev_list_entry_get_name(entry);
        // Consoles, ptmx and the like live under /sys/devices/virtual with no hardware.
        if (syspath.find("/devices/virtual/") != std::string::npos) continue;
        UdevPointer<udev_device> tty(udev_device_new_from_syspath(context.get(), syspath.c_str()));
        if (!tty || !udev_device_get_parent(tty.get())) continue;
        const char* node = udev_device_get_devnode(tty.get());
        if (!node) continue;
        SerialDevice device;
        device.device = node;
        if (auto link = links.find(device.device); link != links.end()) device.byId = link->second;
        if (udev_device* usb =
                udev_device_get_parent_with_subsystem_devtype(tty.get(), "usb", "usb_device")) {
            device.usb = true;
            device.product = Attribute(usb, "product");
            device.manufacturer = Attribute(usb, "manufacturer");
        }
        const std::string type = Attribute(tty.get(), "type");
        if (!type.empty()) device.uartType = std::atoi(type.c_str());
        device.driver = DriverAbove(tty.get());
        found.push_back(std::move(device));
    }
    return found;
}

}  // namespace mxc9
