// The Linux layer under the serial component: one open tty as an ISerialPort.
#pragma once

#include <memory>
#include <string>

#include "serial/PortApi.h"

namespace mxc9 {

// Opens `path` for exclusive use in raw mode; null when the device is missing, is not a
// tty or is held by someone else. Closing gives the device its own settings back.
std::unique_ptr<ISerialPort> OpenPosixPort(const std::string& path);

}  // namespace mxc9
