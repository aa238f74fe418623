// mxc9ctl run as a process: settings files and its command line.
#include "tests/tools/CtlProcess.h"

namespace mxc9 {
namespace {

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

}  // namespace
}  // namespace mxc9
