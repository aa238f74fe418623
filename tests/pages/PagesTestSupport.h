// Helpers shared by the page tests: a temporary folder, whole-file reads and writes, a
// display that records its calls, and the window's plain state wired to scripted seams.
#pragma once

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "editor/EditorDisplay.h"
#include "editor/ScreenModel.h"
#include "pages/PageRecord.h"
#include "pages/PageStore.h"
#include "pages/TabStrip.h"
#include "tests/fakes/FakeSeams.h"
#include "tests/support/TestFiles.h"

namespace mxc9::testing {

class TempFolder {
  public:
    TempFolder() : path_(MakeTemporaryFolder("mxc9-pages")) {}
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(NativePath(path_), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(NativePath(path_), ignored);
    }
    // The folder with its trailing separator.
    std::string folder() const { return path_ + Separator(); }
    std::string file(const std::string& name) const { return folder() + name; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(NativePath(path_))) {
            const std::u8string name = entry.path().filename().u8string();
            names.emplace_back(name.begin(), name.end());
        }
        return names;
    }

  private:
    std::string path_;
};

// Joins lines with CR LF after each, as the files of the Windows program end them.
inline std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

#ifndef _WIN32
// Runs `action` with files limited to `bytes`: a write beyond it fails as on a full disk.
template <typename F>
void WithFileSizeLimit(rlim_t bytes, F&& action) {
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit limited = saved;
    limited.rlim_cur = bytes;
    auto handler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limited);
    action();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, handler);
}
#endif

// A record as it reads back from a settings file: every comment line ends in CR LF.
inline TMXC9Data AsReadBack(TMXC9Data page) {
    std::string comment;
    size_t start = 0;
    while (start < page.comment.size()) {
        size_t end = page.comment.find("\r\n", start);
        if (end == std::string::npos) end = page.comment.size();
        comment += page.comment.substr(start, end - start) + "\r\n";
        start = end + 2;
    }
    page.comment = comment;
    return page;
}

class RecordingDisplay : public EditorDisplay {
  public:
    std::vector<std::pair<int, int>> gauges;
    std::vector<int> readouts;
    void DrawSelectionGauge(int a, int b) override { gauges.emplace_back(a, b); }
    void ShowReadouts(int index) override { readouts.push_back(index); }
};

// The main window's plain state after start-up: one tab "DATA1" holding the defaults.
struct WindowState : FakeSeamSet<> {
    ScreenModel screen;
    RecordingDisplay display;
    SelectionState selection;
    TabStrip tabs;
    PageStore store{screen, display};
    FakeProgramFolder& programFolder = folder;
    Seams seams = SeamSet::seams();

    WindowState() {
        tabs.append("DATA1");
        tabs.select(0);
        store.resize(1);
        store.InitPage(0);
        store.LoadPageToScreen(0);
        store.SaveScreenToPage(0);
        display.gauges.clear();
    }
};

// Two pages as other writers of profile files leave them: letter case, blanks, quotes and
// LF-only lines; a name and a comment in CP932 with second bytes equal to the backslash
// code (表 and ソ).
inline const std::string kWindowsWrittenFile =
    "[mxc-9]\n"
    "data = 2\n"
    "[data0]\n"
    "name = \"\x95\x5C\x83\x5C\"\n"
    "ver=1\n"
    "n.brake = 0x1F\n"
    "Brk.Fq=\"12\"\n"
    "CUT.VT=4\n"
    "respons=$9\n"
    "cur.lim=12abc\n"
    "freq0=0\n"
    "Freq31 = 63\n"
    "comment0=3\n"
    "COMMENT1=\x93\xFA\x96\x7B\x8C\xEA\\\n"
    "comment3=  last  \n"
    "[DATA1]\n"
    "NAME=second\n";

}  // namespace mxc9::testing
