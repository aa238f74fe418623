// Big settings files through the real main window: "Open" and "Import File" of files of
// 100, 200, 400 and 1,000 pages (the most a file is read with), then "Save All" and
// "Close" of 1,000 pages, each through its menu item as a click on it runs it, with the
// window shown and its repaint done. Reported in processor time (all threads, user and
// system), which does not grow while other programs hold the processors, and per page,
// which stays flat when the window's cost grows linearly with the page count; "Save All"
// and "Close" also in elapsed time, which includes the wait for the disk.
//
// Usage: window_pages_bench [pages ...]   (default 100 200 400 1000; the platform
//        defaults to offscreen)
#include <stdlib.h>
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QTabBar>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/QtSeamSet.h"
#include "bench/window/BenchWindowSeams.h"

namespace {

using namespace mxc9;
using namespace mxc9::bench;

double CpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The open dialog answers with `open`, the save dialog with `save`.
class ChosenFiles : public IFileDialogs {
  public:
    std::string open;
    std::string save;
    std::optional<std::string> openFile(const std::string&) override { return open; }
    std::optional<std::string> saveFile(const std::string&) override { return save; }
};

struct Cost {
    double processor = 0;  // ms
    double elapsed = 0;    // ms
};

// What one menu item costs, its repaint included.
Cost TimeMenuItem(QAction* item) {
    QApplication::processEvents();
    const double start = CpuMilliseconds();
    const auto started = std::chrono::steady_clock::now();
    item->trigger();
    QApplication::processEvents();  // the layout and the paint the change asked for
    return {CpuMilliseconds() - start,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count()};
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        if (const int pages = std::atoi(argv[i]); pages > 0) sizes.push_back(pages);
    if (sizes.empty()) sizes = {100, 200, 400, 1000};

    QTemporaryDir folder;
    const std::string path = folder.path().toStdString() + "/";
    YesBoxes messages;
    ChosenFiles files;
    files.save = path + "saved.mxd";
    Folder programFolder(path);
    QtSeamSet qtSeams;
    Seams seams = qtSeams.seams();
    seams.messages = &messages;
    seams.files = &files;
    seams.programFolder = &programFolder;
    TMainForm form(seams);
    form.show();
    QApplication::processEvents();

    // Once unmeasured: the first paint of the tabs' texts loads fonts and glyphs.
    files.open = path + "warm-up.mxd";
    WriteSettingsFile(files.open, sizes.front());
    TimeMenuItem(form.PAGE_OPEN);
    TimeMenuItem(form.PAGE_EXIT);

    std::printf("platform %s, processor time of the menu item with its repaint\n",
                std::getenv("QT_QPA_PLATFORM"));
    std::printf("  %6s  %10s %9s  %10s %9s\n", "pages", "Open", "per page", "Import", "per page");
    for (int pages : sizes) {
        files.open = path + "pages" + std::to_string(pages) + ".mxd";
        WriteSettingsFile(files.open, pages);
        const double open = TimeMenuItem(form.PAGE_OPEN).processor;
        if (form.TabBar->count() != pages) {
            std::fprintf(stderr, "Open showed %d tabs, not %d\n", form.TabBar->count(), pages);
            return 1;
        }
        // Into a fresh window's one page, as after "Close".
        TimeMenuItem(form.PAGE_EXIT);
        const double insert = TimeMenuItem(form.PAGE_INT).processor;
        if (form.TabBar->count() != pages + 1) {
            std::fprintf(stderr, "Import File showed %d tabs, not %d\n", form.TabBar->count(),
                         pages + 1);
            return 1;
        }
        std::printf("  %6d  %7.1f ms %6.3f ms  %7.1f ms %6.3f ms\n", pages, open, open / pages,
                    insert, insert / pages);
        TimeMenuItem(form.PAGE_EXIT);
    }

    const int most = sizes.back();
    files.open = path + "pages" + std::to_string(most) + ".mxd";
    TimeMenuItem(form.PAGE_OPEN);
    const Cost saveAll = TimeMenuItem(form.PAGE_ALLSAVE);
    const Cost close = TimeMenuItem(form.PAGE_EXIT);
    std::printf(
        "  %d pages, processor (elapsed): Save All %.1f ms (%.1f ms), Close %.1f ms "
        "(%.1f ms)\n",
        most, saveAll.processor, saveAll.elapsed, close.processor, close.elapsed);
    return 0;
}
