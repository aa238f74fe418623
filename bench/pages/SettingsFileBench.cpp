// Reading and writing settings files of 10, 100 and 1,000 pages (the most a file is
// read with). Loading is set against the floor of any loader: reading the same bytes and
// splitting them into lines. Both must grow linearly with the page count, and loading
// must stay within five times the floor (the counter "load_per_lines" of
// BM_LoadSettingsFile).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "editor/EditorDisplay.h"
#include "editor/ScreenModel.h"
#include "pages/PageStore.h"
#include "pages/SettingsFile.h"
#include "pages/TabStrip.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

namespace {

using namespace mxc9;

class NoDisplay : public EditorDisplay {
  public:
    void DrawSelectionGauge(int, int) override {}
    void ShowReadouts(int) override {}
};

const std::string& BenchFolder() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mxc9-bench-XXXXXX").string();
        return std::string(mkdtemp(pattern.data())) + "/";
    }();
    return folder;
}

TMXC9Data SamplePage(int k) {
    TMXC9Data page = DefaultPage();
    page.nBrake = k % 101;
    for (int i = 0; i < 32; ++i) page.freq[static_cast<size_t>(i)] = (k + i) % 64;
    page.comment =
        Utf8ToCp932("setting for track " + std::to_string(k) + "\r\n路面が濡れている時用");
    return page;
}

// Writes the whole file through the settings-file writer.
void WriteSettingsFile(const std::string& path, int pages) {
    IniFile file(path, IniFile::Start::Empty);
    WritePageCount(file, pages);
    for (int k = 0; k < pages; ++k)
        WritePageRecord(file, PageSectionName(k), Utf8ToCp932("ページ" + std::to_string(k)),
                        SamplePage(k));
    file.updateFile();
}

const std::string& SampleFile(int pages) {
    static std::map<int, std::string> files;
    auto found = files.find(pages);
    if (found != files.end()) return found->second;
    std::string path = BenchFolder() + "pages" + std::to_string(pages) + ".mxd";
    WriteSettingsFile(path, pages);
    return files.emplace(pages, path).first->second;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        size_t length = end - start;
        if (length > 0 && bytes[end - 1] == '\r') --length;
        lines.emplace_back(bytes, start, length);
        start = end + 1;
    }
    return lines;
}

// What "Open" does with the file: every page into the store and the tab strip.
int LoadSettingsFile(const std::string& path) {
    ScreenModel screen;
    NoDisplay display;
    PageStore store(screen, display);
    TabStrip tabs;
    const IniFile file(path);
    const int count = ReadPageCount(file);
    store.resize(count);
    for (int k = 0; k < count; ++k) ReadPage(file, k, k, ReadPageName(file, k), tabs, store);
    return tabs.count();
}

double ThreadSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// CPU time of this thread per run: other work on a busy machine does not count.
template <typename F>
double SecondsPerRun(F&& run, int repetitions) {
    const double start = ThreadSeconds();
    for (int i = 0; i < repetitions; ++i) benchmark::DoNotOptimize(run());
    return (ThreadSeconds() - start) / repetitions;
}

void BM_ReadAndSplitLines(benchmark::State& state) {
    const std::string& path = SampleFile(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ReadLines(path));
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}

void BM_LoadSettingsFile(benchmark::State& state) {
    const std::string& path = SampleFile(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(LoadSettingsFile(path));
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
    // Both measured here, side by side, in the same run.
    const int repetitions = 20;
    const double lines = SecondsPerRun([&] { return ReadLines(path).size(); }, repetitions);
    const double load = SecondsPerRun([&] { return LoadSettingsFile(path); }, repetitions);
    state.counters["load_per_lines"] = load / lines;
}

void BM_WriteSettingsFile(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const std::string path = BenchFolder() + "written" + std::to_string(pages) + ".mxd";
    for (auto _ : state) WriteSettingsFile(path, pages);
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
}

BENCHMARK(BM_ReadAndSplitLines)
    ->Arg(10)
    ->Arg(100)
    ->Arg(kMaxPagesPerFile)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSettingsFile)
    ->Arg(10)
    ->Arg(100)
    ->Arg(kMaxPagesPerFile)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSettingsFile)
    ->Arg(10)
    ->Arg(100)
    ->Arg(kMaxPagesPerFile)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace
