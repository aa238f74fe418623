// What both windows' page benchmarks give the window: boxes that answer Yes, a program
// folder of their own and settings files of pages as users keep them.
#pragma once

#include <string>
#include <utility>

#include "pages/SettingsFile.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "platform/Seams.h"

namespace mxc9::bench {

// Every question answered Yes, every notice taken.
class YesBoxes : public IMessageBoxes {
  public:
    int show(const std::string&, const std::string&, MbIcon, MbButtons buttons) override {
        return buttons == MbButtons::Ok ? kIdOk : kIdYes;
    }
};

class Folder : public IProgramFolder {
  public:
    explicit Folder(std::string path) : path_(std::move(path)) {}
    std::string folder() const override { return path_; }

  private:
    std::string path_;
};

// Pages as users keep them: a Japanese name and a two-line comment.
inline void WriteSettingsFile(const std::string& path, int pages) {
    IniFile file(path, IniFile::Start::Empty);
    WritePageCount(file, pages);
    for (int k = 0; k < pages; ++k) {
        TMXC9Data page = DefaultPage();
        page.nBrake = k % 101;
        for (int i = 0; i < kFrequencyBars; ++i) page.freq[static_cast<size_t>(i)] = (k + i) % 64;
        page.comment =
            Utf8ToCp932("setting for track " + std::to_string(k) + "\r\n路面が濡れている時用");
        WritePageRecord(file, PageSectionName(k), Utf8ToCp932("ページ" + std::to_string(k)), page);
    }
    file.updateFile();
}

}  // namespace mxc9::bench
