#include "app/AppSettings.h"

#include "app/ApplicationShell.h"
#include "platform/IniFile.h"

namespace mxc9 {

namespace {

constexpr const char* kSection = "MXC9";
constexpr const char* kKey = "CommPort";
constexpr const char* kPortsSection = "Ports";

}  // namespace

std::vector<std::string> PortListItems() {
    std::vector<std::string> items{"OFF"};
    for (int n = 1; n < kPortListEntries; ++n) items.push_back("COM" + std::to_string(n));
    return items;
}

std::string DefaultPortDevicePath(int portNo) {
    return "/dev/ttyS" + std::to_string(portNo - 1);
}

std::string AppSettings::path() const {
    return folder_.folder() + kAppSettingsFileName;
}

bool AppSettings::LoadAppSettings(int& listIndex) const {
    IniFile ini(path());
    const int32_t value = ini.readInteger(kSection, kKey, -1);
    if (value >= 1 && value < kPortListEntries) {
        listIndex = value;
        return true;
    }
    listIndex = 0;
    return false;
}

bool AppSettings::SaveAppSettings(int listIndex) {
    try {
        IniFile ini(path());
        ini.writeInteger(kSection, kKey, listIndex);
        ini.updateFile();
        return true;
    } catch (const std::exception& error) {
        // A read-only program folder: say so and let the caller go on.
        ShowDefaultError(messages_, error.what());
        return false;
    }
}

int AppSettings::RestorePortEntry() {
    int listIndex = 0;
    if (!LoadAppSettings(listIndex)) SaveAppSettings(listIndex);
    return listIndex;
}

std::string AppSettings::PortDevicePath(int portNo) const {
    IniFile ini(path());
    std::string device = ini.readString(kPortsSection, "COM" + std::to_string(portNo), "");
    return device.empty() ? DefaultPortDevicePath(portNo) : device;
}

}  // namespace mxc9
