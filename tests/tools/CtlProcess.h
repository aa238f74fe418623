// What the tests of mxc9ctl run as a process share: running the tool, the settings files
// of the reader's tests, and the simulator over a pseudo-terminal.
#pragma once

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
inline ToolRun RunTool(const std::vector<std::string>& args,
                       const std::string& program = MXC9CTL_PATH) {
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

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Exactly one line on standard error, starting with the tool's name.
inline void ExpectOneErrorLine(const ToolRun& run, const std::string& part) {
    EXPECT_EQ(run.err.rfind("mxc9ctl", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(Contains(run.err, part)) << run.err << "\nexpected: " << part;
}

inline std::vector<std::string> DefaultPageLines(const std::string& section,
                                                 const std::string& name) {
    std::vector<std::string> lines = {"[" + section + "]", "NAME=" + name, "VER=1",
                                      "N.BRAKE=0",         "BRK.FQ=31",    "CUT.VT=2",
                                      "RESPONS=0",         "CUR.LIM=12"};
    for (int k = 0; k < 32; ++k) lines.push_back("FREQ" + std::to_string(k) + "=35");
    return lines;
}

inline std::string Join(std::vector<std::vector<std::string>> parts) {
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

}  // namespace
}  // namespace mxc9
