// mxc9ctl's own parts: the command line, the page report, the port names and probes.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>

#include "app/AppSettings.h"
#include "device/Conversions.h"
#include "tests/device/TempFolder.h"
#include "tools/mxc9ctl/CtlArguments.h"
#include "tools/mxc9ctl/PageCompare.h"
#include "tools/mxc9ctl/PageReport.h"
#include "tools/mxc9ctl/PortAccess.h"

namespace mxc9::ctl {
namespace {

// ---- command line ----------------------------------------------------------------------

struct GoodLine {
    std::vector<std::string> args;
    CommandKind command;
    std::string file, port, save, name, page;
    int attempts;
    bool json, help;
};

TEST(CtlArguments, AcceptedCommandLinesGiveTheirOptions) {
    const GoodLine cases[] = {
        {{"show", "a.mxd"}, CommandKind::Show, "a.mxd", "", "", "DATA1", "", 1, false, false},
        {{"show", "--json", "a.mxd"},
         CommandKind::Show,
         "a.mxd",
         "",
         "",
         "DATA1",
         "",
         1,
         true,
         false},
        {{"read", "--port", "COM2", "--save", "b", "--name", "Track", "--attempts", "3"},
         CommandKind::Read,
         "",
         "COM2",
         "b",
         "Track",
         "",
         3,
         false,
         false},
        {{"read", "--port=/dev/ttyUSB0", "--json", "--attempts=100"},
         CommandKind::Read,
         "",
         "/dev/ttyUSB0",
         "",
         "DATA1",
         "",
         100,
         true,
         false},
        {{"write", "f.mxd", "--port", "COM1", "--page", "2"},
         CommandKind::Write,
         "f.mxd",
         "COM1",
         "",
         "DATA1",
         "2",
         1,
         false,
         false},
        {{"write", "--page", "a b", "--port", "COM1", "f"},
         CommandKind::Write,
         "f",
         "COM1",
         "",
         "DATA1",
         "a b",
         1,
         false,
         false},
        {{"ports"}, CommandKind::Ports, "", "", "", "DATA1", "", 1, false, false},
        {{"--help"}, CommandKind::None, "", "", "", "DATA1", "", 1, false, true},
        // Help needs nothing else and wins over what is missing.
        {{"write", "--help"}, CommandKind::Write, "", "", "", "DATA1", "", 1, false, true},
        {{"read", "-h"}, CommandKind::Read, "", "", "", "DATA1", "", 1, false, true},
    };
    for (const GoodLine& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        ParsedArguments parsed = ParseArguments(c.args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        const CtlOptions& o = *parsed.options;
        EXPECT_EQ(o.command, c.command);
        EXPECT_EQ(o.file, c.file);
        EXPECT_EQ(o.port, c.port);
        EXPECT_EQ(o.save, c.save);
        EXPECT_EQ(o.name, c.name);
        EXPECT_EQ(o.page, c.page);
        EXPECT_EQ(o.attempts, c.attempts);
        EXPECT_EQ(o.json, c.json);
        EXPECT_EQ(o.help, c.help);
    }
}

TEST(CtlArguments, DiffTakesTwoFilesAndWriteVerifies) {
    struct Case {
        std::vector<std::string> args;
        CommandKind command;
        std::string file, secondFile, page;
        bool verify, version;
    };
    const Case cases[] = {
        {{"diff", "a.mxd", "b.mxd"}, CommandKind::Diff, "a.mxd", "b.mxd", "", false, false},
        {{"diff", "--page", "Wet", "a", "b"}, CommandKind::Diff, "a", "b", "Wet", false, false},
        {{"write", "f", "--verify", "--port", "COM1"},
         CommandKind::Write,
         "f",
         "",
         "",
         true,
         false},
        {{"--version"}, CommandKind::None, "", "", "", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        ParsedArguments parsed = ParseArguments(c.args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        EXPECT_EQ(parsed.options->command, c.command);
        EXPECT_EQ(parsed.options->file, c.file);
        EXPECT_EQ(parsed.options->secondFile, c.secondFile);
        EXPECT_EQ(parsed.options->page, c.page);
        EXPECT_EQ(parsed.options->verify, c.verify);
        EXPECT_EQ(parsed.options->version, c.version);
    }
}

TEST(CtlArguments, WrongCommandLinesSayWhatIsWrongAndWhereHelpIs) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{}, "mxc9ctl: no command given (see mxc9ctl --help)"},
        {{"dump"}, "mxc9ctl: unknown command 'dump'"},
        {{"show"}, "mxc9ctl show: FILE is missing (see mxc9ctl show --help)"},
        {{"show", "a", "b"}, "more than one FILE"},
        {{"show", "a", "--port", "COM1"}, "mxc9ctl show: unknown option --port"},
        {{"show", "a", "--json=yes"}, "--json takes no value"},
        {{"read"}, "mxc9ctl read: --port PORT is missing"},
        {{"read", "--port"}, "--port needs a value"},
        {{"read", "--port="}, "--port needs a value"},
        {{"read", "--port", "COM1", "x.mxd"}, "unexpected argument 'x.mxd'"},
        {{"read", "--port", "COM1", "--page", "1"}, "unknown option --page"},
        {{"read", "--port", "COM1", "--attempts", "0"}, "--attempts takes a number from 1 to 100"},
        {{"read", "--port", "COM1", "--attempts", "101"}, "not '101'"},
        {{"read", "--port", "COM1", "--attempts", "2x"}, "not '2x'"},
        {{"write", "--port", "COM1"}, "mxc9ctl write: FILE is missing"},
        {{"write", "f.mxd"}, "--port PORT is missing"},
        {{"write", "f", "--port", "COM1", "--json"}, "unknown option --json"},
        {{"ports", "COM1"}, "mxc9ctl ports: unexpected argument 'COM1'"},
        {{"diff", "a"}, "mxc9ctl diff: two FILEs are needed"},
        {{"diff", "a", "b", "c"}, "more than two FILEs"},
        {{"diff", "a", "b", "--json"}, "unknown option --json"},
        {{"read", "--port", "COM1", "--verify"}, "unknown option --verify"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        ParsedArguments parsed = ParseArguments(args);
        EXPECT_FALSE(parsed.options);
        EXPECT_NE(parsed.error.find(message), std::string::npos) << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << "one line";
    }
}

TEST(CtlArguments, EveryCommandHasItsOwnUsage) {
    for (CommandKind kind : {CommandKind::Show, CommandKind::Read, CommandKind::Write,
                             CommandKind::Diff, CommandKind::Ports, CommandKind::None}) {
        const std::string first = std::string("Usage: mxc9ctl ") + CommandName(kind);
        EXPECT_EQ(UsageText(kind).rfind(first, 0), 0u) << UsageText(kind);
    }
}

// ---- comparisons -----------------------------------------------------------------------

TEST(PageCompare, VerifyNamesTheFirstByteOfThePageThatDiffers) {
    DeviceImage written{};
    for (size_t i = 0; i < written.size(); ++i) written[i] = static_cast<int32_t>(i);
    written[kImageBrakeFrequency] = -1;  // a list without an entry goes out as 255
    struct Case {
        const char* what;
        std::vector<std::pair<int, int32_t>> changes;  // image index, value read back
        std::optional<FieldDifference> expected;
    };
    const Case cases[] = {
        {"the same bytes", {}, std::nullopt},
        {"-1 was sent as 255", {{kImageBrakeFrequency, 255}}, std::nullopt},
        {"pass-through bytes are not the page's", {{0, 99}, {3, 99}, {6, 99}}, std::nullopt},
        {"the last code", {{41, 0}}, FieldDifference{"FREQ31", "41", "0"}},
        {"settings come before codes",
         {{kImageFirstFrequency, 0}, {kImageCurrentLimit, 3}},
         FieldDifference{"CUR.LIM", "9", "3"}},
        {"BRK.FQ by its byte",
         {{kImageBrakeFrequency, 31}},
         FieldDifference{"BRK.FQ", "255", "31"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceImage held = written;
        held[kImageBrakeFrequency] = 255;
        for (const auto& [index, value] : c.changes) held[static_cast<size_t>(index)] = value;
        const auto difference = FirstImageDifference(written, held);
        ASSERT_EQ(difference.has_value(), c.expected.has_value());
        if (!difference) continue;
        EXPECT_EQ(difference->field, c.expected->field);
        EXPECT_EQ(difference->first, c.expected->first);
        EXPECT_EQ(difference->second, c.expected->second);
    }
}

// ---- page report -----------------------------------------------------------------------

TEST(PageReport, JsonStringsEscapeWhatJsonRequires) {
    const std::pair<std::string, std::string> cases[] = {
        {"DATA1", "\"DATA1\""},          {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"a\\b", "\"a\\\\b\""},          {"abc\r\ndef\r\n", "\"abc\\r\\ndef\\r\\n\""},
        {"tab\there", "\"tab\\there\""}, {std::string("\x01\x1F", 2), "\"\\u0001\\u001f\""},
        {"表ソ～", "\"表ソ～\""},        {"bad \xFF byte", "\"bad \xEF\xBF\xBD byte\""},
    };
    for (const auto& [text, json] : cases) EXPECT_EQ(JsonString(text), json) << text;
}

TEST(PageReport, JsonHoldsTheRecordAsItStands) {
    TMXC9Data record = DefaultPage();
    record.nBrake = 150;
    record.curLim = -1;
    record.freq[0] = 70;
    record.freq[31] = 0;
    record.comment = "x\r\n";
    const std::string json = PagesJson({{"P", record}, {"Q", DefaultPage()}});
    EXPECT_EQ(json.rfind("{\"pages\": [\n  {\"NAME\": \"P\", \"N.BRAKE\": 150, \"BRK.FQ\": 31, "
                         "\"CUT.VT\": 2, \"RESPONS\": 0, \"CUR.LIM\": -1, \"FREQ\": [70, 35, ",
                         0),
              0u)
        << json;
    EXPECT_NE(json.find(", 35, 0], \"Comment\": \"x\\r\\n\"},\n  {\"NAME\": \"Q\""),
              std::string::npos)
        << json;
    EXPECT_EQ(json.substr(json.size() - 4), "\n]}\n");
    EXPECT_EQ(PagesJson({}), "{\"pages\": []}\n");
}

TEST(PageReport, TableShowsTheControlsTextsAndMarksWhatTheyCannotShow) {
    struct Case {
        const char* what;
        void (*change)(TMXC9Data&);
        const char* line;
    };
    const Case cases[] = {
        {"defaults", [](TMXC9Data&) {}, "  Brake Frequency  32:  3.45kHz\n"},
        {"defaults", [](TMXC9Data&) {}, "  Power Save       3.0V\n"},
        {"defaults", [](TMXC9Data&) {}, "  Current Limiter  OFF\n"},
        {"defaults", [](TMXC9Data&) {}, "  TH.Response      OFF\n"},
        {"defaults", [](TMXC9Data&) {}, "  Neutral Brake    OFF\n"},
        {"defaults", [](TMXC9Data&) {}, "  Comment          (none)\n"},
        {"neutral brake 7", [](TMXC9Data& r) { r.nBrake = 7; }, "  Neutral Brake    7\n"},
        {"neutral brake 150", [](TMXC9Data& r) { r.nBrake = 150; },
         "  Neutral Brake    150 (outside 0..100: shows 100)\n"},
        {"neutral brake -2", [](TMXC9Data& r) { r.nBrake = -2; },
         "  Neutral Brake    -2 (outside 0..100: shows OFF)\n"},
        {"brake frequency 60", [](TMXC9Data& r) { r.brkFq = 60; },
         "  Brake Frequency  61: 10.60kHz\n"},
        {"brake frequency 64", [](TMXC9Data& r) { r.brkFq = 64; },
         "  Brake Frequency  64 (outside 0..63: the list shows no entry)\n"},
        {"cut-off 5 (old file's 4)", [](TMXC9Data& r) { r.cutVt = 5; },
         "  Power Save       5 (outside 0..4: the list shows no entry)\n"},
        {"response 9", [](TMXC9Data& r) { r.respons = 9; }, "  TH.Response      9\n"},
        {"current 0", [](TMXC9Data& r) { r.curLim = 0; }, "  Current Limiter  40A\n"},
        {"current -1", [](TMXC9Data& r) { r.curLim = -1; },
         "  Current Limiter  -1 (outside 0..12: the list shows no entry)\n"},
        {"bar 1 at 0", [](TMXC9Data& r) { r.freq[0] = 0; }, "    1:  0  0.93kHz "},
        {"bar 4 at 70", [](TMXC9Data& r) { r.freq[3] = 70; }, "    4: 70 (shows 63)\n"},
        {"bar 32 at -5", [](TMXC9Data& r) { r.freq[31] = -5; }, "   32: -5 (shows 0)\n"},
        {"comment", [](TMXC9Data& r) { r.comment = "a\r\n\r\nb"; },
         "  Comment\n    a\n    \n    b\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMXC9Data record = DefaultPage();
        c.change(record);
        const std::string table = PageTable({"Name", record}, 3);
        EXPECT_EQ(table.rfind("Page 3: Name\n", 0), 0u);
        EXPECT_NE(table.find(c.line), std::string::npos) << table;
    }
}

TEST(PageReport, TableListsAllThirtyTwoBarsFourToALine) {
    TMXC9Data record = DefaultPage();
    for (int k = 0; k < 32; ++k) record.freq[static_cast<size_t>(k)] = k * 2;
    const std::string table = PageTable({"P", record}, 1);
    for (int k = 0; k < 32; ++k) {
        const std::string bar =
            std::to_string(k + 1) + ": " + (k * 2 < 10 ? " " : "") + std::to_string(k * 2) + " ";
        EXPECT_NE(table.find(bar), std::string::npos) << bar;
    }
    EXPECT_NE(table.find(" 31: 60 10.60kHz"), std::string::npos) << table;
    const size_t first = table.find("  Frequency\n") + 12;
    const size_t comment = table.find("  Comment");
    const std::string grid = table.substr(first, comment - first);
    EXPECT_EQ(std::count(grid.begin(), grid.end(), '\n'), 8);
}

// ---- ports -----------------------------------------------------------------------------

class PortNames : public ::testing::Test {
  protected:
    testing::TempProgramFolder folder;
    testing::FakeMessageBoxes boxes;
    testing::FakeSerialDevices devices;
    AppSettings settings{folder, boxes, &devices};
};

TEST_F(PortNames, ComNamesResolveAsTheWindowResolvesThem) {
    folder.write("MXC9.ini", "[MXC9]\r\nCommPort=1\r\n[Ports]\r\nCOM3=/dev/ttyUSB0\r\n");
    devices.devices = {{"/dev/ttyS0", "", false, "", "", 4, "serial8250"}};
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"com10", ""},  // no port found for it
        {"COM3", "/dev/ttyUSB0"},
        {"Com3", "/dev/ttyUSB0"},
        {"/dev/pts/7", "/dev/pts/7"},
        {"./x/y", "./x/y"},
        {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0",
         "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0"},
    };
    for (const auto& [port, path] : cases) {
        std::optional<PortChoice> choice = ResolvePort(port, settings);
        ASSERT_TRUE(choice) << port;
        EXPECT_EQ(choice->path, path) << port;
    }
    EXPECT_EQ(ResolvePort("COM3", settings)->label, "COM3 (/dev/ttyUSB0)");
    EXPECT_EQ(ResolvePort("COM3", settings)->portNo, 3);
    EXPECT_EQ(ResolvePort("COM10", settings)->label, "COM10");
    for (const char* bad : {"COM0", "COM11", "COM01", "COM", "COMx", "OFF", "ttyS0", "", "COM1x"})
        EXPECT_FALSE(ResolvePort(bad, settings)) << bad;
}

// The listing's look at a device comes from the file system alone: a port held by another
// program still reads as present, and the device sees no open.
TEST_F(PortNames, InspectionTellsMissingNotSerialAndPresentWithoutOpening) {
    int master = -1, slave = -1;
    char name[128];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    ASSERT_EQ(flock(slave, LOCK_EX | LOCK_NB), 0);
    folder.write("plain", "x");
    const std::pair<std::string, PortState> cases[] = {
        {folder.file("none"), PortState::Missing},
        {folder.file("plain/x"), PortState::Missing},
        {folder.file("plain"), PortState::NotSerial},
        {folder.path, PortState::NotSerial},
        {name, PortState::Available},
    };
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, name, IN_OPEN), 0);
    for (const auto& [path, state] : cases) EXPECT_EQ(InspectPort(path).state, state) << path;
    char events[256];
    EXPECT_LT(read(watch, events, sizeof events), 0) << "the device was opened";
    EXPECT_EQ(PortStateText(InspectPort(name)), "present");
    close(watch);
    close(slave);
    close(master);
}

TEST_F(PortNames, ProbeTellsMissingNotSerialBusyAndFree) {
    EXPECT_EQ(ProbePort(folder.file("none")).state, PortState::Missing);
    folder.write("plain", "x");
    EXPECT_EQ(ProbePort(folder.file("plain")).state, PortState::NotSerial);

    int master = -1, slave = -1;
    char name[128];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    EXPECT_EQ(ProbePort(name).state, PortState::Available);
    EXPECT_EQ(ProbePort(name).state, PortState::Available) << "the probe leaves no lock behind";
    ASSERT_EQ(flock(slave, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ProbePort(name).state, PortState::Busy);
    close(slave);
    close(master);
}

TEST_F(PortNames, OwnershipIsTakenFromTheFileSystem) {
    const group* dialout = getgrnam("dialout");
    ASSERT_NE(dialout, nullptr);
    folder.write("device", "");
    const std::string path = folder.file("device");
    if (chown(path.c_str(), 0, dialout->gr_gid) != 0) GTEST_SKIP() << "needs root to give away";
    ASSERT_EQ(chmod(path.c_str(), 0620), 0);
    PortProbe probe{PortState::PermissionDenied, EACCES};
    AddOwnership(path, probe);
    EXPECT_EQ(probe.owner, "root");
    EXPECT_EQ(probe.group, "dialout");
    EXPECT_EQ(probe.mode, 0620u);
    // The group may not read it: joining the group would not help.
    EXPECT_EQ(PortStateText(probe), "permission denied (owner root, group dialout, mode 0620)");
}

TEST(PortProblems, EachCauseHasItsOwnLine) {
    const PortChoice port{2, "COM2 (/dev/ttyS1)", "/dev/ttyS1"};
    const std::pair<PortProbe, const char*> cases[] = {
        {{PortState::Missing, ENOENT}, "port COM2 (/dev/ttyS1) is missing"},
        {{PortState::Busy, EWOULDBLOCK}, "is busy: another program holds it"},
        {{PortState::PermissionDenied, EACCES},
         "permission denied on COM2 (/dev/ttyS1): add your "
         "user to the dialout group"},
        // The system console: no group opens it.
        {{PortState::PermissionDenied, EACCES, "root", "root", 0600},
         "permission denied on COM2 (/dev/ttyS1): the device has owner root, group root, mode "
         "0600, which the dialout group does not open"},
        {{PortState::PermissionDenied, EACCES, "root", "uucp", 0660}, "group uucp, mode 0660"},
        {{PortState::NotSerial, ENOTTY}, "COM2 (/dev/ttyS1) is not a serial port"},
        {{PortState::Unusable, EMFILE}, "cannot be opened: Too many open files"},
        {{PortState::Available, 0}, "could not be set up"},
    };
    EXPECT_NE(PortProblem({4, "COM4", ""}, {PortState::Missing, ENOENT})
                  .find("port COM4 stands for no device"),
              std::string::npos);
    std::set<std::string> lines;
    for (const auto& [probe, text] : cases) {
        const std::string line = PortProblem(port, probe);
        EXPECT_NE(line.find(text), std::string::npos) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos);
        lines.insert(line);
        lines.insert(PortStateText(probe));
    }
    EXPECT_EQ(lines.size(), 16u) << "no two causes read alike";
    EXPECT_NE(PortProblem(port, {PortState::PermissionDenied, EACCES, "root", "dialout", 0660})
                  .find("add your user to the dialout group"),
              std::string::npos);
}

}  // namespace
}  // namespace mxc9::ctl
