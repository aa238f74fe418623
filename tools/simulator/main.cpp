// mxc9sim: plays the MXC-9 controller on a pseudo-terminal (it prints the path of the
// side the program opens) or on a serial device, and logs every frame it receives.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "device/Conversions.h"
#include "pages/SettingsFile.h"
#include "platform/IniFile.h"
#include "tools/simulator/ControllerSimulator.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void OnSignal(int) {
    stopRequested = 1;
}

const char* kUsage =
    "Usage: mxc9sim [options]\n"
    "  --device PATH     answer on this serial device instead of a new pseudo-terminal\n"
    "  --bitrate N       line speed for pacing the answers (default 1200)\n"
    "  --instant         answer without pacing\n"
    "  --load FILE.mxd   start from a page of a settings file\n"
    "  --page K          the page of --load, counted from 0 (default 0)\n"
    "  --fault KIND      silent | short[:N] | badsum | refuse | extra[:N] | delay[:MS]\n"
    "                    | noise[:N] | keep[:K]; may be given more than once (keep:\n"
    "                    acknowledge a write but keep data byte K, default all, as it was)\n"
    "  --fault-on WHAT   read | write | any (default any), for the --fault after it\n"
    "  --fault-times N   answers each later --fault spoils (default: all)\n"
    "  --quiet           no frame log\n"
    "  -h, --help        display this help and exit\n"
    "      --version     output version information and exit\n"
    "\n"
    "Prints the path of the line on the first line of standard output.\n";

// The image a settings file page gives, with the pass-through values of `base`.
mxc9::DeviceImage ImageOfPage(const std::string& file, int page, mxc9::DeviceImage base) {
    mxc9::IniFile ini(file);
    const mxc9::TMXC9Data record = mxc9::ReadPageRecord(ini, mxc9::PageSectionName(page));
    mxc9::ScreenModel screen;
    screen.setNeutralBrake(record.nBrake);
    screen.setListIndex(mxc9::ListId::Brake, record.brkFq);
    screen.setListIndex(mxc9::ListId::CutVt, record.cutVt);
    screen.setListIndex(mxc9::ListId::Response, record.respons);
    screen.setListIndex(mxc9::ListId::Current, record.curLim);
    for (int bar = 0; bar < mxc9::kFrequencyBars; ++bar) {
        screen.setBar(bar, record.freq[static_cast<size_t>(bar)]);
    }
    mxc9::ScreenToImage(screen, base);
    return base;
}

bool ParseInt(const char* text, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 0 || parsed > 1000000) return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace mxc9::sim;
    std::string device, loadFile;
    int bitRate = 1200, page = 0, faultTimes = -1;
    bool instant = false, quiet = false;
    FaultTarget faultTarget = FaultTarget::Any;
    std::vector<FaultPlan> faults;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needValue = [&]() {
            if (!next) {
                std::cerr << "mxc9sim: " << arg << " needs a value\n" << kUsage;
                std::exit(2);
            }
            ++i;
            return next;
        };
        if (arg == "--device") {
            device = needValue();
        } else if (arg == "--bitrate") {
            if (!ParseInt(needValue(), bitRate) || bitRate < 10) {
                std::cerr << "mxc9sim: bad bit rate\n";
                return 2;
            }
        } else if (arg == "--instant") {
            instant = true;
        } else if (arg == "--load") {
            loadFile = needValue();
        } else if (arg == "--page") {
            if (!ParseInt(needValue(), page)) {
                std::cerr << "mxc9sim: bad page number\n";
                return 2;
            }
        } else if (arg == "--fault") {
            auto plan = ParseFault(needValue());
            if (!plan) {
                std::cerr << "mxc9sim: unknown fault " << argv[i] << "\n" << kUsage;
                return 2;
            }
            plan->target = faultTarget;
            plan->times = faultTimes;
            faults.push_back(*plan);
        } else if (arg == "--fault-on") {
            const std::string what = needValue();
            if (what == "read")
                faultTarget = FaultTarget::Read;
            else if (what == "write")
                faultTarget = FaultTarget::Write;
            else if (what == "any")
                faultTarget = FaultTarget::Any;
            else {
                std::cerr << "mxc9sim: --fault-on takes read, write or any\n";
                return 2;
            }
        } else if (arg == "--fault-times") {
            if (!ParseInt(needValue(), faultTimes) || faultTimes == 0) {
                std::cerr << "mxc9sim: bad count\n";
                return 2;
            }
        } else if (arg == "--quiet") {
            quiet = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--version") {
            std::cout << "mxc9sim (MXC-9 Manager) " MXC9SIM_VERSION "\n";
            return 0;
        } else {
            std::cerr << "mxc9sim: unknown option " << arg << "\n" << kUsage;
            return 2;
        }
    }

    std::unique_ptr<LineController> line;
    try {
        line = device.empty() ? LineController::OnPseudoTerminal(bitRate)
                              : LineController::OnDevice(device, bitRate);
    } catch (const std::exception& error) {
        std::cerr << "mxc9sim: " << error.what() << "\n";
        return 1;
    }
    if (instant) line->setBitRate(0);
    if (!loadFile.empty() && !mxc9::IniFile(loadFile).hasSection(mxc9::PageSectionName(page))) {
        std::cerr << "mxc9sim: " << loadFile << " has no page " << page << "\n";
        return 1;
    }
    if (!loadFile.empty()) line->setImage(ImageOfPage(loadFile, page, line->image()));
    for (const auto& plan : faults) line->addFault(plan);
    if (!quiet) {
        line->setLog(
            [](const std::string& text) { std::fprintf(stderr, "mxc9sim: %s\n", text.c_str()); });
    }

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGHUP, OnSignal);
    std::printf("%s\n", line->path().c_str());
    std::fflush(stdout);
    if (!quiet) {
        std::fprintf(stderr, "mxc9sim: controller on %s, image %s\n", line->path().c_str(),
                     DecimalList(mxc9::ImageDataBytes(line->image())).c_str());
    }
    line->start();
    while (!stopRequested) pause();
    line->stop();
    return 0;
}
