// The Windows layer under the serial component: one COM port opened with CreateFile for
// overlapped input and output, as an ISerialPort. The only file of the component that
// includes windows.h.
#pragma once

#include <memory>
#include <string>

#include "serial/PortApi.h"

namespace mxc9 {

// "\\.\COM5" for COM5; the device-name prefix keeps COM10 and above openable.
std::string Win32PortName(int32_t portNo);

// Opens `path` ("\\.\COM5", UTF-8) for exclusive use; null when it does not exist, is
// held by another program, or is not a communications device (NUL, a disk file). The
// reason is left in GetLastError.
std::unique_ptr<ISerialPort> OpenWin32Port(const std::string& path);

}  // namespace mxc9
