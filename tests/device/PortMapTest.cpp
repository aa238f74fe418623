// Which device each COMn stands for, on scripted machines: device names, by-id links,
// USB strings, UART names with and without a UART behind them, and [Ports] keys.
#include <gtest/gtest.h>

#include <map>

#include "device/PortMap.h"

namespace mxc9 {
namespace {

SerialDevice Usb(const std::string& device, const std::string& byId, const std::string& product,
                 const std::string& maker) {
    SerialDevice d;
    d.device = device;
    d.byId = byId;
    d.usb = true;
    d.product = product;
    d.manufacturer = maker;
    d.driver = "ftdi_sio";
    return d;
}
SerialDevice Other(const std::string& device, const std::string& driver) {
    SerialDevice d;
    d.device = device;
    d.driver = driver;
    return d;
}
SerialDevice Uart(const std::string& device, int type) {
    SerialDevice d = Other(device, "serial8250");
    d.uartType = type;
    return d;
}

const std::string kFtdiLink = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
const std::string kCh340Link = "/dev/serial/by-id/usb-1a86_USB_Serial-if00-port0";
// A PC's ttyS0..ttyS3: the kernel makes them all, one has a UART behind it.
const std::vector<SerialDevice> kPcUarts = {Uart("/dev/ttyS3", 0), Uart("/dev/ttyS1", 0),
                                            Uart("/dev/ttyS0", 4), Uart("/dev/ttyS2", 0)};

struct Machine {
    const char* name;
    std::vector<SerialDevice> devices;
    std::map<int, PortKey> keys;  // COMn -> key
    // COM1, COM2, ... as device and details; the rest stand for nothing.
    std::vector<std::pair<std::string, std::string>> expected;
};

std::vector<SerialDevice> Join(std::vector<SerialDevice> a, const std::vector<SerialDevice>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Machine kMachines[] = {
    {"no serial hardware", {}, {}, {}},
    {"a PC whose UART names have one UART behind them",
     kPcUarts,
     {},
     {{"/dev/ttyS0", "16550A UART"}}},
    {"USB adapters first in by-id order, then UARTs, then other devices",
     Join({Other("/dev/rfcomm0", "btusb"), Usb("/dev/ttyUSB1", kCh340Link, "USB Serial", ""),
           Usb("/dev/ttyUSB0", kFtdiLink, "FT232R USB UART", "FTDI")},
          kPcUarts),
     {},
     {{"/dev/ttyUSB1", "USB Serial"},
      {"/dev/ttyUSB0", "FT232R USB UART (FTDI)"},
      {"/dev/ttyS0", "16550A UART"},
      {"/dev/rfcomm0", "serial device (btusb)"}}},
    {"an adapter keeps its place when it comes back under another name",
     {Usb("/dev/ttyUSB2", kFtdiLink, "FT232R USB UART", "FTDI"),
      Usb("/dev/ttyUSB0", kCh340Link, "USB Serial", "")},
     {},
     {{"/dev/ttyUSB0", "USB Serial"}, {"/dev/ttyUSB2", "FT232R USB UART (FTDI)"}}},
    {"UARTs count by number and adapters without by-id links follow those with",
     {Uart("/dev/ttyS10", 4), Uart("/dev/ttyS2", 1), Usb("/dev/ttyACM0", "", "", ""),
      Usb("/dev/ttyUSB3", kFtdiLink, "", "FTDI")},
     {},
     {{"/dev/ttyUSB3", "USB serial adapter (FTDI)"},
      {"/dev/ttyACM0", "USB serial adapter"},
      {"/dev/ttyS2", "8250 UART"},
      {"/dev/ttyS10", "16550A UART"}}},
    {"a key pins an adapter and the others move up",
     {Usb("/dev/ttyUSB1", kCh340Link, "USB Serial", ""),
      Usb("/dev/ttyUSB0", kFtdiLink, "FT232R USB UART", "FTDI"), Uart("/dev/ttyS0", 4)},
     {{1, {kFtdiLink, "/dev/ttyUSB0"}}},
     {{kFtdiLink, "FT232R USB UART (FTDI) [Ports]"},
      {"/dev/ttyUSB1", "USB Serial"},
      {"/dev/ttyS0", "16550A UART"}}},
    {"keys name a port by its device file or a link to it",
     {Usb("/dev/ttyUSB0", kFtdiLink, "FT232R USB UART", "FTDI"),
      Usb("/dev/ttyUSB1", kCh340Link, "USB Serial", ""), Uart("/dev/ttyS0", 4)},
     {{2, {"/dev/ttyUSB1", "/dev/ttyUSB1"}}, {3, {"/dev/my-adapter", "/dev/ttyUSB0"}}},
     {{"/dev/ttyS0", "16550A UART"},
      {"/dev/ttyUSB1", "USB Serial [Ports]"},
      {"/dev/my-adapter", "FT232R USB UART (FTDI) [Ports]"}}},
    {"keys have the last word, also for what is not there",
     kPcUarts,
     {{1, {"/dev/pts/4", "/dev/pts/4"}},
      {3, {"/dev/ttyS1", "/dev/ttyS1"}},
      {10, {"/dev/gone", ""}}},
     {{"/dev/pts/4", "[Ports]"},
      {"/dev/ttyS0", "16550A UART"},
      {"/dev/ttyS1", "no UART [Ports]"},
      {"", ""},
      {"", ""},
      {"", ""},
      {"", ""},
      {"", ""},
      {"", ""},
      {"/dev/gone", "[Ports]"}}},
};

class PortMapping : public ::testing::TestWithParam<Machine> {};

TEST_P(PortMapping, EachComPortStandsForTheExpectedDevice) {
    const Machine& machine = GetParam();
    std::vector<PortKey> keys(10);
    for (const auto& [portNo, key] : machine.keys) keys[portNo - 1] = key;
    const std::vector<PortEntry> entries = MapPorts(machine.devices, keys);
    ASSERT_EQ(entries.size(), 10u);
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto expected = i < machine.expected.size() ? machine.expected[i]
                                                          : std::pair<std::string, std::string>();
        EXPECT_EQ(entries[i].portNo, static_cast<int>(i) + 1);
        EXPECT_EQ(entries[i].device, expected.first) << "COM" << i + 1;
        EXPECT_EQ(entries[i].details, expected.second) << "COM" << i + 1;
        EXPECT_EQ(entries[i].keyed, machine.keys.count(static_cast<int>(i) + 1) == 1);
    }
}

INSTANTIATE_TEST_SUITE_P(ScriptedMachines, PortMapping, ::testing::ValuesIn(kMachines),
                         [](const auto& info) { return "machine" + std::to_string(info.index); });

// Windows: ports are COM names. COMn is the system's own COMn where it exists; ports above
// the list fill the entries whose own port is missing.
SerialDevice Com(int n, const std::string& friendlyName, bool usb = true) {
    SerialDevice device;
    device.portName = "COM" + std::to_string(n);
    device.device = R"(\\.\)" + device.portName;
    device.friendlyName = friendlyName;
    device.usb = usb;
    return device;
}
SerialDevice RegistryCom(int n, const std::string& driverDevice) {
    SerialDevice device = Com(n, "", false);
    device.driver = driverDevice;
    return device;
}
std::string Own(int n) {
    return R"(\\.\COM)" + std::to_string(n);
}

const Machine kWindowsMachines[] = {
    {"a COM port and an adapter keep their own numbers",
     {Com(5, "USB Serial Port (COM5)"), Com(1, "Communications Port (COM1)", false)},
     {},
     {{Own(1), "Communications Port (COM1)"},
      {Own(2), ""},
      {Own(3), ""},
      {Own(4), ""},
      {Own(5), "USB Serial Port (COM5)"}}},
    {"adapters above COM10 take the entries whose own port is missing, in number order",
     {Com(13, "USB Serial Port (COM13)"), Com(1, "Communications Port (COM1)", false),
      Com(11, "Prolific USB-to-Serial Comm Port (COM11)"), Com(3, "USB Serial Device (COM3)")},
     {},
     {{Own(1), "Communications Port (COM1)"},
      {Own(11), "Prolific USB-to-Serial Comm Port (COM11)"},
      {Own(3), "USB Serial Device (COM3)"},
      {Own(13), "USB Serial Port (COM13)"}}},
    {"a key has the last word and the port above the list it names is not given again",
     {Com(15, "USB Serial Port (COM15)"), Com(12, "USB Serial Port (COM12)"),
      Com(3, "USB Serial Device (COM3)")},
     {{1, {"com15", Own(15)}}, {4, {R"(\\.\COM3)", Own(3)}}},
     {{Own(15), "USB Serial Port (COM15) [Ports]"},
      {Own(12), "USB Serial Port (COM12)"},
      {Own(3), "USB Serial Device (COM3)"},
      {Own(3), "USB Serial Device (COM3) [Ports]"}}},
    {"COM10 stands in its own entry only, never also for a missing lower one",
     {Com(10, "USB Serial Port (COM10)"), Com(12, "USB Serial Port (COM12)")},
     {},
     {{Own(12), "USB Serial Port (COM12)"},
      {Own(2), ""},
      {Own(3), ""},
      {Own(4), ""},
      {Own(5), ""},
      {Own(6), ""},
      {Own(7), ""},
      {Own(8), ""},
      {Own(9), ""},
      {Own(10), "USB Serial Port (COM10)"}}},
    {"ports that only the registry lists are named by their driver's device",
     {RegistryCom(2, R"(\Device\Serial1)"), RegistryCom(1, R"(\Device\Serial0)")},
     {},
     {{Own(1), R"(serial device (\Device\Serial0))"},
      {Own(2), R"(serial device (\Device\Serial1))"}}},
};

class ComPortMapping : public ::testing::TestWithParam<Machine> {};

TEST_P(ComPortMapping, EachComPortOpensTheExpectedDevice) {
    const Machine& machine = GetParam();
    std::vector<PortKey> keys(10);
    for (const auto& [portNo, key] : machine.keys) keys[portNo - 1] = key;
    const std::vector<PortEntry> entries = MapComPorts(machine.devices, keys);
    ASSERT_EQ(entries.size(), 10u);
    for (size_t i = 0; i < entries.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        const auto expected = i < machine.expected.size() ? machine.expected[i]
                                                          : std::make_pair(Own(n), std::string());
        EXPECT_EQ(entries[i].portNo, n);
        EXPECT_EQ(entries[i].device, expected.first) << "COM" << n;
        EXPECT_EQ(entries[i].details, expected.second) << "COM" << n;
        EXPECT_EQ(entries[i].keyed, machine.keys.count(n) == 1);
    }
}

INSTANTIATE_TEST_SUITE_P(ScriptedWindowsMachines, ComPortMapping,
                         ::testing::ValuesIn(kWindowsMachines),
                         [](const auto& info) { return "machine" + std::to_string(info.index); });

TEST(ComPortNames, NumberOfAComName) {
    const std::pair<const char*, int> cases[] = {
        {"COM1", 1},      {"com15", 15}, {R"(\\.\COM15)", 15}, {"COM12345678", 12345678},
        {"COM0", 0},      {"COM05", 0},  {"COM", 0},           {"COM1x", 0},
        {"LPT1", 0},      {"NUL", 0},    {R"(C:\x.mxd)", 0},   {"COM123456789", 0},
        {"/dev/ttyS0", 0}};
    for (const auto& [name, number] : cases) EXPECT_EQ(ComPortNumber(name), number) << name;
}

}  // namespace
}  // namespace mxc9
