// The Linux layer under the serial component: one open tty as an ISerialPort.
#pragma once

#include <memory>
#include <string>

#include "serial/PortApi.h"

struct termios;

namespace mxc9 {

// The line settings as a tty takes them, written over `tio`: raw mode, data bits, parity,
// stop bits, the handshakes and the Xon and Xoff characters (the speed and the modem
// lines are set apart). False when the state holds a value no tty takes.
bool LineSettingsToTermios(const PortState& state, termios& tio);

// Opens `path` for exclusive use in raw mode; null when the device is missing, is not a
// tty or is held by someone else. Closing gives the device its own settings back.
std::unique_ptr<ISerialPort> OpenPosixPort(const std::string& path);

}  // namespace mxc9
