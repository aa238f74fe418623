// mxc9ctl's commands over the window's own logic: the settings-file reader and writer, the
// page on screen, the page store, the device link and the serial component.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace mxc9::ctl {

inline constexpr int kExitDone = 0;
inline constexpr int kExitDevice = 1;  // the controller could not be reached or answered wrongly
inline constexpr int kExitDiffer = 1;  // diff: the pages differ
inline constexpr int kExitUsage = 2;   // bad usage, or a file that cannot be read or written

// A command that cannot go on: its exit status and one line saying what happened.
struct CtlFailure {
    int status;
    std::string message;
};

// Runs the command line `args` (without the program name). Results go to `out`; a failure
// is one line on `err`, starting "mxc9ctl: ". Returns the exit status.
int RunCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace mxc9::ctl
