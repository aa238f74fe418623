// What the port list needs of the program's settings: which device file each COMn is,
// and remembering the entry the user chose. The application shell supplies it.
#pragma once

#include <string>

namespace mxc9 {

inline constexpr int kPortListEntries = 11;  // "OFF" and COM1..COM10

class IPortSettings {
  public:
    virtual ~IPortSettings() = default;

    // The device file of COMn (1..10).
    virtual std::string PortDevicePath(int portNo) const = 0;
    // Remembers the port list entry (0 "OFF", n "COMn"); returns whether it was kept.
    virtual bool SaveAppSettings(int listIndex) = 0;
};

}  // namespace mxc9
