// Start-up time of the main window against a bare Qt window of the same size, in one run.
//
// The parent starts the program as a child process again and again, alternating the two
// kinds of window, and times from the spawn to the child's report of the window's first
// paint. Both children pay the same process start, dynamic loading and QApplication set-up,
// so the ratio shows what the main window itself adds.
//
// Usage: startup_bench [rounds]     (default 15; QT_QPA_PLATFORM defaults to offscreen)
//        startup_bench --child main|bare   one child; with MXC9_STARTUP_PHASES=1 it also
//                                          prints where its time went on standard error
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/QtSeamSet.h"

extern char** environ;

namespace {

// Milliseconds since the process started, for the phase report.
double SinceStart() {
    static const auto start = [] {
        // The process's start time is not at hand; the first call is taken as the start
        // and made as early as main().
        return std::chrono::steady_clock::now();
    }();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Processor time the process has used so far, all threads, user and system. Unlike the
// time from the spawn it does not grow while other programs hold the processors.
double CpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void Phase(const char* name) {
    static const bool wanted = std::getenv("MXC9_STARTUP_PHASES") != nullptr;
    if (wanted) std::fprintf(stderr, "%8.1f ms  %s\n", SinceStart(), name);
}

// Reports the first paint of the watched window on stdout and ends the event loop.
class FirstPaint : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            Phase("first paint event");
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    Phase("first paint done");
                    std::printf("painted %.3f\n", CpuMilliseconds());
                    std::fflush(stdout);
                    QApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool reported_ = false;
};

class BenchFolder : public mxc9::IProgramFolder {
  public:
    explicit BenchFolder(std::string path) : path_(std::move(path)) {}
    std::string folder() const override { return path_; }

  private:
    std::string path_;
};

class SilentBoxes : public mxc9::IMessageBoxes {
  public:
    int show(const std::string&, const std::string&, mxc9::MbIcon, mxc9::MbButtons) override {
        return mxc9::kIdYes;
    }
};

// A folder with the application settings file that a first start leaves behind.
std::string WriteSettingsFolder(const std::string& folder) {
    const std::string path = folder + "/MXC9.ini";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fputs("[MXC9]\r\nCommPort=0\r\n", file);
        std::fclose(file);
    }
    return folder;
}

int RunChild(int argc, char** argv, bool mainWindow) {
    SinceStart();
    QApplication app(argc, argv);
    Phase("application");
    FirstPaint watcher;
    if (!mainWindow) {
        QWidget bare;
        bare.setFixedSize(792, 449);
        bare.installEventFilter(&watcher);
        bare.show();
        return app.exec();
    }
    // The program's folder holds the application settings file of an ordinary start: a
    // first start writes it, and that write waits for the disk (fsync), which is not what
    // this bench compares. Given by the parent, or made here for a child run by hand.
    QTemporaryDir ownFolder;
    const std::string folder =
        argc >= 4 ? std::string(argv[3]) : WriteSettingsFolder(ownFolder.path().toStdString());
    BenchFolder programFolder(folder + "/");
    SilentBoxes messages;
    mxc9::QtSeamSet qtSeams;
    mxc9::Seams seams = qtSeams.seams();
    seams.messages = &messages;
    seams.programFolder = &programFolder;
    mxc9::TMainForm form(seams);
    Phase("window built");
    form.installEventFilter(&watcher);
    form.show();
    Phase("shown");
    const int result = app.exec();
    return result;
}

struct ChildTimes {
    double wall = 0;  // milliseconds from the spawn to the first-paint report
    double cpu = 0;   // processor milliseconds the child had used by then
};

ChildTimes TimeChild(const char* self, const char* kind, const std::string& folder) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) std::exit(2);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    // Qt's start-up notices would drown the figures.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* childArgv[] = {const_cast<char*>(self), const_cast<char*>("--child"),
                         const_cast<char*>(kind), const_cast<char*>(folder.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, &actions, nullptr, childArgv, environ) != 0) std::exit(2);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    char buffer[64] = {};
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer - 1);
    const auto painted = std::chrono::steady_clock::now();
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got <= 0) {
        std::fprintf(stderr, "the %s window reported no paint\n", kind);
        std::exit(1);
    }
    ChildTimes times;
    times.wall = std::chrono::duration<double, std::milli>(painted - start).count();
    std::sscanf(buffer, "painted %lf", &times.cpu);
    return times;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argc, argv, std::strcmp(argv[2], "main") == 0);

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string self = "/proc/self/exe";
    char path[4096];
    const ssize_t length = readlink(self.c_str(), path, sizeof path - 1);
    if (length <= 0) return 2;
    path[length] = '\0';

    QTemporaryDir settings;
    const std::string folder = WriteSettingsFolder(settings.path().toStdString());
    TimeChild(path, "bare", folder);  // warm the file cache for both
    TimeChild(path, "main", folder);
    std::vector<double> bare, main, bareCpu, mainCpu;
    for (int i = 0; i < rounds; ++i) {
        const ChildTimes b = TimeChild(path, "bare", folder);
        const ChildTimes m = TimeChild(path, "main", folder);
        bare.push_back(b.wall);
        main.push_back(m.wall);
        bareCpu.push_back(b.cpu);
        mainCpu.push_back(m.cpu);
    }
    const double bareMs = Median(bare), mainMs = Median(main);
    const double bareCpuMs = Median(bareCpu), mainCpuMs = Median(mainCpu);
    std::printf("platform %s, %d rounds, medians from process start to first paint\n",
                std::getenv("QT_QPA_PLATFORM"), rounds);
    std::printf("                            elapsed   processor\n");
    std::printf("  bare Qt window 792x449: %8.1f ms %8.1f ms\n", bareMs, bareCpuMs);
    std::printf("  MXC-9 main window:      %8.1f ms %8.1f ms\n", mainMs, mainCpuMs);
    std::printf("  ratio main / bare:      %8.2f    %8.2f\n", mainMs / bareMs,
                mainCpuMs / bareCpuMs);
    return 0;
}
