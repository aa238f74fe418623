#include "app/AppSettings.h"

#include "app/ApplicationShell.h"
#include "platform/FileAccess.h"
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

std::string AppSettings::path() const {
    return folder_.settingsFolder() + kAppSettingsFileName;
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
        // The per-user folder of an installed program is made when first needed; when it
        // cannot be, writing the file reports it.
        if (folder_.installed()) CreateFolders(folder_.settingsFolder());
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

std::vector<PortEntry> AppSettings::PortEntries() const {
    const IniFile ini(path());
    std::vector<PortKey> keys;
    for (int n = 1; n < kPortListEntries; ++n) {
        PortKey key{ini.readString(kPortsSection, "COM" + std::to_string(n), ""), {}};
        if (!key.path.empty()) key.target = PortKeyTarget(key.path);
        keys.push_back(std::move(key));
    }
    if (SystemPortNaming() == PortNaming::ComNames)
        return MapComPorts(devices_.serialDevices(), keys);
    return MapPorts(devices_.serialDevices(), keys);
}

std::string AppSettings::PortDevicePath(int portNo) const {
    const std::vector<PortEntry> entries = PortEntries();
    return portNo >= 1 && portNo <= static_cast<int>(entries.size()) ? entries[portNo - 1].device
                                                                     : std::string();
}

}  // namespace mxc9
