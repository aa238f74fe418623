#include "tools/mxc9ctl/CtlArguments.h"

#include <array>
#include <charconv>

namespace mxc9::ctl {

namespace {

enum class Option { Json, Port, Save, Name, Page, Attempts, Verify };

struct OptionSpec {
    const char* name;
    Option option;
    bool takesValue;
};

constexpr std::array<OptionSpec, 7> kOptions = {{
    {"--json", Option::Json, false},
    {"--port", Option::Port, true},
    {"--save", Option::Save, true},
    {"--name", Option::Name, true},
    {"--page", Option::Page, true},
    {"--attempts", Option::Attempts, true},
    {"--verify", Option::Verify, false},
}};

struct CommandSpec {
    CommandKind kind;
    const char* name;
    std::vector<Option> options;
    int files;  // settings files named on the command line
    bool needsPort;
};

const std::vector<CommandSpec>& Commands() {
    static const std::vector<CommandSpec> commands = {
        {CommandKind::Show, "show", {Option::Json}, 1, false},
        {CommandKind::Read,
         "read",
         {Option::Port, Option::Save, Option::Name, Option::Json, Option::Attempts},
         0,
         true},
        {CommandKind::Write,
         "write",
         {Option::Port, Option::Page, Option::Attempts, Option::Verify},
         1,
         true},
        {CommandKind::Diff, "diff", {Option::Page}, 2, false},
        {CommandKind::Ports, "ports", {}, 0, false},
    };
    return commands;
}

const char* kToolUsage =
    "Usage: mxc9ctl COMMAND [OPTION]... [FILE]...\n"
    "Reads and writes the MXC-9 motor speed controller over a serial line, and shows and\n"
    "compares its settings files (.mxd), without the window.\n"
    "\n"
    "Commands:\n"
    "  show FILE [--json]          every page of a settings file\n"
    "  read --port PORT [--save FILE [--name NAME]] [--json] [--attempts N]\n"
    "                              the controller's settings, as Read puts them on screen\n"
    "  write --port PORT FILE [--page NAME|NUMBER] [--verify] [--attempts N]\n"
    "                              one page of a settings file to the controller\n"
    "  diff FILE1 FILE2 [--page NAME|NUMBER]\n"
    "                              the fields in which a page of two settings files differs\n"
    "  ports                       COM1..COM10, their device files and what they are\n"
    "\n"
    "PORT is COM1..COM10, mapped to the serial ports found as the window maps them ([Ports]\n"
    "of MXC9.ini first), or a device path: /dev/ttyUSB0, a /dev/serial/by-id/ link, ...\n"
    "\n"
    "Options:\n"
    "  -h, --help                  display this help and exit; after a command, the\n"
    "                              command's own help\n"
    "      --version               output version information and exit\n"
    "      --port PORT             read, write: the controller's port\n"
    "      --save FILE             read: also save the page as a one-page settings file\n"
    "      --name NAME             read: the page name (default DATA1)\n"
    "      --json                  show, read: one JSON object instead of the table\n"
    "      --page NAME|NUMBER      write, diff: the page named so, else the page of that\n"
    "                              number counted from 1 (default: the first)\n"
    "      --verify                write: read the controller back and compare\n"
    "      --attempts N            read, write: requests per transaction (default 1)\n"
    "\n"
    "Exit status:\n"
    "  0  done (diff: the pages are the same)\n"
    "  1  the controller could not be reached, answered wrongly or does not hold what was\n"
    "     written (diff: the pages differ)\n"
    "  2  bad usage, or a file that cannot be read or written\n"
    "\n"
    "Examples:\n"
    "  mxc9ctl read --port COM1 --save backup.mxd --name Track\n"
    "\n"
    "  mxc9ctl write --port COM1 backup.mxd --verify\n"
    "\n"
    "  mxc9ctl diff dry.mxd wet.mxd --page 2\n";

const char* kShowUsage =
    "Usage: mxc9ctl show FILE [--json]\n"
    "Prints every page of the settings file FILE as the program reads it: pages from\n"
    "before the version key migrated, values as they stand in the file (not limited to\n"
    "the controls' ranges; a value outside them is marked).\n"
    "  --json   one object {\"pages\": [...]} instead of the table\n";

const char* kReadUsage =
    "Usage: mxc9ctl read --port PORT [--save FILE [--name NAME]] [--json] [--attempts N]\n"
    "Reads the controller and prints its settings as the window holds them after Read\n"
    "(bars kept within their ranges, -1 for a list that shows no entry).\n"
    "  --port PORT     COM1..COM10 or a device path\n"
    "  --save FILE     also save the page as a one-page settings file, as \"Save\" does\n"
    "                  (\".mxd\" is added to a name without an extension)\n"
    "  --name NAME     the page name (default DATA1)\n"
    "  --json          print one object {\"pages\": [...]} instead of the table\n"
    "  --attempts N    requests sent before giving up (default 1, as the window)\n";

const char* kWriteUsage =
    "Usage: mxc9ctl write --port PORT FILE [--page NAME|NUMBER] [--verify] [--attempts N]\n"
    "Writes one page of the settings file FILE to the controller exactly as the window's\n"
    "Write does with that page on screen: the controller is read first and the bytes the\n"
    "page does not hold go back as read; values outside the controls' ranges are sent as\n"
    "the controls would show them.\n"
    "  --port PORT     COM1..COM10 or a device path\n"
    "  --page P        the page named P, else page number P counted from 1 (default: 1)\n"
    "  --verify        afterwards read the controller back and compare every byte the\n"
    "                  page holds; exit 1 naming the first field that differs\n"
    "  --attempts N    requests sent per transaction before giving up (default 1)\n";

const char* kDiffUsage =
    "Usage: mxc9ctl diff FILE1 FILE2 [--page NAME|NUMBER]\n"
    "Compares a page of FILE1 with the page of FILE2 (the first of each by default) and\n"
    "prints one line for each field that differs: its key in the settings file, the value\n"
    "in FILE1 and the value in FILE2 (the comment as a quoted string). Values are as the\n"
    "files hold them; page names are not compared.\n"
    "  --page P        in each file, the page named P, else page number P counted from 1\n"
    "Exit status: 0 the pages are the same, 1 they differ, 2 bad usage or a file that\n"
    "cannot be read.\n";

const char* kPortsUsage =
    "Usage: mxc9ctl ports\n"
    "Lists COM1..COM10 as the window maps them: the device file each stands for, whether\n"
    "it is there and this user may open it (told by the file system: no port is opened)\n"
    "and what it is. A [Ports] key of MXC9.ini (beside mxc9ctl, or ~/.config/mxc9/ when\n"
    "installed) pins a COMn; the others take the serial ports found, USB adapters first\n"
    "in /dev/serial/by-id order, then UARTs, then other serial devices.\n";

const OptionSpec* FindOption(const std::string& name) {
    for (const OptionSpec& entry : kOptions)
        if (name == entry.name) return &entry;
    return nullptr;
}

bool ParseAttempts(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && value >= 1 && value <= kMaxAttempts;
}

ParsedArguments Fail(const std::string& command, const std::string& what) {
    const std::string prefix = command.empty() ? "mxc9ctl" : "mxc9ctl " + command;
    const std::string help = command.empty() ? "mxc9ctl --help" : prefix + " --help";
    return {std::nullopt, prefix + ": " + what + " (see " + help + ")"};
}

}  // namespace

const char* CommandName(CommandKind command) {
    for (const CommandSpec& entry : Commands())
        if (entry.kind == command) return entry.name;
    return "";
}

std::string VersionText() {
    return std::string("mxc9ctl (MXC-9 Manager) ") + MXC9CTL_VERSION + "\n";
}

std::string UsageText(CommandKind command) {
    switch (command) {
        case CommandKind::Show:
            return kShowUsage;
        case CommandKind::Read:
            return kReadUsage;
        case CommandKind::Write:
            return kWriteUsage;
        case CommandKind::Diff:
            return kDiffUsage;
        case CommandKind::Ports:
            return kPortsUsage;
        case CommandKind::None:
            break;
    }
    return kToolUsage;
}

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    CtlOptions options;
    if (args.empty()) return Fail("", "no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        options.help = true;
        return {options, ""};
    }
    if (args[0] == "--version") {
        options.version = true;
        return {options, ""};
    }
    const CommandSpec* command = nullptr;
    for (const CommandSpec& entry : Commands())
        if (args[0] == entry.name) command = &entry;
    if (!command) return Fail("", "unknown command '" + args[0] + "'");
    options.command = command->kind;
    const std::string name = command->name;

