// The command line of mxc9ctl: one command, its options and its file.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mxc9::ctl {

enum class CommandKind { None, Show, Read, Write, Diff, Ports };

struct CtlOptions {
    CommandKind command = CommandKind::None;
    bool help = false;           // --help: the usage of `command` (None: of the tool)
    bool version = false;        // --version
    std::string file;            // show, write, diff: the (first) settings file
    std::string secondFile;      // diff: the settings file compared with `file`
    std::string port;            // read, write: COM1..COM10 or a device path
    std::string save;            // read: the settings file to save the page in
    std::string name = "DATA1";  // read: the page name of the saved or printed page
    std::string page;            // write, diff: a page name or number; empty for the first page
    bool verify = false;         // write: read the controller back and compare
    int attempts = 1;            // read, write: requests per transaction
    bool json = false;           // show, read
};

struct ParsedArguments {
    std::optional<CtlOptions> options;  // empty when the command line is wrong
    std::string error;                  // then: what is wrong, one line
};

// Arguments after the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& args);

// The usage text of a command, or of the tool for CommandKind::None.
std::string UsageText(CommandKind command);
// "show", "read", ...; "" for None.
const char* CommandName(CommandKind command);
// The first line of --version: the tool, its package and version.
std::string VersionText();

inline constexpr int kMaxAttempts = 100;

}  // namespace mxc9::ctl
