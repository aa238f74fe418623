// Endurance of the window's own paths: Write + Read through the device link and the serial
// component against the simulator answering at once, then Open + "Save All" of a 100-page
// settings file through the page commands. Resident memory (VmRSS), open descriptors and
// threads are taken at the start, the middle and the end; they must stay flat.
//   soak_bench [cycles]   (default 1000 of each)
#include <dirent.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "device/TransferCommands.h"
#include "editor/EditorDisplay.h"
#include "editor/FrequencyTable.h"
#include "editor/ScreenModel.h"
#include "pages/PageCommands.h"
#include "pages/PageStore.h"
#include "pages/SettingsFile.h"
#include "pages/TabStrip.h"
#include "platform/IniFile.h"
#include "tools/simulator/ControllerSimulator.h"

namespace {

using namespace mxc9;
using Clock = std::chrono::steady_clock;

struct Sample {
    long rssKiB = 0;
    int descriptors = 0;
    int threads = 0;
};

long StatusField(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1);
    return -1;
}

int OpenDescriptors() {
    DIR* folder = opendir("/proc/self/fd");
    if (!folder) return -1;
    int count = 0;
    while (const dirent* entry = readdir(folder))
        if (entry->d_name[0] != '.') ++count;
    closedir(folder);
    return count - 1;  // the listing's own descriptor
}

Sample Take() {
    return {StatusField("VmRSS"), OpenDescriptors(), static_cast<int>(StatusField("Threads"))};
}

void Report(const char* what, const std::vector<Sample>& samples, int cycles, int failures,
            double seconds) {
    std::printf("%s: %d cycles in %.1f s (%.2f ms each), %d failed\n", what, cycles, seconds,
                seconds * 1000.0 / cycles, failures);
    const char* names[] = {"start", "middle", "end"};
    for (size_t i = 0; i < samples.size(); ++i)
        std::printf("  %-6s VmRSS %6ld KiB  descriptors %3d  threads %2d\n", names[i],
                    samples[i].rssKiB, samples[i].descriptors, samples[i].threads);
    const Sample& middle = samples[1];
    const Sample& end = samples[2];
    std::printf("  middle to end: VmRSS %+ld KiB, descriptors %+d, threads %+d\n",
                end.rssKiB - middle.rssKiB, end.descriptors - middle.descriptors,
                end.threads - middle.threads);
}

class QuietMessages : public IMessageBoxes {
  public:
    int failures = 0;
    int show(const std::string& text, const std::string&, MbIcon icon, MbButtons buttons) override {
        if (icon == MbIcon::Error) ++failures;
        (void)text;
        return buttons == MbButtons::Ok ? kIdOk : kIdYes;
    }
};

class OnePort : public IPortSettings {
  public:
    explicit OnePort(std::string path) : path_(std::move(path)) {}
    std::string PortDevicePath(int) const override { return path_; }
    bool SaveAppSettings(int) override { return true; }

  private:
    std::string path_;
};

class NoDisplay : public EditorDisplay {
  public:
    void DrawSelectionGauge(int, int) override {}
    void ShowReadouts(int) override {}
};

// Both dialogs answer with the same file.
class SameFile : public IFileDialogs {
  public:
    explicit SameFile(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> openFile(const std::string&) override { return path_; }
    std::optional<std::string> saveFile(const std::string&) override { return path_; }

  private:
    std::string path_;
};

class FixedClock : public IClock {
  public:
    LocalDate today() const override { return {2026, 12, 8}; }
};

class FixedFolder : public IProgramFolder {
  public:
    explicit FixedFolder(std::string path) : path_(std::move(path)) {}
    std::string folder() const override { return path_; }

  private:
    std::string path_;
};

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Write + Read as the buttons do them, the page on screen changing each cycle.
int SoakTransfers(int cycles) {
    auto controller = sim::LineController::OnPseudoTerminal(1200);
    controller->setBitRate(0);  // unpaced: the soak is about the program, not the line
    controller->start();
    QuietMessages messages;
    OnePort settings(controller->path());
    ScreenModel screen;
    DeviceLink link(messages);
    link.CreatePort();
    TransferCommands commands(screen, link, messages, settings);
    if (!commands.CommPortCloseUp(1)) {
        std::fprintf(stderr, "soak_bench: cannot open %s\n", controller->path().c_str());
        return 1;
    }
    std::vector<Sample> samples;
    int failures = 0;
    const auto start = Clock::now();
    for (int cycle = 0; cycle < cycles; ++cycle) {
        if (cycle == 0 || cycle == cycles / 2) samples.push_back(Take());
        screen.setBar(cycle % kFrequencyBars, cycle % (kMaxFrequencyCode + 1));
        if (!commands.PROGRAM_BTNClick()) ++failures;
        if (!commands.READ_BTNClick()) ++failures;
    }
    samples.push_back(Take());
    Report("Write + Read", samples, cycles, failures, SecondsSince(start));
    commands.CommPortCloseUp(0);
    controller->stop();
    return failures == 0 ? 0 : 1;
}

// Open and "Save All" of the same 100-page file; the file must come back byte for byte.
int SoakFiles(int cycles) {
    char pattern[] = "/tmp/mxc9-soak-XXXXXX";
    const std::string folder = std::string(mkdtemp(pattern)) + "/";
    const std::string path = folder + "soak.mxd";
    constexpr int kPages = 100;
    {
        IniFile file(path, IniFile::Start::Empty);
        WritePageCount(file, kPages);
        for (int k = 0; k < kPages; ++k) {
            TMXC9Data page = DefaultPage();
            page.nBrake = k % 101;
            for (size_t i = 0; i < page.freq.size(); ++i)
                page.freq[i] = static_cast<int32_t>((k + i) % 64);
            page.comment = "track " + std::to_string(k) + "\r\n路面が濡れている時用\r\n";
            WritePageRecord(file, PageSectionName(k), "ページ" + std::to_string(k), page);
        }
        file.updateFile();
    }
    QuietMessages messages;
    SameFile files(path);
    FixedClock clock;
    FixedFolder programFolder(folder);
    Seams seams;
    seams.messages = &messages;
    seams.files = &files;
    seams.clock = &clock;
    seams.programFolder = &programFolder;
    ScreenModel screen;
    NoDisplay display;
    SelectionState selection;
    TabStrip tabs;
    PageStore store{screen, display};
    tabs.append("DATA1");
    store.resize(1);
    store.InitPage(0);
    store.LoadPageToScreen(0);
    tabs.select(0);
    PageCommands commands(tabs, store, screen, display, selection, seams);

    auto bytesOf = [&] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::string first;
    std::vector<Sample> samples;
    int failures = 0;
    const auto start = Clock::now();
    for (int cycle = 0; cycle < cycles; ++cycle) {
        if (cycle == 0 || cycle == cycles / 2) samples.push_back(Take());
        commands.PAGE_OPENClick();
        if (tabs.count() != kPages) ++failures;
        commands.PAGE_ALLSAVEClick();
        if (cycle == 0) first = bytesOf();
    }
    samples.push_back(Take());
    const double seconds = SecondsSince(start);
    if (bytesOf() != first) ++failures;
    Report("Open + Save All (100 pages)", samples, cycles, failures + messages.failures, seconds);
    std::remove(path.c_str());
    std::remove(folder.c_str());
    return failures + messages.failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::max(2, std::atoi(argv[1])) : 1000;
    const int transfers = SoakTransfers(cycles);
    const int files = SoakFiles(cycles);
    return transfers | files;
}
