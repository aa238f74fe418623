// mxc9ctl run as a process: settings files, and the controller simulator over a
// pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sstream>
#include <thread>

#include "app/AppSettings.h"
#include "device/Conversions.h"
#include "tests/device/TempFolder.h"
#include "tests/pages/PagesTestSupport.h"
#include "tools/simulator/ControllerSimulator.h"

extern char** environ;

namespace mxc9 {
namespace {

using testing::CrLfLines;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

struct ToolRun {
    int status = -1;
    std::string out, err;
};

constexpr int kTimedOut = -2;  // the status of a run that had to be ended

// Runs mxc9ctl (or a copy of it) with standard output and error caught in files. A run
// that takes longer than a minute is ended and reads kTimedOut, so a tool that waits for
// ever fails its test instead of hanging the suite.
ToolRun RunTool(const std::vector<std::string>& args, const std::string& program = MXC9CTL_PATH) {
    TempFolder folder;
    const std::string outPath = folder.file("out"), errPath = folder.file("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
    std::vector<std::string> line = {program};
    line.insert(line.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : line) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    ToolRun run;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        int status = 0;
        bool ended = false;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > limit && !ended) {
                kill(pid, SIGKILL);
                ended = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        run.status = ended               ? kTimedOut
                     : WIFEXITED(status) ? WEXITSTATUS(status)
                                         : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadBytes(outPath);
    run.err = ReadBytes(errPath);
    return run;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Exactly one line on standard error, starting with the tool's name.
void ExpectOneErrorLine(const ToolRun& run, const std::string& part) {
    EXPECT_EQ(run.err.rfind("mxc9ctl", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(Contains(run.err, part)) << run.err << "\nexpected: " << part;
}

std::vector<std::string> DefaultPageLines(const std::string& section, const std::string& name) {
    std::vector<std::string> lines = {"[" + section + "]", "NAME=" + name, "VER=1",
                                      "N.BRAKE=0",         "BRK.FQ=31",    "CUT.VT=2",
                                      "RESPONS=0",         "CUR.LIM=12"};
    for (int k = 0; k < 32; ++k) lines.push_back("FREQ" + std::to_string(k) + "=35");
    return lines;
}

std::string Join(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> lines;
    for (auto& part : parts) lines.insert(lines.end(), part.begin(), part.end());
    return CrLfLines(lines);
}

// The settings files of the reader's tests.
const std::string kExampleFile = Join({{"[MXC-9]", "DATA=1"},
                                       DefaultPageLines("DATA0", "DATA1"),
                                       {"Comment0=2", "Comment1=abc", "Comment2=def"}});
const std::string kOldFile = CrLfLines({"[MXC-9]", "DATA=2", "[DATA0]", "NAME=old", "CUT.VT=1",
                                        "[DATA1]", "NAME=older", "CUT.VT=4", "VER=abc"});
const std::string kWindowsFile = testing::kWindowsWrittenFile;
const std::string kThreePages =
    Join({{"[MXC-9]", "DATA=3"},
          DefaultPageLines("DATA0", "A"),
          DefaultPageLines("DATA1", "B"),
          {"[DATA2]", "NAME=C", "VER=1", "N.BRAKE=150", "FREQ3=70", "CUR.LIM=13"}});

class CtlFiles : public ::testing::Test {
  protected:
    std::string put(const std::string& name, const std::string& bytes) {
        WriteBytes(folder.file(name), bytes);
        return folder.file(name);
    }
    TempFolder folder;
};

TEST_F(CtlFiles, ShowPrintsEveryPageAsTheReaderGivesIt) {
    struct Case {
        const char* what;
        const std::string& bytes;
        std::vector<std::string> table;  // parts of the table
        std::vector<std::string> json;   // parts of the JSON
    };
    const Case cases[] = {
        {"documented example",
         kExampleFile,
         {"Page 1: DATA1\n", "  Brake Frequency  32:  3.45kHz\n", "  Power Save       3.0V\n",
          "  Current Limiter  OFF\n", "  Comment\n    abc\n    def\n"},
         {"\"NAME\": \"DATA1\"", "\"Comment\": \"abc\\r\\ndef\\r\\n\""}},
        {"old file without VER: cut-off raised by one, without limit",
         kOldFile,
         {"Page 1: old\n  Neutral Brake    OFF\n  Brake Frequency  32:  3.45kHz\n"
          "  Power Save       3.0V\n",
          "Page 2: older\n", "  Power Save       5 (outside 0..4: the list shows no entry)\n"},
         {"\"NAME\": \"old\", \"N.BRAKE\": 0, \"BRK.FQ\": 31, \"CUT.VT\": 2,",
          "\"NAME\": \"older\", \"N.BRAKE\": 0, \"BRK.FQ\": 31, \"CUT.VT\": 5,"}},
        {"CP932 names from a Windows-written file",
         kWindowsFile,
         {"Page 1: 表ソ\n", "  Neutral Brake    31\n",
          "  Brake Frequency  13:", "  Power Save       4.0V\n", "  TH.Response      9\n",
          "    1:  0  0.93kHz", "  Comment\n    日本語\\\n    \n    last\n", "Page 2: second\n"},
         {"\"NAME\": \"表ソ\", \"N.BRAKE\": 31, \"BRK.FQ\": 12, \"CUT.VT\": 4, \"RESPONS\": 9, "
          "\"CUR.LIM\": 12, \"FREQ\": [0, 35,",
          "35, 63], \"Comment\": \"日本語\\\\\\r\\n\\r\\nlast\\r\\n\"}"}},
        {"three pages, values outside the ranges not limited",
         kThreePages,
         {"Page 3: C\n  Neutral Brake    150 (outside 0..100: shows 100)\n", "4: 70 (shows 63)",
          "  Current Limiter  13 (outside 0..12: the list shows no entry)\n"},
         {"\"NAME\": \"A\"", "\"NAME\": \"B\"",
          "\"NAME\": \"C\", \"N.BRAKE\": 150, \"BRK.FQ\": 31, \"CUT.VT\": 2, \"RESPONS\": 0, "
          "\"CUR.LIM\": 13, \"FREQ\": [35, 35, 35, 70, 35,"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = put("page.mxd", c.bytes);
        ToolRun table = RunTool({"show", file});
        EXPECT_EQ(table.status, 0) << table.err;
        EXPECT_EQ(table.err, "");
        for (const std::string& part : c.table) EXPECT_TRUE(Contains(table.out, part)) << table.out;
        ToolRun json = RunTool({"show", file, "--json"});
        EXPECT_EQ(json.status, 0) << json.err;
        for (const std::string& part : c.json) EXPECT_TRUE(Contains(json.out, part)) << json.out;
    }
}

TEST_F(CtlFiles, ShowJsonIsOneObjectWithAPageEach) {
    ToolRun run = RunTool({"show", "--json", put("example.mxd", kExampleFile)});
    std::string freq;
    for (int k = 0; k < 32; ++k) freq += (k ? ", " : "") + std::string("35");
    EXPECT_EQ(run.out,
              "{\"pages\": [\n  {\"NAME\": \"DATA1\", \"N.BRAKE\": 0, \"BRK.FQ\": 31, "
              "\"CUT.VT\": 2, \"RESPONS\": 0, \"CUR.LIM\": 12, \"FREQ\": [" +
                  freq + "], \"Comment\": \"abc\\r\\ndef\\r\\n\"}\n]}\n");
    ToolRun three = RunTool({"show", "--json", put("three.mxd", kThreePages)});
    EXPECT_EQ(three.out.rfind("{\"pages\": [", 0), 0u);
    EXPECT_EQ(std::count(three.out.begin(), three.out.end(), '\n'), 5) << "a line per page";
}

TEST_F(CtlFiles, FilesThatCannotBeReadAreUsageErrorsNotEmptyPageSets) {
    std::filesystem::create_directory(folder.file("sub.mxd"));
    ASSERT_EQ(mkfifo(folder.file("pipe.mxd").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/null", folder.file("device.mxd"));
    const std::pair<std::string, const char*> cases[] = {
        {folder.file("pipe.mxd"), "pipe.mxd: is a FIFO (named pipe), not a regular file"},
        {folder.file("device.mxd"), "device.mxd: is a device, not a regular file"},
        {folder.file("missing.mxd"), "missing.mxd: no such file"},
        {put("empty.mxd", ""), "empty.mxd: is empty"},
        {folder.file("sub.mxd"), "sub.mxd: is a folder"},
        {put("text.mxd", "just text\r\n"), "text.mxd: is not a settings file with pages"},
        {put("zero.mxd", "[MXC-9]\r\nDATA=0\r\n"), "is not a settings file with pages"},
    };
    for (const auto& [file, message] : cases) {
        SCOPED_TRACE(file);
        for (const auto& args :
             {std::vector<std::string>{"show", file}, std::vector<std::string>{"diff", file, file},
              std::vector<std::string>{"write", "--port", "/dev/null", file}}) {
            ToolRun run = RunTool(args);
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(run.out, "");
            ExpectOneErrorLine(run, message);
        }
    }
}

TEST(CtlUsage, BadCommandLinesExitTwoWithAHelpfulLine) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{}, "mxc9ctl: no command given (see mxc9ctl --help)"},
        {{"backup"}, "unknown command 'backup'"},
        {{"show"}, "mxc9ctl show: FILE is missing (see mxc9ctl show --help)"},
        {{"read"}, "mxc9ctl read: --port PORT is missing"},
        {{"read", "--port", "COM11"}, "mxc9ctl: 'COM11' is no port: give COM1..COM10 or a device"},
        {{"read", "--port", "COM1", "--attempts", "0"}, "--attempts takes a number from 1 to 100"},
        {{"read", "--port", "/dev/null", "--name", "a/b"}, "--name 'a/b' is no page name"},
        {{"write", "--port", "COM1"}, "mxc9ctl write: FILE is missing"},
        {{"ports", "--json"}, "mxc9ctl ports: unknown option --json"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, 2);
        ExpectOneErrorLine(run, message);
    }
}

TEST(CtlUsage, HelpOnTheToolAndEveryCommand) {
    // The GNU shape that help2man reads: "Usage:" first, the version alone on its line.
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--help"}, "Usage: mxc9ctl COMMAND"},
        {{"show", "--help"}, "Usage: mxc9ctl show FILE [--json]"},
        {{"read", "--help"}, "Usage: mxc9ctl read --port PORT"},
        {{"write", "x.mxd", "--help"}, "Usage: mxc9ctl write --port PORT FILE"},
        {{"diff", "--help"}, "Usage: mxc9ctl diff FILE1 FILE2 [--page NAME|NUMBER]"},
        {{"ports", "--help"}, "Usage: mxc9ctl ports"},
        {{"--version"}, "mxc9ctl (MXC-9 Manager) "},
    };
    for (const auto& [args, usage] : cases) {
        ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(usage, 0), 0u) << run.out;
        EXPECT_EQ(run.err, "");
    }
}

// ---- against the simulator -------------------------------------------------------------

class CtlOnPty : public CtlFiles {
  protected:
    void SetUp() override {
        controller = sim::LineController::OnPseudoTerminal(1200);
        controller->setBitRate(0);  // instant: these tests are about bytes, not time
        controller->start();
        port = controller->path();
    }
    void TearDown() override { controller->stop(); }

    void fault(sim::Fault kind, sim::FaultTarget target, int times = -1, int param = -1) {
        controller->addFault({kind, target, times, param});
    }

    std::unique_ptr<sim::LineController> controller;
    std::string port;
};

// 255 bytes are the longest name a page holds; one more is refused before the controller
// is asked.
TEST_F(CtlOnPty, ReadTakesANameOfUpTo255Bytes) {
    for (const size_t length : {255u, 256u}) {
        SCOPED_TRACE(length);
        const std::string name(length, 'n');
        ToolRun run =
            RunTool({"read", "--port", port, "--save", folder.file("named"), "--name", name});
        if (length == 255) {
            ASSERT_EQ(run.status, 0) << run.err;
            EXPECT_TRUE(Contains(ReadBytes(folder.file("named.mxd")), "NAME=" + name + "\r\n"));
        } else {
            EXPECT_EQ(run.status, 2);
            ExpectOneErrorLine(run, "' is no page name: 1 to 255 bytes");
        }
    }
    EXPECT_EQ(controller->readCommands(), 1);
}

TEST_F(CtlOnPty, ReadSaveThenWriteLeavesTheControllerAsItWas) {
    const DeviceImage before = controller->image();
    ToolRun read = RunTool(
        {"read", "--port", port, "--save", folder.file("backup"), "--name", "Track", "--json"});
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_TRUE(Contains(read.out,
                         "{\"pages\": [\n  {\"NAME\": \"Track\", \"N.BRAKE\": 10, "
                         "\"BRK.FQ\": 31, \"CUT.VT\": 2, \"RESPONS\": 0, \"CUR.LIM\": "
                         "12, \"FREQ\": [20, 21, 22,"))
        << read.out;

    // As "Save" writes one page: ".mxd" added, section DATA0, the name given.
    const std::string saved = ReadBytes(folder.file("backup.mxd"));
    EXPECT_EQ(saved.rfind("[MXC-9]\r\nDATA=1\r\n[DATA0]\r\nNAME=Track\r\nVER=1\r\nN.BRAKE=10\r\n"
                          "BRK.FQ=31\r\nCUT.VT=2\r\nRESPONS=0\r\nCUR.LIM=12\r\nFREQ0=20\r\n",
                          0),
              0u)
        << saved;
    EXPECT_FALSE(Contains(saved, "Comment0"));

    ToolRun write = RunTool({"write", "--port", port, folder.file("backup.mxd")});
    ASSERT_EQ(write.status, 0) << write.err;
    EXPECT_EQ(write.out, "wrote page 1 'Track' to " + port + "\n");
    EXPECT_EQ(controller->image(), before);
    EXPECT_EQ(controller->writeFrames(), 1);
    EXPECT_EQ(controller->readCommands(), 2) << "Write reads first";
}

TEST_F(CtlOnPty, ReadPrintsThePageAsTheWindowHoldsItAfterRead) {
    DeviceImage image = controller->image();
    image[kImageNeutralBrake] = 255;  // / 2.5 is 102: the bar stops at 100
    image[kImageBrakeFrequency] = 64;
    image[kImageCutOff] = 200;
    image[kImageResponse] = 31;        // OFF
    image[kImageCurrentLimit] = 4;     // not in the table: OFF
    image[kImageFirstFrequency] = 99;  // the bar stops at 63
    controller->setImage(image);
    ToolRun json = RunTool({"read", "--port", port, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_TRUE(Contains(json.out,
                         "\"NAME\": \"DATA1\", \"N.BRAKE\": 100, \"BRK.FQ\": -1, "
                         "\"CUT.VT\": -1, \"RESPONS\": 0, \"CUR.LIM\": 12, "
                         "\"FREQ\": [63, 21,"))
        << json.out;
    EXPECT_TRUE(Contains(json.out, "\"Comment\": \"\"")) << json.out;

    ToolRun table = RunTool({"read", "--port", port});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_TRUE(Contains(table.out,
                         "Page 1: DATA1\n  Neutral Brake    100\n"
                         "  Brake Frequency  -1 (outside 0..63: the list shows no "
                         "entry)\n"))
        << table.out;
    EXPECT_EQ(controller->writeFrames(), 0);
}

TEST_F(CtlOnPty, WriteSendsWhatTheWindowSendsForValuesOutsideTheControls) {
    DeviceImage image = controller->image();
    image[kImageCurrentLimit] = 22;  // a list with no entry leaves this code as read
    controller->setImage(image);
    const std::string file =
        put("wild.mxd", Join({{"[MXC-9]", "DATA=2"},
                              DefaultPageLines("DATA0", "tame"),
                              {"[DATA1]", "NAME=wild", "VER=1", "N.BRAKE=150", "BRK.FQ=70",
                               "CUT.VT=9", "RESPONS=-3", "CUR.LIM=13", "FREQ0=99", "FREQ1=-5"}}));
    ToolRun run = RunTool({"write", file, "--port", port, "--page", "wild"});
    ASSERT_EQ(run.status, 0) << run.err;
    DeviceImage expected = image;
    expected[kImageNeutralBrake] = 250;    // shown as 100
    expected[kImageBrakeFrequency] = 255;  // no entry: -1, its low 8 bits
    expected[kImageCutOff] = 60;           // -1 x 20 + 80
    expected[kImageResponse] = 33;         // 30 - -1 x 3
    expected[kImageFirstFrequency] = 63;
    expected[kImageFirstFrequency + 1] = 0;
    for (int k = 2; k < 32; ++k) expected[static_cast<size_t>(kImageFirstFrequency + k)] = 35;
    EXPECT_EQ(controller->image(), expected);

    // Page numbers count from 1; the first page is the default.
    for (const std::vector<std::string>& page :
         {std::vector<std::string>{"--page", "1"}, std::vector<std::string>{}}) {
        controller->setImage(image);
        std::vector<std::string> args = {"write", "--port", port, file};
        args.insert(args.end(), page.begin(), page.end());
        ASSERT_EQ(RunTool(args).status, 0);
        const DeviceImage tame = controller->image();
        EXPECT_EQ(tame[kImageNeutralBrake], 0);
        EXPECT_EQ(tame[kImageBrakeFrequency], 31);
        EXPECT_EQ(tame[kImageCutOff], 120);
        EXPECT_EQ(tame[kImageResponse], 30);
        EXPECT_EQ(tame[kImageCurrentLimit], 100);
        for (int i : kPassThroughIndexes) EXPECT_EQ(tame[static_cast<size_t>(i)], image[i]);
    }

    ToolRun missing = RunTool({"write", file, "--port", port, "--page", "3"});
    EXPECT_EQ(missing.status, 2);
    ExpectOneErrorLine(missing, "has no page '3' (it has 2 pages)");
}

TEST_F(CtlOnPty, EachControllerFaultExitsOneWithItsOwnLine) {
    using sim::Fault;
    using sim::FaultTarget;
    struct Case {
        Fault kind;
        FaultTarget target;
        int param;
        const char* command;
        const char* message;
    };
    const Case cases[] = {
        {Fault::Silent, FaultTarget::Any, -1, "read",
         "mxc9ctl: read: no reply from the controller within the time-out of 1000 ms"},
        {Fault::Delay, FaultTarget::Any, 1500, "read",
         "read: no reply from the controller within the time-out of 1000 ms; its whole answer "
         "came later"},
        {Fault::Short, FaultTarget::Any, 10, "read", "read: short reply of 10 bytes (44 expected)"},
        {Fault::BadChecksum, FaultTarget::Any, -1, "read",
         "read: checksum mismatch in the controller's reply"},
        {Fault::Noise, FaultTarget::Any, 3, "read",
         "read: the controller's answer came after 3 unexpected bytes (0xD3 0x9E 0xA5)"},
        {Fault::BadChecksum, FaultTarget::Read, -1, "write",
         "write: reading the controller before writing failed: checksum mismatch"},
        {Fault::Silent, FaultTarget::Write, -1, "write", "write: no reply from the controller"},
        {Fault::Short, FaultTarget::Write, 30, "write",
         "write: short reply of 30 bytes (45 expected)"},
        {Fault::Refuse, FaultTarget::Any, -1, "write",
         "write: write refused by the controller (its reply ends in 0x15, not 0x06)"},
    };
    const std::string file = put("page.mxd", kThreePages);
    const DeviceImage before = controller->image();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        controller->clearFaults();
        fault(c.kind, c.target, -1, c.param);
        const bool write = std::string(c.command) == "write";
        ToolRun run = write ? RunTool({"write", "--port", port, file})
                            : RunTool({"read", "--port", port, "--json"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        ExpectOneErrorLine(run, c.message);
        EXPECT_EQ(controller->image(), before);
    }
}

TEST_F(CtlFiles, DiffPrintsTheFieldsThatDifferAsDiffExits) {
    const std::string example = put("example.mxd", kExampleFile);
    const std::string three = put("three.mxd", kThreePages);
    const std::string old = put("old.mxd", kOldFile);
    // A comment in CP932: 表 (its second byte is the backslash code) and FA4A, numeral one.
    const std::string cp932 =
        put("cp932.mxd", CrLfLines({"[MXC-9]", "DATA=1", "[DATA0]", "VER=1", "Comment0=1",
                                    "Comment1=\x95\x5C\xFA\x4A"}));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        const char* error;  // part of the one error line, or empty
    };
    const Case cases[] = {
        {{three, three}, 0, "", ""},
        {{three, example, "--page", "1"}, 1, "Comment \"\" \"abc\\r\\ndef\\r\\n\"\n", ""},
        {{three, old, "--page", "2"}, 1, "CUT.VT 2 5\n", ""},
        {{three, cp932, "--page", "1"}, 1, "Comment \"\" \"表\u2160\\r\\n\"\n", ""},
        {{three, three, "--page", "C"}, 0, "", ""},
        {{example, three, "--page", "C"}, 2, "", "example.mxd has no page 'C' (it has 1 pages)"},
        {{old, three, "--page", "2"}, 1, "CUT.VT 5 2\n", ""},
        {{example, put("empty.mxd", "")}, 2, "", "empty.mxd: is empty"},
        {{example}, 2, "", "mxc9ctl diff: two FILEs are needed"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"diff"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(::testing::PrintToString(args));
        ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        if (*c.error)
            ExpectOneErrorLine(run, c.error);
        else
            EXPECT_EQ(run.err, "");
    }

    // Every field of a page, in file order.
    const std::string other =
        put("other.mxd",
            CrLfLines({"[MXC-9]", "DATA=1", "[DATA0]", "NAME=x", "VER=1", "N.BRAKE=1", "BRK.FQ=2",
                       "CUT.VT=3", "RESPONS=4", "CUR.LIM=5", "FREQ0=0", "FREQ31=63"}));
    ToolRun all = RunTool({"diff", example, other});
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(all.out,
              "N.BRAKE 0 1\nBRK.FQ 31 2\nCUT.VT 2 3\nRESPONS 0 4\nCUR.LIM 12 5\nFREQ0 35 0\n"
              "FREQ31 35 63\nComment \"abc\\r\\ndef\\r\\n\" \"\"\n");
}

TEST_F(CtlOnPty, WriteVerifyReadsBackAndNamesTheFirstFieldThatDiffers) {
    struct Case {
        int keptByte;  // the controller acknowledges but keeps this data byte; -2 none, -1 all
        int status;
        const char* out;
        const char* error;
    };
    const Case cases[] = {
        {-2, 0, "verified: the controller holds every byte of the page as written\n", ""},
        {15, 1, "", "write --verify: the controller holds 25 for FREQ5 where 35 was written"},
        {-1, 1, "", "write --verify: the controller holds 25 for N.BRAKE where 0 was written"},
    };
    const std::string file = put("page.mxd", kExampleFile);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keptByte);
        controller->clearFaults();
        controller->setImage(sim::PlausibleImage());
        if (c.keptByte >= -1) fault(sim::Fault::Keep, sim::FaultTarget::Write, -1, c.keptByte);
        ToolRun run = RunTool({"write", "--port", port, file, "--verify"});
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_TRUE(Contains(run.out, "wrote page 1 'DATA1' to " + port + "\n" + c.out)) << run.out;
        if (*c.error)
            ExpectOneErrorLine(run, c.error);
        else
            EXPECT_EQ(run.err, "");
    }
    EXPECT_EQ(controller->readCommands(), 6) << "one read before each write, one after";
}

TEST_F(CtlOnPty, AHangUpIsNamedAsSuchNotAsATimeOut) {
    fault(sim::Fault::Delay, sim::FaultTarget::Any, -1, 3000);
    // The far end goes away while the tool waits for the answer to its read command.
    std::thread hangUp([&] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (controller->readCommands() == 0 && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        controller->stop();
    });
    ToolRun run = RunTool({"read", "--port", port});
    hangUp.join();
    EXPECT_EQ(run.status, 1);
    ExpectOneErrorLine(run, "read: the port was hung up or closed by the far end before any reply");
}

TEST_F(CtlOnPty, StaleBytesAheadOfAnAcknowledgementAreNotCalledARefusal) {
    // Paced: the bytes after the read's answer are still on the line when the write frame
    // goes out, so they fill the place of the write's answer.
    controller->setBitRate(1200);
    fault(sim::Fault::Extra, sim::FaultTarget::Any, -1, 50);
    const DeviceImage before = controller->image();
    ToolRun run = RunTool({"write", "--port", port, put("p.mxd", kExampleFile)});
    EXPECT_EQ(run.status, 1);
    ExpectOneErrorLine(run, "write: the controller acknowledged the write (0x06), but ");
    EXPECT_TRUE(Contains(run.err,
                         "unexpected bytes (0xEE 0xEE 0xEE 0xEE ...) came ahead of its "
                         "answer, and 50 more followed it"))
        << run.err;
    EXPECT_NE(controller->image(), before) << "the controller took the page";
}

TEST_F(CtlOnPty, ExtraBytesAfterAnAnswerDoNoHarm) {
    fault(sim::Fault::Extra, sim::FaultTarget::Any, -1, 5);
    EXPECT_EQ(RunTool({"read", "--port", port}).status, 0);
    EXPECT_EQ(RunTool({"write", "--port", port, put("p.mxd", kExampleFile)}).status, 0);
}

TEST_F(CtlOnPty, AttemptsRetryASpoiledAnswer) {
    fault(sim::Fault::Short, sim::FaultTarget::Any, 1);
    ToolRun once = RunTool({"read", "--port", port});
    EXPECT_EQ(once.status, 1);
    ExpectOneErrorLine(once, "short reply of 22 bytes");

    fault(sim::Fault::Silent, sim::FaultTarget::Any, 1);
    ToolRun twice = RunTool({"read", "--port", port, "--attempts", "2"});
    EXPECT_EQ(twice.status, 0) << twice.err;
    EXPECT_EQ(controller->readCommands(), 3);

    fault(sim::Fault::Silent, sim::FaultTarget::Any, 2);
    ToolRun both = RunTool({"read", "--port", port, "--attempts", "2"});
    EXPECT_EQ(both.status, 1);
    ExpectOneErrorLine(both, "within the time-out of 1000 ms (2 attempts)");
}

TEST_F(CtlOnPty, PortsThatCannotBeUsedSayWhy) {
    const int holder = open(port.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    ToolRun busy = RunTool({"read", "--port", port});
    EXPECT_EQ(busy.status, 1);
    ExpectOneErrorLine(busy, "mxc9ctl: port " + port + " is busy: another program holds it");
    close(holder);

    ToolRun missing = RunTool({"read", "--port", folder.file("ttyUSB9")});
    EXPECT_EQ(missing.status, 1);
    ExpectOneErrorLine(missing, "ttyUSB9 is missing: no such device");

    ToolRun notSerial =
        RunTool({"write", "--port", put("p.mxd", kExampleFile), folder.file("p.mxd")});
    EXPECT_EQ(notSerial.status, 1);
    ExpectOneErrorLine(notSerial, "p.mxd is not a serial port");
    EXPECT_EQ(controller->readCommands(), 0);
}

TEST_F(CtlOnPty, SaveThatCannotBeWrittenIsAFileError) {
    ToolRun run = RunTool({"read", "--port", port, "--save", folder.file("no/such/folder/x.mxd")});
    EXPECT_EQ(run.status, 2);
    ExpectOneErrorLine(run, "x.mxd: cannot be written");

    // Refused before the controller is asked, and left as they are. The device is the
    // controller's own terminal, which no file can replace should the refusal ever fail.
    ASSERT_EQ(mkfifo(folder.file("pipe.mxd").c_str(), 0600), 0);
    std::filesystem::create_symlink(port, folder.file("device.mxd"));
    const std::pair<std::string, const char*> special[] = {
        {folder.file("pipe"), "pipe.mxd: is a FIFO (named pipe), not a regular file"},
        {folder.file("device.mxd"), "device.mxd: is a device, not a regular file"},
    };
    const int readsBefore = controller->readCommands();
    for (const auto& [save, message] : special) {
        ToolRun refused = RunTool({"read", "--port", port, "--save", save});
        EXPECT_EQ(refused.status, 2);
        ExpectOneErrorLine(refused, message);
    }
    EXPECT_EQ(controller->readCommands(), readsBefore);
    EXPECT_TRUE(std::filesystem::is_fifo(folder.file("pipe.mxd")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("device.mxd")));
}

TEST_F(CtlOnPty, ComPortsResolveThroughTheSettingsFileBesideTheTool) {
    // A copy of the tool in a folder of its own, with its MXC9.ini.
    const std::string tool = folder.file("mxc9ctl");
    std::filesystem::copy_file(MXC9CTL_PATH, tool);
    const std::string ini = CrLfLines(
        {"[MXC9]", "CommPort=3", "[Ports]", "COM3=" + port, "COM5=" + folder.file("gone")});
    WriteBytes(folder.file("MXC9.ini"), ini);
    ToolRun read = RunTool({"read", "--port", "COM3", "--json"}, tool);
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(controller->readCommands(), 1);

    ToolRun ports = RunTool({"ports"}, tool);
    EXPECT_EQ(ports.status, 0);
    // One line for each COMn, its columns lined up: name, device, state, what it is; the
    // ports without a key as this machine maps them.
    std::istringstream lines(ports.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    ASSERT_EQ(rows.size(), 10u) << ports.out;
    const size_t device = rows[2].find(port), state = rows[2].find("present");
    ASSERT_NE(state, std::string::npos) << ports.out;
    EXPECT_EQ(rows[4].substr(state, 7), "missing") << ports.out;
    EXPECT_EQ(rows[2].rfind("[Ports]"), rows[4].rfind("[Ports]")) << ports.out;
    testing::TempProgramFolder same;
    same.write("MXC9.ini", ini);
    testing::FakeMessageBoxes boxes;
    const std::vector<PortEntry> expected = AppSettings(same, boxes).PortEntries();
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string name = "COM" + std::to_string(i + 1);
        const std::string path = expected[i].device.empty() ? "-" : expected[i].device;
        EXPECT_EQ(rows[i].substr(0, device), name + std::string(device - name.size(), ' '));
        EXPECT_EQ(rows[i].substr(device, path.size() + 1), path + " ") << ports.out;
    }

    ToolRun missing = RunTool({"read", "--port", "COM5"}, tool);
    EXPECT_EQ(missing.status, 1);
    ExpectOneErrorLine(missing, "port COM5 (" + folder.file("gone") + ") is missing");
    EXPECT_EQ(ReadBytes(folder.file("MXC9.ini")), ini) << "the tool never writes it";
}

TEST_F(CtlOnPty, AnInstalledToolUsesTheUsersSettingsFile) {
    // The tool unpacked with its share folder: MXC9.ini beside it no longer counts.
    std::filesystem::create_directories(folder.file("usr/bin"));
    std::filesystem::create_directories(folder.file("usr/share/mxc9"));
    std::filesystem::create_directories(folder.file("config/mxc9"));
    const std::string tool = folder.file("usr/bin/mxc9ctl");
    std::filesystem::copy_file(MXC9CTL_PATH, tool);
    WriteBytes(folder.file("usr/bin/MXC9.ini"), CrLfLines({"[Ports]", "COM3=/dev/null"}));
    WriteBytes(folder.file("config/mxc9/MXC9.ini"), CrLfLines({"[Ports]", "COM3=" + port}));
    setenv("XDG_CONFIG_HOME", folder.file("config").c_str(), 1);
    ToolRun read = RunTool({"read", "--port", "COM3"}, tool);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(controller->readCommands(), 1);
}

}  // namespace
}  // namespace mxc9
