// The application settings file MXC9.ini beside the program: it remembers the entry of
// the COM port list ("OFF", "COM1".."COM10" at indexes 0..10) as [MXC9] CommPort=n, and
// tells which device file each COMn is on Linux through an optional [Ports] section
// (COM1=/dev/ttyUSB0, ...). The program writes only CommPort; every other section and
// key stays as the user wrote it.
#pragma once

#include <string>
#include <vector>

#include "device/PortSettings.h"
#include "platform/Seams.h"

namespace mxc9 {

inline constexpr const char* kAppSettingsFileName = "MXC9.ini";

// "OFF", "COM1", .., "COM10".
std::vector<std::string> PortListItems();
// The serial component's own device file for COMn: /dev/ttyS followed by n - 1.
std::string DefaultPortDevicePath(int portNo);

class AppSettings : public IPortSettings {
  public:
    // Neither seam is owned. The folder is asked again at each access.
    AppSettings(const IProgramFolder& folder, IMessageBoxes& messages)
        : folder_(folder), messages_(messages) {}

    // Program folder + "MXC9.ini".
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

    // The device file of COMn: [Ports] COMn when present and not empty, else the default.
    std::string PortDevicePath(int portNo) const override;

  private:
    const IProgramFolder& folder_;
    IMessageBoxes& messages_;
};

}  // namespace mxc9
