// Write and Read end to end against the simulator paced at 1200 bit/s, as a ratio to the
// time the bytes need on the line, and the largest gap of a 10 ms UI timer meanwhile.
//   transfer_bench [rounds]   (default 5)
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/AppSettings.h"
#include "device/TransferCommands.h"
#include "platform/UiThread.h"
#include "platform/qt/QtUiThread.h"
#include "tools/simulator/ControllerSimulator.h"

namespace {

using namespace mxc9;

class QuietMessages : public IMessageBoxes {
  public:
    std::string last;
    int show(const std::string& text, const std::string&, MbIcon, MbButtons) override {
        last = text;
        return kIdOk;
    }
};

class FixedFolder : public IProgramFolder {
  public:
    std::string path;
    std::string folder() const override { return path; }
};

constexpr double kBitRate = 1200.0;
double LineSeconds(int byteTimes) {
    return byteTimes * 10.0 / kBitRate;
}

// The controller answers a request with its own bytes first, echoed while it arrives, so a
// read (1 byte out, 44 back) needs 44 byte times and a write frame (44 out, 45 back) 45.
constexpr int kReadByteTimes = 44;
constexpr int kWriteByteTimes = 45;

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QtUiThread ui;  // as the program: the serial component's waits run Qt's events
    InstallApplicationUiThread(&ui);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    auto controller = sim::LineController::OnPseudoTerminal(1200);
    controller->start();
    char folderPattern[] = "/tmp/mxc9-bench-XXXXXX";
    FixedFolder folder;
    folder.path = std::string(mkdtemp(folderPattern)) + "/";
    {
        FILE* ini = std::fopen((folder.path + "MXC9.ini").c_str(), "wb");
        std::fprintf(ini, "[Ports]\r\nCOM1=%s\r\n", controller->path().c_str());
        std::fclose(ini);
    }
    QuietMessages messages;
    AppSettings settings(folder, messages);
    ScreenModel screen;
    DeviceLink link(messages);
    link.CreatePort();
    TransferCommands commands(screen, link, messages, settings);
    if (!commands.CommPortCloseUp(1)) {
        std::fprintf(stderr, "transfer_bench: cannot open %s\n", controller->path().c_str());
        return 1;
    }

    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = -1, largestGap = 0;
    bool measuring = false;
    QTimer timer;
    timer.setInterval(10);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (measuring && lastTick >= 0) largestGap = std::max(largestGap, now - lastTick);
        lastTick = now;
    });
    timer.start();

    auto run = [&](bool write) {
        QCoreApplication::processEvents();
        lastTick = -1;
        measuring = true;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = write ? commands.PROGRAM_BTNClick() : commands.READ_BTNClick();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        measuring = false;
        if (!ok)
            std::fprintf(stderr, "transfer_bench: transfer failed: %s\n", messages.last.c_str());
        return seconds;
    };

    double writeTotal = 0, readTotal = 0, writeWorst = 0, readWorst = 0;
    for (int i = 0; i < rounds; ++i) {
        screen.setBar(i % 32, (i * 7) % 64);
        const double w = run(true);
        const double r = run(false);
        writeTotal += w;
        readTotal += r;
        writeWorst = std::max(writeWorst, w);
        readWorst = std::max(readWorst, r);
    }
    const double writeLine = LineSeconds(kReadByteTimes + kWriteByteTimes),
                 readLine = LineSeconds(kReadByteTimes);
    std::printf("rounds %d at 1200 bit/s\n", rounds);
    std::printf("Write: mean %.3f s, worst %.3f s, line %.3f s, ratio %.3f (worst %.3f)\n",
                writeTotal / rounds, writeWorst, writeLine, writeTotal / rounds / writeLine,
                writeWorst / writeLine);
    std::printf("Read:  mean %.3f s, worst %.3f s, line %.3f s, ratio %.3f (worst %.3f)\n",
                readTotal / rounds, readWorst, readLine, readTotal / rounds / readLine,
                readWorst / readLine);
    std::printf("largest gap of the 10 ms UI timer during transfers: %.1f ms\n", largestGap / 1e6);
    link.ClosePort();
    controller->stop();
    std::remove((folder.path + "MXC9.ini").c_str());
    rmdir(folder.path.c_str());
    return 0;
}
