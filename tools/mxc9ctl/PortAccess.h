// Which device file a PORT argument stands for, and what stands in the way of opening it.
#pragma once

#include <optional>
#include <string>

#include "app/AppSettings.h"

namespace mxc9::ctl {

struct PortChoice {
    int portNo = 0;     // 1..10 for COMn, 0 for a device path given directly
    std::string label;  // "COM3 (/dev/ttyUSB0)", "COM4" when it stands for no device, or the path
    std::string path;   // the device file; "" when COMn stands for no device
};

// "COM1".."COM10" (any letter case) as the window maps them, or a path (anything with a
// '/', /dev/serial/by-id/... included); nullopt for anything else.
std::optional<PortChoice> ResolvePort(const std::string& port, const AppSettings& settings);

enum class PortState {
    Available,         // a tty that nobody holds
    Missing,           // no such device, or no hardware behind it
    Busy,              // another program holds it
    PermissionDenied,  // the user may not open it
    NotSerial,         // a file that is not a terminal device
    Unusable,          // any other refusal (error keeps errno)
};

struct PortProbe {
    PortState state = PortState::Available;
    int error = 0;  // errno of the refusal
    // For PermissionDenied: the device file's owner, group and permission bits; the names
    // are "" when unknown.
    std::string owner{}, group{};
    unsigned mode = 0;
};

// Opens the device as the serial component does (read-write, no controlling terminal,
// exclusive lock) and closes it again at once, without changing its settings. Only to
// explain a port that would not open: opening a UART pulses its DTR and RTS lines.
PortProbe ProbePort(const std::string& path);
// What the file system tells without opening the device: whether it exists, is a
// character device and may be read and written by this user. Never Busy.
PortProbe InspectPort(const std::string& path);

// A few words for `ports`: "present", "missing", ...
std::string PortStateText(const PortProbe& probe);
// The error line when a port cannot be used, naming the cause. When permission is
// denied: the dialout group where joining it helps, else the device's owner and group.
std::string PortProblem(const PortChoice& port, const PortProbe& probe);

// Fills in the owner, group and mode of the file at `path` (where it can be looked at).
void AddOwnership(const std::string& path, PortProbe& probe);

// The words of the system the tool is built for, where Linux and Windows say it
// differently (PortAccess.cpp, PortAccessWin32.cpp); PortStateText and PortProblem say the
// rest (PortTexts.cpp).
namespace system_words {
std::string ErrorText(int error);                     // the system's text of an error number
std::string PermissionState(const PortProbe& probe);  // `ports`: "permission denied ..."
std::string PermissionProblem(const std::string& name, const PortProbe& probe);
extern const char* const kNoDeviceHint;   // after "port COM4 stands for no device"
extern const char* const kMissingReason;  // after "port COM4 is missing: "
}  // namespace system_words

}  // namespace mxc9::ctl
