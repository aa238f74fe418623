// The page commands over a window's plain state with fake seams, in a temporary folder:
// the fixture of the page-command tests.
#pragma once

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>

#include "common/DefaultErrorBox.h"
#include "common/MessageTable.h"
#include "pages/PageCommands.h"
#include "pages/SettingsFile.h"
#include "platform/Cp932.h"
#include "tests/pages/PagesTestSupport.h"

namespace mxc9 {

class PageCommandsTest : public ::testing::Test {
  protected:
    // Tabs with the given names; page k has every bar at 10 + k and comment "page k".
    void makePages(const std::vector<std::string>& names) {
        window.tabs.clear();
        window.store.resize(static_cast<int>(names.size()));
        for (size_t k = 0; k < names.size(); ++k) {
            window.tabs.append(names[k]);
            TMXC9Data page = DefaultPage();
            page.freq.fill(10 + static_cast<int>(k));
            page.comment = "page " + std::to_string(k);
            window.store.record(static_cast<int>(k)) = page;
        }
        window.tabs.select(0);
        window.store.LoadPageToScreen(0);
    }

    // Writes a settings file with pages of the given names (bars at 40 + k).
    std::string writeFile(const std::string& fileName, const std::vector<std::string>& names) {
        const std::string path = folder.file(fileName);
        IniFile file(path, IniFile::Start::Empty);
        WritePageCount(file, static_cast<int>(names.size()));
        for (size_t k = 0; k < names.size(); ++k) {
            TMXC9Data page = DefaultPage();
            page.freq.fill(40 + static_cast<int>(k));
            WritePageRecord(file, PageSectionName(static_cast<int>(k)), names[k], page);
        }
        file.updateFile();
        return path;
    }

    std::vector<std::string> questions() const {
        std::vector<std::string> texts;
        for (const auto& shown : window.messages.shown) texts.push_back(shown.text);
        return texts;
    }

    testing::TempFolder folder;
    testing::WindowState window;
    // The program's folder is the temporary one before the commands read it.
    bool folderSet = (window.programFolder.path = folder.folder(), true);
    PageCommands commands{window.tabs,    window.store,     window.screen,
                          window.display, window.selection, window.seams};
};

}  // namespace mxc9
