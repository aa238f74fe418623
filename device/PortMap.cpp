#include "device/PortMap.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>

namespace mxc9 {

namespace {

enum class PortGroup { Usb, Uart, Other, Absent };

PortGroup GroupOf(const SerialDevice& device) {
    if (device.usb) return PortGroup::Usb;
    if (device.uartType == 0) return PortGroup::Absent;
    if (device.uartType > 0) return PortGroup::Uart;
    return PortGroup::Other;
}

// "/dev/ttyS2" before "/dev/ttyS10": the number at the end of a name counts by value.
std::pair<std::string, unsigned long long> NameOrder(const std::string& name) {
    const size_t digits = name.find_last_not_of("0123456789") + 1;
    return {name.substr(0, digits), std::strtoull(name.c_str() + digits, nullptr, 10)};
}

// The by-id names that more than one adapter of `devices` holds.
std::set<std::string> SharedIds(const std::vector<SerialDevice>& devices) {
    std::set<std::string> seen, shared;
    for (const SerialDevice& device : devices)
        if (device.usb && !device.byId.empty() && !seen.insert(device.byId).second)
            shared.insert(device.byId);
    return shared;
}

// An adapter is told apart by its by-id name where no other adapter has the same one;
// else by the socket it is in, which stays while it stays there.
bool BySocket(const SerialDevice& device, const std::set<std::string>& sharedIds) {
    return device.usb && !device.byPath.empty() &&
           (device.byId.empty() || sharedIds.count(device.byId) != 0);
}

// The link an adapter is ordered by: by-id names come before by-path names, and adapters
// with neither (no udev running) after both.
std::string PlaceOf(const SerialDevice& device, const std::set<std::string>& sharedIds) {
    return BySocket(device, sharedIds) ? device.byPath : device.byId;
}

// "1.2" of ".../pci-0000:00:14.0-usb-0:1.2:1.0-port0": the root hub port and the hub
// ports below it; the link's own name where it has another shape.
std::string SocketOf(const std::string& byPath) {
    const std::string name = byPath.substr(byPath.rfind('/') + 1);
    const size_t usb = name.find("usb");
    const size_t first = usb == std::string::npos ? usb : name.find(':', usb);
    const size_t second = first == std::string::npos ? first : name.find(':', first + 1);
    if (second == std::string::npos || second == first + 1) return name;
    return name.substr(first + 1, second - first - 1);
}

const char* UartName(int type) {
    // The serial core's numbers for the common PC UARTs.
    switch (type) {
        case 1:
            return "8250";
        case 2:
            return "16450";
        case 3:
            return "16550";
        case 4:
            return "16550A";
        case 6:
            return "16650";
        case 7:
            return "16650V2";
        case 8:
            return "16750";
        case 10:
            return "16C950";
        case 11:
            return "16654";
        case 12:
            return "16850";
        default:
            return nullptr;
    }
}

// A key names a device by its file, a link to it or its by-id name; a by-id name that
// look-alikes share names only the one its link on disk leads to (the key's target).
bool Names(const PortKey& key, const SerialDevice& device, const std::set<std::string>& shared) {
    return key.path == device.device ||
           (!device.byId.empty() && !shared.count(device.byId) && key.path == device.byId) ||
           (!key.target.empty() && key.target == device.device);
}

}  // namespace

std::vector<SerialDevice> OrderPresentPorts(std::vector<SerialDevice> devices) {
    // The console belongs to the kernel and root, whatever else the port is.
    std::erase_if(devices, [](const SerialDevice& d) {
        return d.console || GroupOf(d) == PortGroup::Absent;
    });
    const std::set<std::string> shared = SharedIds(devices);
    std::stable_sort(devices.begin(), devices.end(),
                     [&](const SerialDevice& a, const SerialDevice& b) {
                         const auto groupA = GroupOf(a), groupB = GroupOf(b);
                         if (groupA != groupB) return groupA < groupB;
                         if (groupA == PortGroup::Usb) {
                             const std::string placeA = PlaceOf(a, shared);
                             const std::string placeB = PlaceOf(b, shared);
                             if (placeA != placeB) {
                                 if (placeA.empty() || placeB.empty()) return placeB.empty();
                                 return placeA < placeB;
                             }
                         }
                         return NameOrder(a.device) < NameOrder(b.device);
                     });
    return devices;
}

std::string DescribeDevice(const SerialDevice& device, bool bySocket) {
    if (!device.friendlyName.empty()) return device.friendlyName;
    switch (GroupOf(device)) {
        case PortGroup::Usb: {
            // Chips that give no maker string (CH340 and the like) give a generic product
            // string too, "USB Serial": the database names the chip.
            std::string product = device.product, maker = device.manufacturer;
            if (maker.empty()) {
                maker = device.vendorFromDatabase;
                if (!device.modelFromDatabase.empty()) product = device.modelFromDatabase;
            }
            if (product.empty()) product = device.modelFromDatabase;
            std::string text = product.empty() ? "USB serial adapter" : product;
            if (!maker.empty()) text += " (" + maker + ")";
            if (bySocket && !device.byPath.empty())
                text += " in USB socket " + SocketOf(device.byPath);
            return text;
        }
        case PortGroup::Uart: {
            const char* name = UartName(device.uartType);
            const std::string text = name ? std::string(name) + " UART" : std::string("UART");
            return device.console ? text + ", system console" : text;
        }
        case PortGroup::Absent:
            return "no UART";
        case PortGroup::Other:
            break;
    }
    return device.driver.empty() ? std::string("serial device")
                                 : "serial device (" + device.driver + ")";
}

std::vector<PortEntry> MapPorts(const std::vector<SerialDevice>& devices,
                                const std::vector<PortKey>& keys) {
    const std::vector<SerialDevice> present = OrderPresentPorts(devices);
    const std::set<std::string> shared = SharedIds(devices);
    std::vector<bool> claimed(present.size(), false);
    std::vector<PortEntry> entries;
    for (size_t i = 0; i < keys.size(); ++i) {
        PortEntry entry;
        entry.portNo = static_cast<int>(i) + 1;
        const PortKey& key = keys[i];
        if (!key.path.empty()) {
            entry.device = key.path;
            entry.keyed = true;
            // A key may also name a UART that is not there, which is worth saying.
            for (const SerialDevice& device : devices)
                if (Names(key, device, shared))
                    entry.details = DescribeDevice(device, BySocket(device, shared)) + " ";
            entry.details += "[Ports]";
            for (size_t p = 0; p < present.size(); ++p)
                if (Names(key, present[p], shared)) claimed[p] = true;
        }
        entries.push_back(std::move(entry));
    }
    size_t next = 0;
    for (PortEntry& entry : entries) {
        if (entry.keyed) continue;
        while (next < present.size() && claimed[next]) ++next;
        if (next == present.size()) break;
        entry.device = present[next].device;
        entry.details = DescribeDevice(present[next], BySocket(present[next], shared));
        ++next;
    }
    return entries;
}

std::vector<PortEntry> MapComPorts(const std::vector<SerialDevice>& devices,
                                   const std::vector<PortKey>& keys) {
    const int listed = static_cast<int>(keys.size());
    std::map<int, const SerialDevice*> present;  // by COM number, in number order
    for (const SerialDevice& device : devices) {
        const int n = ComPortNumber(device.portName);
        if (n > 0) present.emplace(n, &device);
    }
    auto keyNumber = [](const PortKey& key) {
        return ComPortNumber(key.target.empty() ? key.path : key.target);
    };
    std::vector<PortEntry> entries;
    std::vector<bool> own(keys.size(), false);
    for (int i = 0; i < listed; ++i) {
        PortEntry entry;
        entry.portNo = i + 1;
        const PortKey& key = keys[static_cast<size_t>(i)];
        if (!key.path.empty()) {
            entry.device = key.target.empty() ? key.path : key.target;
            entry.keyed = true;
            if (auto found = present.find(keyNumber(key)); found != present.end())
                entry.details = DescribeDevice(*found->second) + " ";
            entry.details += "[Ports]";
        } else if (auto found = present.find(entry.portNo); found != present.end()) {
            entry.device = found->second->device;
            entry.details = DescribeDevice(*found->second);
            own[static_cast<size_t>(i)] = true;
        }
        entries.push_back(std::move(entry));
    }
    std::vector<const SerialDevice*> above;
    for (const auto& [n, device] : present) {
        if (n <= listed) continue;
        const bool named = std::any_of(keys.begin(), keys.end(), [&, n = n](const PortKey& key) {
            return !key.path.empty() && keyNumber(key) == n;
        });
        if (!named) above.push_back(device);
    }
    size_t next = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        PortEntry& entry = entries[i];
        if (entry.keyed || own[i]) continue;
        if (next < above.size()) {
            entry.device = above[next]->device;
            entry.details = DescribeDevice(*above[next]);
            ++next;
        } else {
            entry.device = R"(\\.\COM)" + std::to_string(entry.portNo);
        }
    }
    return entries;
}

}  // namespace mxc9