    for (size_t i = 1; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return {options, ""};
        }
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            const int given = options.file.empty() ? 0 : options.secondFile.empty() ? 1 : 2;
            if (given >= command->files) {
                if (command->files == 0) return Fail(name, "unexpected argument '" + arg + "'");
                return Fail(name, command->files == 1 ? "more than one FILE given"
                                                      : "more than two FILEs given");
            }
            (given == 0 ? options.file : options.secondFile) = arg;
            continue;
        }
        // --option=value is the same as --option value.
        std::optional<std::string> value;
        if (size_t equals = arg.find('='); equals != std::string::npos) {
            value = arg.substr(equals + 1);
            arg.resize(equals);
        }
        const OptionSpec* entry = FindOption(arg);
        bool allowed = false;
        if (entry)
            for (Option option : command->options) allowed = allowed || option == entry->option;
        if (!allowed) return Fail(name, "unknown option " + arg);
        if (entry->takesValue && !value) {
            if (i + 1 >= args.size()) return Fail(name, arg + " needs a value");
            value = args[++i];
        }
        if (!entry->takesValue && value) return Fail(name, arg + " takes no value");
        if (entry->takesValue && value->empty()) return Fail(name, arg + " needs a value");
        switch (entry->option) {
            case Option::Json:
                options.json = true;
                break;
            case Option::Port:
                options.port = *value;
                break;
            case Option::Save:
                options.save = *value;
                break;
            case Option::Name:
                options.name = *value;
                break;
            case Option::Page:
                options.page = *value;
                break;
            case Option::Verify:
                options.verify = true;
                break;
            case Option::Attempts:
                if (!ParseAttempts(*value, options.attempts))
                    return Fail(name, "--attempts takes a number from 1 to " +
                                          std::to_string(kMaxAttempts) + ", not '" + *value + "'");
                break;
        }
    }
    if (command->needsPort && options.port.empty()) return Fail(name, "--port PORT is missing");
    if (command->files == 1 && options.file.empty()) return Fail(name, "FILE is missing");
    if (command->files == 2 && options.secondFile.empty())
        return Fail(name, "two FILEs are needed, FILE1 and FILE2");
    return {options, ""};
}

}  // namespace mxc9::ctl
