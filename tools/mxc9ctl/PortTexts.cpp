#include "tools/mxc9ctl/PortAccess.h"

namespace mxc9::ctl {

std::string PortStateText(const PortProbe& probe) {
    switch (probe.state) {
        case PortState::Available:
            return "present";
        case PortState::Missing:
            return "missing";
        case PortState::Busy:
            return "busy (held by another program)";
        case PortState::PermissionDenied:
            return system_words::PermissionState(probe);
        case PortState::NotSerial:
            return "not a serial port";
        case PortState::Unusable:
            break;
    }
    return "cannot be opened: " + system_words::ErrorText(probe.error);
}

std::string PortProblem(const PortChoice& port, const PortProbe& probe) {
    const std::string& name = port.label;
    if (port.path.empty())
        return "port " + name + " stands for no device" + system_words::kNoDeviceHint;
    switch (probe.state) {
        case PortState::Missing:
            return "port " + name + " is missing: " + system_words::kMissingReason;
        case PortState::Busy:
            return "port " + name + " is busy: another program holds it";
        case PortState::PermissionDenied:
            return system_words::PermissionProblem(name, probe);
        case PortState::NotSerial:
            return name + " is not a serial port";
        case PortState::Unusable:
            return "port " + name + " cannot be opened: " + system_words::ErrorText(probe.error);
        case PortState::Available:
            break;
    }
    // It opens now, but the serial component could not open or set it up a moment ago.
    return "port " + name + " could not be set up for the controller's line";
}

}  // namespace mxc9::ctl
