// Start-up time of the main window against a bare Qt window of the same size, in one run.
//
// The parent starts the program as a child process again and again, alternating the two
// kinds of window, and times from the spawn to the child's report of the window's first
// paint. Both children pay the same process start, dynamic loading and QApplication set-up,
// so the ratio shows what the main window itself adds.
//
// Usage: startup_bench [rounds]     (default 15; QT_QPA_PLATFORM defaults to offscreen)
#include <fcntl.h>
#include <spawn.h>
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

// Reports the first paint of the watched window on stdout and ends the event loop.
class FirstPaint : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            QMetaObject::invokeMethod(
                qApp,
                [] {
                    std::fputs("painted\n", stdout);
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

int RunChild(int argc, char** argv, bool mainWindow) {
    QApplication app(argc, argv);
    FirstPaint watcher;
    if (!mainWindow) {
        QWidget bare;
        bare.setFixedSize(792, 449);
        bare.installEventFilter(&watcher);
        bare.show();
        return app.exec();
    }
    QTemporaryDir folder;  // the application settings file goes here, not beside the bench
    BenchFolder programFolder(folder.path().toStdString() + "/");
    SilentBoxes messages;
    mxc9::QtSeamSet qtSeams;
    mxc9::Seams seams = qtSeams.seams();
    seams.messages = &messages;
    seams.programFolder = &programFolder;
    mxc9::TMainForm form(seams);
    form.installEventFilter(&watcher);
    form.show();
    const int result = app.exec();
    return result;
}

// Milliseconds from spawning the child to its first-paint report.
double TimeChild(const char* self, const char* kind) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) std::exit(2);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    // Qt's start-up notices would drown the figures.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* childArgv[] = {const_cast<char*>(self), const_cast<char*>("--child"),
                         const_cast<char*>(kind), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, &actions, nullptr, childArgv, environ) != 0) std::exit(2);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    char buffer[16];
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
    const auto painted = std::chrono::steady_clock::now();
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got <= 0) {
        std::fprintf(stderr, "the %s window reported no paint\n", kind);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(painted - start).count();
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

    TimeChild(path, "bare");  // warm the file cache for both
    TimeChild(path, "main");
    std::vector<double> bare, main;
    for (int i = 0; i < rounds; ++i) {
        bare.push_back(TimeChild(path, "bare"));
        main.push_back(TimeChild(path, "main"));
    }
    const double bareMs = Median(bare), mainMs = Median(main);
    std::printf("platform %s, %d rounds, median time from process start to first paint\n",
                std::getenv("QT_QPA_PLATFORM"), rounds);
    std::printf("  bare Qt window 792x449: %8.1f ms\n", bareMs);
    std::printf("  MXC-9 main window:      %8.1f ms\n", mainMs);
    std::printf("  ratio main / bare:      %8.2f\n", mainMs / bareMs);
    return 0;
}
