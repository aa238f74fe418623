// mxc9ctl read, write and write --verify run as processes against the simulator paced at
// 1200 bit/s, each as a ratio to the time its bytes need on the line: the whole run of the
// tool, from its start to its exit, port opening and closing included.
//   ctl_bench [rounds]   (default 5)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/simulator/ControllerSimulator.h"

extern char** environ;

namespace {

constexpr double kBitRate = 1200.0;
double LineSeconds(int byteTimes) {
    return byteTimes * 10.0 / kBitRate;
}

// The controller answers a request with its own bytes first, echoed while it arrives, so a
// read (1 byte out, 44 back) needs 44 byte times and a write frame (44 out, 45 back) 45.
constexpr int kReadByteTimes = 44;
constexpr int kWriteByteTimes = 45;

// The tool's whole run in seconds; its output goes to /dev/null. Negative when it failed.
double RunTool(const std::vector<std::string>& args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> line = {MXC9CTL_PATH};
    line.insert(line.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : line) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    int status = -1;
    if (posix_spawn(&pid, MXC9CTL_PATH, &actions, nullptr, argv.data(), environ) == 0) {
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

struct Figures {
    const char* name;
    std::vector<std::string> args;
    int byteTimes;
    double goal;  // largest ratio of the mean to the line time
    double total = 0, worst = 0;
    int failed = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    auto controller = mxc9::sim::LineController::OnPseudoTerminal(1200);
    controller->start();
    const std::string port = controller->path();

    char folderPattern[] = "/tmp/mxc9-ctl-bench-XXXXXX";
    const std::string folder = mkdtemp(folderPattern);
    const std::string file = folder + "/page.mxd";
    {
        FILE* out = std::fopen(file.c_str(), "wb");
        std::fputs("[MXC-9]\r\nDATA=1\r\n[DATA0]\r\nNAME=DATA1\r\nVER=1\r\nN.BRAKE=40\r\n", out);
        std::fclose(out);
    }

    // write reads the controller before it writes; --verify reads it back afterwards.
    Figures figures[] = {
        {"read", {"read", "--port", port}, kReadByteTimes, 1.35},
        {"write", {"write", "--port", port, file}, kReadByteTimes + kWriteByteTimes, 1.15},
        {"write --verify",
         {"write", "--verify", "--port", port, file},
         2 * kReadByteTimes + kWriteByteTimes,
         1.15},
    };
    for (int i = 0; i < rounds; ++i) {
        for (Figures& f : figures) {
            const double seconds = RunTool(f.args);
            if (seconds < 0) {
                ++f.failed;
                continue;
            }
            f.total += seconds;
            f.worst = std::max(f.worst, seconds);
        }
    }
    controller->stop();
    std::remove(file.c_str());
    rmdir(folder.c_str());

    std::printf("mxc9ctl, %d rounds at 1200 bit/s\n", rounds);
    bool met = true;
    for (const Figures& f : figures) {
        const int done = rounds - f.failed;
        if (done == 0) {
            std::printf("%-15s every run failed\n", f.name);
            met = false;
            continue;
        }
        const double mean = f.total / done, line = LineSeconds(f.byteTimes);
        const bool within = mean / line <= f.goal && f.failed == 0;
        met = met && within;
        std::printf(
            "%-15s mean %.3f s, worst %.3f s, line %.3f s, ratio %.3f (worst %.3f), goal "
            "%.2f%s%s\n",
            f.name, mean, f.worst, line, mean / line, f.worst / line, f.goal,
            within ? "" : "  NOT MET",
            f.failed ? (", " + std::to_string(f.failed) + " failed").c_str() : "");
    }
    return met ? 0 : 1;
}
