#include "tools/mxc9ctl/PortAccess.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace mxc9::ctl {

namespace {

// The group Debian gives serial devices; the hint names it.
constexpr const char* kSerialGroup = "dialout";

PortProbe Denied(const std::string& path, int error) {
    PortProbe probe{PortState::PermissionDenied, error};
    AddOwnership(path, probe);
    return probe;
}

// Joining the serial group opens a device that group may read and write (and one whose
// owner and group are unknown, as before).
bool GroupHintHelps(const PortProbe& probe) {
    return probe.group.empty() || (probe.group == kSerialGroup && (probe.mode & 060) == 060);
}

// "owner root, group root, mode 0600"
std::string Ownership(const PortProbe& probe) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", probe.mode & 07777);
    return "owner " + (probe.owner.empty() ? std::string("unknown") : probe.owner) + ", group " +
           probe.group + ", mode " + mode;
}

}  // namespace

void AddOwnership(const std::string& path, PortProbe& probe) {
    struct stat file;
    if (stat(path.c_str(), &file) != 0) return;
    probe.mode = file.st_mode & 07777;
    std::vector<char> buffer(16384);
    passwd user;
    passwd* userFound = nullptr;
    if (getpwuid_r(file.st_uid, &user, buffer.data(), buffer.size(), &userFound) == 0 && userFound)
        probe.owner = user.pw_name;
    else
        probe.owner = std::to_string(file.st_uid);
    group named;
    group* groupFound = nullptr;
    if (getgrgid_r(file.st_gid, &named, buffer.data(), buffer.size(), &groupFound) == 0 &&
        groupFound)
        probe.group = named.gr_name;
    else
        probe.group = std::to_string(file.st_gid);
}

std::optional<PortChoice> ResolvePort(const std::string& port, const AppSettings& settings) {
    if (port.find('/') != std::string::npos) return PortChoice{0, port, port};
    if (port.size() < 4 || strncasecmp(port.c_str(), "COM", 3) != 0) return std::nullopt;
    const std::string digits = port.substr(3);
    if (digits.empty() || digits.size() > 2 || digits[0] == '0' ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int portNo = std::stoi(digits);
    if (portNo < 1 || portNo >= kPortListEntries) return std::nullopt;
    const std::string path = settings.PortDevicePath(portNo);
    const std::string name = "COM" + digits;
    return PortChoice{portNo, path.empty() ? name : name + " (" + path + ")", path};
}

PortProbe ProbePort(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        switch (error) {
            case ENOENT:
            case ENODEV:
            case ENXIO:
            case EIO:  // a serial device file without a UART behind it
                return {PortState::Missing, error};
            case EACCES:
            case EPERM:
                return Denied(path, error);
            case EBUSY:
                return {PortState::Busy, error};
            default:
                return {PortState::Unusable, error};
        }
    }
    PortProbe probe;
    if (!isatty(fd)) {
        probe = {PortState::NotSerial, ENOTTY};
    } else if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // The serial component holds its port with this lock; so do other programs.
        probe = {PortState::Busy, errno};
    }
    close(fd);  // releases the lock too
    return probe;
}

PortProbe InspectPort(const std::string& path) {
    struct stat file;
    if (stat(path.c_str(), &file) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) return {PortState::Missing, error};
        if (error == EACCES) return {PortState::PermissionDenied, error};
        return {PortState::Unusable, error};
    }
    if (!S_ISCHR(file.st_mode)) return {PortState::NotSerial, ENOTTY};
    if (access(path.c_str(), R_OK | W_OK) != 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM || error == EROFS) return Denied(path, error);
        return {PortState::Unusable, error};
    }
    return {};
}

namespace system_words {

std::string ErrorText(int error) {
    return std::strerror(error);
}

std::string PermissionState(const PortProbe& probe) {
    return GroupHintHelps(probe) ? "permission denied (join the dialout group)"
                                 : "permission denied (" + Ownership(probe) + ")";
}

std::string PermissionProblem(const std::string& name, const PortProbe& probe) {
    if (!GroupHintHelps(probe))
        return "permission denied on " + name + ": the device has " + Ownership(probe) +
               ", which the dialout group does not open";
    return "permission denied on " + name +
           ": add your user to the dialout group (sudo usermod -aG dialout $USER) "
           "and log in again";
}

const char* const kNoDeviceHint =
    ": no serial port was found for it (see mxc9ctl ports, or pin one in [Ports] of "
    "MXC9.ini)";
const char* const kMissingReason = "no such device";

}  // namespace system_words

}  // namespace mxc9::ctl
