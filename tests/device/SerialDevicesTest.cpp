// The COM list of scripted Linux machines, from udev's records of their ttys to the entries:
// look-alike USB adapters without a serial number, adapters without a maker string, the
// system console and Bluetooth rfcomm ports.
#include <gtest/gtest.h>

#include <map>

#include "device/PortMap.h"
#include "platform/UdevTty.h"

namespace mxc9 {
namespace {

const std::string kFtdiId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
// Two CH340 adapters have no serial number, so udev names both alike.
const std::string kCh340Id = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";

std::string Socket(const std::string& ports) {
    return "/dev/serial/by-path/pci-0000:00:14.0-usb-0:" + ports + ":1.0-port0";
}

// A USB adapter's tty; `links` are those of its udev record (DEVLINKS).
UdevTty Adapter(const std::string& name, const std::string& ports,
                const std::vector<std::string>& links, const std::string& product,
                const std::string& maker, const std::string& vendorDb = "",
                const std::string& modelDb = "") {
    UdevTty tty;
    const std::string usb = "1-" + ports;
    tty.syspath = "/sys/devices/pci0000:00/0000:00:14.0/usb1/" + usb + "/" + usb + ":1.0/" + name +
                  "/tty/" + name;
    tty.devnode = "/dev/" + name;
    tty.driverAbove = maker == "FTDI" ? "ftdi_sio" : "ch341";
    std::string devlinks;
    for (const std::string& link : links) devlinks += (devlinks.empty() ? "" : " ") + link;
    if (!devlinks.empty()) tty.properties["DEVLINKS"] = devlinks;
    tty.usb = true;
    if (!product.empty()) tty.usbAttributes["product"] = product;
    if (!maker.empty()) tty.usbAttributes["manufacturer"] = maker;
    if (!vendorDb.empty()) tty.usbProperties["ID_VENDOR_FROM_DATABASE"] = vendorDb;
    if (!modelDb.empty()) tty.properties["ID_MODEL_FROM_DATABASE"] = modelDb;
    return tty;
}

UdevTty Ftdi(const std::string& name, const std::string& ports) {
    return Adapter(name, ports, {kFtdiId, Socket(ports)}, "FT232R USB UART", "FTDI");
}

UdevTty Ch340(const std::string& name, const std::string& ports) {
    return Adapter(name, ports, {kCh340Id, Socket(ports)}, "USB Serial", "", "QinHeng Electronics",
                   "CH340 serial converter");
}

UdevTty Uart(const std::string& name, int type, bool console = false) {
    UdevTty tty;
    tty.syspath = "/sys/devices/pnp0/00:0" + name.substr(4) + "/tty/" + name;
    tty.devnode = "/dev/" + name;
    tty.driverAbove = "serial";
    tty.attributes = {{"type", std::to_string(type)}, {"console", console ? "Y" : "N"}};
    return tty;
}

// A tty of the kernel's own, with no hardware above it.
UdevTty Virtual(const std::string& name) {
    UdevTty tty;
    tty.syspath = "/sys/devices/virtual/tty/" + name;
    tty.devnode = "/dev/" + name;
    tty.hasParent = false;
    return tty;
}

std::string Ch340Text(const std::string& ports) {
    return "CH340 serial converter (QinHeng Electronics) in USB socket " + ports;
}

struct Machine {
    const char* name;
    std::vector<UdevTty> ttys;
    std::map<std::string, std::vector<std::string>> linksOnDisk;  // device -> links
    std::map<int, PortKey> keys;                                  // COMn -> key
    std::vector<std::pair<std::string, std::string>> expected;    // COM1.. device, details
};

const Machine kMachines[] = {
    {"look-alikes go by their sockets, an adapter with a serial number by its id",
     {Ch340("ttyUSB1", "1.3"), Ftdi("ttyUSB0", "1.4"), Ch340("ttyUSB2", "1.1")},
     // udev gave the shared by-id link to the adapter it saw last.
     {{"/dev/ttyUSB2", {kCh340Id}}},
     {},
     {{"/dev/ttyUSB0", "FT232R USB UART (FTDI)"},
      {"/dev/ttyUSB2", Ch340Text("1.1")},
      {"/dev/ttyUSB1", Ch340Text("1.3")}}},
    {"plugged in again, the look-alikes swap names and keep their places; the adapter with "
     "a serial number keeps its place in another socket",
     {Ch340("ttyUSB2", "1.3"), Ch340("ttyUSB1", "1.1"), Ftdi("ttyUSB3", "1.2")},
     {{"/dev/ttyUSB1", {kCh340Id}}},
     {},
     {{"/dev/ttyUSB3", "FT232R USB UART (FTDI)"},
      {"/dev/ttyUSB1", Ch340Text("1.1")},
      {"/dev/ttyUSB2", Ch340Text("1.3")}}},
    {"a key with the by-id name of look-alikes stands for the one its link leads to",
     {Ch340("ttyUSB1", "1.3"), Ch340("ttyUSB2", "1.1")},
     {{"/dev/ttyUSB1", {kCh340Id}}},
     {{1, {kCh340Id, "/dev/ttyUSB1"}}},
     {{kCh340Id, Ch340Text("1.3") + " [Ports]"}, {"/dev/ttyUSB2", Ch340Text("1.1")}}},
    {"without udev's records the links on disk count; without the database, the USB strings",
     {Adapter("ttyUSB0", "2", {}, "USB Serial", ""), Adapter("ttyUSB1", "3", {}, "", "")},
     {{"/dev/ttyUSB0", {Socket("2"), kCh340Id}}},
     {},
     {{"/dev/ttyUSB0", "USB Serial"}, {"/dev/ttyUSB1", "USB serial adapter"}}},
    {"the console is no port found and a key may still name it; a bound rfcomm port is one",
     {Uart("ttyS0", 4, true), Uart("ttyS1", 4), Uart("ttyS2", 0), Virtual("rfcomm0"),
      Virtual("tty0"), Virtual("ptmx"), Virtual("console"), Virtual("ttyprintk")},
     {},
     {{3, {"/dev/ttyS0", "/dev/ttyS0"}}},
     {{"/dev/ttyS1", "16550A UART"},
      {"/dev/rfcomm0", "serial device (rfcomm)"},
      {"/dev/ttyS0", "16550A UART, system console [Ports]"}}},
    {"a console UART that no key names stays out of every COMn",
     {Uart("ttyS0", 4, true), Uart("ttyS1", 4)},
     {},
     {},
     {{"/dev/ttyS1", "16550A UART"}}},
    {"a /dev/serial/by-path key pins the adapter in that socket",
     {Ch340("ttyUSB1", "1.3"), Ch340("ttyUSB2", "1.1"), Ftdi("ttyUSB0", "1.4")},
     {{"/dev/ttyUSB1", {kCh340Id}}},
     {{1, {Socket("1.3"), "/dev/ttyUSB1"}}},
     {{Socket("1.3"), Ch340Text("1.3") + " [Ports]"},
      {"/dev/ttyUSB0", "FT232R USB UART (FTDI)"},
      {"/dev/ttyUSB2", Ch340Text("1.1")}}},
};

void PrintTo(const Machine& machine, std::ostream* out) {
    *out << machine.name;
}

class UdevMachines : public ::testing::TestWithParam<Machine> {};

TEST_P(UdevMachines, EachComPortStandsForTheExpectedDevice) {
    const Machine& machine = GetParam();
    std::vector<SerialDevice> devices;
    for (const UdevTty& tty : machine.ttys) {
        const auto links = machine.linksOnDisk.find(tty.devnode);
        if (auto device = SerialDeviceFromUdev(tty, links == machine.linksOnDisk.end()
                                                        ? std::vector<std::string>()
                                                        : links->second))
            devices.push_back(*device);
    }
    std::vector<PortKey> keys(10);
    for (const auto& [portNo, key] : machine.keys) keys[portNo - 1] = key;
    const std::vector<PortEntry> entries = MapPorts(devices, keys);
    ASSERT_EQ(entries.size(), 10u);
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto expected = i < machine.expected.size() ? machine.expected[i]
                                                          : std::pair<std::string, std::string>();
        EXPECT_EQ(entries[i].device, expected.first) << "COM" << i + 1;
        EXPECT_EQ(entries[i].details, expected.second) << "COM" << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(ScriptedUdev, UdevMachines, ::testing::ValuesIn(kMachines),
                         [](const auto& info) { return "machine" + std::to_string(info.index); });

}  // namespace
}  // namespace mxc9
