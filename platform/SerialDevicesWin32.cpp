#include "platform/SerialDevices.h"
#include "platform/WideText.h"

// After our own header: windows.h's macros would otherwise rename what it declares.
#include <windows.h>
// clang-format off
#include <setupapi.h>
// clang-format on

#include <memory>
#include <set>

namespace mxc9 {

namespace {

// The COM-port device interface class (from the driver kit's ntddser.h) and the Ports
// setup class (devguid.h). Some adapter drivers register only one of the two.
constexpr GUID kComPortInterface = {
    0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};
constexpr GUID kPortsClass = {
    0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

std::string Narrow(const wchar_t* text, size_t length) {
    return WideToUtf8(std::wstring_view(text, length));
}

// A string property of the device (its first string, for a list of them).
std::string DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t buffer[512] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type,
                                           reinterpret_cast<BYTE*>(buffer),
                                           sizeof buffer - sizeof(wchar_t), nullptr))
        return {};
    if (type != REG_SZ && type != REG_MULTI_SZ) return {};
    return Narrow(buffer, wcsnlen(buffer, std::size(buffer)));
}

// The PortName value of the device's own registry key ("COM5"; "LPT1" in the Ports class).
std::string DevicePortName(HDEVINFO set, SP_DEVINFO_DATA& device) {
    HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return {};
    wchar_t buffer[64] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer - sizeof(wchar_t);
    const LSTATUS status =
        RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return {};
    return Narrow(buffer, wcsnlen(buffer, std::size(buffer)));
}

bool IsUsb(const std::string& enumerator, const std::string& hardwareId) {
    // FTDI's driver enumerates its ports under FTDIBUS, others under USB.
    return enumerator == "USB" || enumerator == "FTDIBUS" ||
           hardwareId.find("VID_") != std::string::npos;
}

void AddDevicesOf(const GUID& guid, DWORD flags, std::vector<SerialDevice>& found,
                  std::set<int>& seen) {
    HDEVINFO set = SetupDiGetClassDevsW(&guid, nullptr, nullptr, flags | DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        SerialDevice port;
        port.portName = DevicePortName(set, device);
        const int n = ComPortNumber(port.portName);
        if (n == 0 || !seen.insert(n).second) continue;
        port.device = R"(\\.\)" + port.portName;
        port.friendlyName = DeviceProperty(set, device, SPDRP_FRIENDLYNAME);
        if (port.friendlyName.empty())
            port.friendlyName = DeviceProperty(set, device, SPDRP_DEVICEDESC);
        port.hardwareId = DeviceProperty(set, device, SPDRP_HARDWAREID);
        port.manufacturer = DeviceProperty(set, device, SPDRP_MFG);
        port.usb = IsUsb(DeviceProperty(set, device, SPDRP_ENUMERATOR_NAME), port.hardwareId);
        port.driver = DeviceProperty(set, device, SPDRP_SERVICE);
        found.push_back(std::move(port));
    }
    SetupDiDestroyDeviceInfoList(set);
}

// HARDWARE\DEVICEMAP\SERIALCOMM: one value per port a driver has made, its name the
// driver's device ("\Device\Serial0"), its data the COM name.
void AddRegistryPorts(std::vector<SerialDevice>& found, std::set<int>& seen) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        wchar_t data[64] = {};
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                             reinterpret_cast<BYTE*>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || type != REG_SZ) continue;
        SerialDevice port;
        port.portName = Narrow(data, wcsnlen(data, std::size(data)));
        const int n = ComPortNumber(port.portName);
        if (n == 0 || !seen.insert(n).second) continue;
        port.device = R"(\\.\)" + port.portName;
        port.driver = Narrow(name, nameLength);
        found.push_back(std::move(port));
    }
    RegCloseKey(key);
}

}  // namespace

PortNaming SystemPortNaming() {
    return PortNaming::ComNames;
}

std::string PortKeyTarget(const std::string& keyText) {
    const int n = ComPortNumber(keyText);
    if (n > 0) return R"(\\.\COM)" + std::to_string(n);
    return keyText;  // another device name, opened as it is written
}

// SetupAPI knows what each port is; the registry also lists ports whose driver made no
// device entry there (and is all that Wine has). No port is opened.
std::vector<SerialDevice> SystemSerialDevices::serialDevices() const {
    std::vector<SerialDevice> found;
    std::set<int> seen;
    AddDevicesOf(kComPortInterface, DIGCF_DEVICEINTERFACE, found, seen);
    AddDevicesOf(kPortsClass, 0, found, seen);
    AddRegistryPorts(found, seen);
    return found;
}

}  // namespace mxc9
