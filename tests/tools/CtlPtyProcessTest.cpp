// mxc9ctl run as a process against the controller simulator over a pseudo-terminal.
#include "tests/tools/CtlProcess.h"

namespace mxc9 {
namespace {

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
