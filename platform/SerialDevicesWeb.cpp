// The serial ports in the browser: the ports the user has allowed this site, in the
// order the browser lists them (app/web/serial.js). The browser tells of a USB port only
// its vendor and product numbers; the common adapters are named from those as the
// system's hardware database names them on Linux. A port is "webserial:N", the N-th
// allowed port counted from 1, which the page's serial code opens.
#include <emscripten.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/SerialDevices.h"

namespace mxc9 {

namespace {

// clang-format off
// How many ports the site may use, and the USB numbers of one (vendor << 16 | product;
// -1 when the port is not a USB one).
EM_JS(int, AllowedPortCount, (), {
    return Module.serial ? Module.serial.allowedPorts().length : 0;
});
EM_JS(int, AllowedPortUsbIds, (int index), {
    const info = Module.serial.allowedPorts()[index];
    if (info.usbVendorId === undefined) return -1;
    return (info.usbVendorId << 16) | (info.usbProductId || 0);
});
// clang-format on

struct KnownAdapter {
    int vendor;
    int product;  // -1: any product of the vendor
    const char* maker;
    const char* model;
};

// The chips most adapters are built on, by their USB numbers. CDC-ACM adapters have no
// number of their own: the boards most often used as one are listed by their maker.
constexpr KnownAdapter kKnownAdapters[] = {
    {0x0403, 0x6001, "FTDI", "FT232R USB UART"},
    {0x0403, 0x6015, "FTDI", "FT231X USB UART"},
    {0x0403, 0x6010, "FTDI", "FT2232C/D/H Dual UART"},
    {0x0403, 0x6014, "FTDI", "FT232H Single HS USB-UART"},
    {0x0403, -1, "FTDI", ""},
    {0x1A86, 0x7523, "QinHeng Electronics", "CH340 serial converter"},
    {0x1A86, 0x5523, "QinHeng Electronics", "CH341 in serial mode"},
    {0x1A86, 0x55D4, "QinHeng Electronics", "CH9102 serial converter"},
    {0x10C4, 0xEA60, "Silicon Labs", "CP210x UART Bridge"},
    {0x10C4, 0xEA70, "Silicon Labs", "CP2105 Dual UART Bridge"},
    {0x067B, 0x2303, "Prolific Technology", "PL2303 Serial Port"},
    {0x067B, 0x23A3, "Prolific Technology", "PL2303GC Serial Port"},
    {0x2341, -1, "Arduino SA", "CDC-ACM serial port"},
    {0x0483, 0x5740, "STMicroelectronics", "Virtual COM Port (CDC-ACM)"},
    {0x2E8A, -1, "Raspberry Pi", "CDC-ACM serial port"},
};

}  // namespace

PortNaming SystemPortNaming() {
    return PortNaming::DeviceFiles;
}

std::string PortKeyTarget(const std::string& keyText) {
    return keyText;
}

std::vector<SerialDevice> SystemSerialDevices::serialDevices() const {
    std::vector<SerialDevice> devices;
    const int count = AllowedPortCount();
    for (int i = 0; i < count; ++i) {
        SerialDevice device;
        device.device = "webserial:" + std::to_string(i + 1);
        // Every port counts as an adapter, so that the list keeps the browser's order.
        device.usb = true;
        const int ids = AllowedPortUsbIds(i);
        if (ids < 0) {
            // A Bluetooth or built-in port: the browser tells nothing more of it.
            device.modelFromDatabase = "serial port";
        } else {
            const int vendor = ids >> 16, product = ids & 0xFFFF;
            for (const KnownAdapter& known : kKnownAdapters) {
                if (known.vendor == vendor && (known.product < 0 || known.product == product)) {
                    device.vendorFromDatabase = known.maker;
                    device.modelFromDatabase = known.model;
                    break;
                }
            }
            if (device.vendorFromDatabase.empty()) {
                char numbers[16];
                std::snprintf(numbers, sizeof numbers, "%04x:%04x", vendor, product);
                device.modelFromDatabase = std::string("USB serial adapter ") + numbers;
            }
        }
        devices.push_back(std::move(device));
    }
    return devices;
}

}  // namespace mxc9
