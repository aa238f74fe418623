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

// The line-error query of the open ports (ClearCommError): the errors since the last
// query (CE_ bits) and the bytes waiting, false when the port answers nothing. Tests put
// one of their own in its place to play the line errors a pseudo-terminal never has;
// returns the query it replaces.
using LineErrorQuery = bool (*)(void* handle, uint32_t& errors, uint32_t& inQueue);
LineErrorQuery SetLineErrorQuery(LineErrorQuery query);
bool SystemLineErrorQuery(void* handle, uint32_t& errors, uint32_t& inQueue);

}  // namespace mxc9
