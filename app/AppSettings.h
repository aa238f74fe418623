// The application settings file MXC9.ini, beside the program or, for an installed program,
// per user (platform/ProgramFolder.h): it remembers the entry of the COM port list ("OFF",
// "COM1".."COM10" at indexes 0..10) as [MXC9] CommPort=n, and may pin the device file of a
// COMn in an optional [Ports] section (COM1=/dev/serial/by-id/..., COM2=/dev/ttyUSB0);
// COMn without a key is a serial port found on the machine (device/PortMap.h). The
// program writes only CommPort; every other section and key stays as the user wrote it.
#pragma once

#include <string>
#include <vector>

#include "device/PortMap.h"
#include "device/PortSettings.h"
#include "platform/Seams.h"
#include "platform/SerialDevices.h"

namespace mxc9 {

inline constexpr const char* kAppSettingsFileName = "MXC9.ini";

// "OFF", "COM1", .., "COM10".
std::vector<std::string> PortListItems();

class AppSettings : public IPortSettings {
  public:
    // No seam is owned. The folder is asked again at each access, the devices at each
    // mapping; devices nullptr: the machine's own.
    AppSettings(const IProgramFolder& folder, IMessageBoxes& messages,
                const ISerialDeviceSource* devices = nullptr)
        : folder_(folder), messages_(messages), devices_(devices ? *devices : systemDevices_) {}
    AppSettings(const AppSettings&) = delete;
    AppSettings& operator=(const AppSettings&) = delete;

    // Settings folder + "MXC9.ini".
    std::string path() const;

    // Reads CommPort. 1..10: listIndex := the value and true. Anything else (missing
    // file, section or key, 0, out of range, not an integer): listIndex := 0 and false.
    bool LoadAppSettings(int& listIndex) const;
    // Writes listIndex as CommPort, creating the file and section when missing. A file
    // that cannot be written is reported in a message box; returns whether it was saved.
    bool SaveAppSettings(int listIndex) override;

    // Start-up: the entry to show in the port list. An invalid or missing entry is
    // replaced in the file by 0 at once.
    int RestorePortEntry();

    // COM1..COM10 as the machine stands now: [Ports] COMn when present and not empty,
    // else the next serial port found that no key names.
    std::vector<PortEntry> PortEntries() const;
    // The device file of COMn; "" when it stands for nothing.
    std::string PortDevicePath(int portNo) const override;

  private:
    const IProgramFolder& folder_;
    IMessageBoxes& messages_;
    SystemSerialDevices systemDevices_;
    const ISerialDeviceSource& devices_;
};

}  // namespace mxc9
