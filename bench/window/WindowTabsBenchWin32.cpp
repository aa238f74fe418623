// Tab changes in the Windows window with many pages: the window opens a settings file of
// 2, then of 1,000 pages, and the tab strip gets 25 Right presses and 25 Left presses,
// each followed by the repaint it asks for. Reported in processor time per change (all
// threads, user and system), which a tab change must keep flat whatever the page count.
//
// Under Wine most of a change is the repaint of the 32 frequency bars, the average bar and
// the brake bar, whose positions all differ between this file's pages. With Wine's own
// visual style (its default) each themed scroll bar costs about 2 ms, nearly all of it in
// Wine's TransparentBlt asking the server for the display configuration; with the classic
// look (ThemeActive=0 in the prefix's ThemeManager key) a whole change costs about 20 ms.
//
// Usage: window_tabs_bench [pages ...]   (default 2 1000; run under Wine on a display,
//        for example: xvfb-run tests/windows/wine-run
//        build/windows/bench/window/window_tabs_bench.exe)
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/MainForm.h"
#include "bench/window/BenchWindowSeams.h"
#include "common/Language.h"
#include "pages/win32/Win32SeamSet.h"
#include "platform/win32/Win32UiThread.h"

namespace {

using namespace mxc9;
using namespace mxc9::bench;

double ProcessorMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// One press of `key` on the tab strip, as the keyboard gives it, with its repaint.
double TimeKey(TMainForm& form, WPARAM key) {
    Pump();
    const double start = ProcessorMilliseconds();
    SendMessageW(form.TabControl1, WM_KEYDOWN, key, 0);
    SendMessageW(form.TabControl1, WM_KEYUP, key, 0);
    RedrawWindow(form.handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    return ProcessorMilliseconds() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        if (const int pages = _wtoi(argv[i]); pages > 0) sizes.push_back(pages);
    if (sizes.empty()) sizes = {2, 1000};

    SetLanguageIndex(kLanguageEnglish);
    Win32UiThread uiThread;
    InstallApplicationUiThread(&uiThread);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string folder;
    for (const wchar_t* c = temp; *c; ++c) folder += static_cast<char>(*c);
    folder += "mxc9-tabs-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);

    Win32SeamSet set;
    YesBoxes messages;
    Folder programFolder(folder);
    Seams seams = set.seams();
    seams.messages = &messages;
    seams.programFolder = &programFolder;
    TMainForm form(seams, GetModuleHandleW(nullptr));
    form.Show(SW_SHOW);
    Pump();

    std::printf("processor time of a tab change with its repaint, ms\n");
    std::printf("  %6s  %8s %8s %8s\n", "pages", "mean", "worst", "total");
    constexpr int kPresses = 25;
    for (int pages : sizes) {
        const std::string path = folder + "pages" + std::to_string(pages) + ".mxd";
        WriteSettingsFile(path, pages);
        form.core().pageCommands().OpenFileAtStart(path);
        RedrawWindow(form.handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        if (form.core().tabs().count() != pages ||
            TabCtrl_GetItemCount(form.TabControl1) != pages) {
            std::fprintf(stderr, "the window shows %d tabs, not %d\n",
                         TabCtrl_GetItemCount(form.TabControl1), pages);
            return 1;
        }
        SetFocus(form.TabControl1);
        double total = 0, worst = 0;
        int changes = 0;
        for (WPARAM key : {VK_RIGHT, VK_LEFT}) {
            for (int i = 0; i < kPresses && i < pages - 1; ++i) {
                const double cost = TimeKey(form, key);
                total += cost;
                worst = std::max(worst, cost);
                ++changes;
            }
        }
        if (form.core().tabs().selected() != 0) {
            std::fprintf(stderr, "the presses left tab %d selected\n",
                         form.core().tabs().selected());
            return 1;
        }
        std::printf("  %6d  %8.2f %8.2f %8.1f\n", pages, total / changes, worst, total);
        std::fflush(stdout);
    }
    DeleteFileA((folder + "MXC9.ini").c_str());
    InstallApplicationUiThread(nullptr);
    return 0;
}
