// Feeds arbitrary bytes to the INI reader and the settings-file reader as "Open" and
// "Import File" would read them, then writes the pages back and reads them again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/EditorDisplay.h"
#include "editor/ScreenModel.h"
#include "pages/PageStore.h"
#include "pages/SettingsFile.h"
#include "pages/TabStrip.h"
#include "platform/IniFile.h"

namespace {

class NoDisplay : public mxc9::EditorDisplay {
  public:
    void DrawSelectionGauge(int, int) override {}
    void ShowReadouts(int) override {}
};

bool Quoted(const std::string& text) {
    return text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
           text.back() == text.front();
}

// The reader takes blanks off both ends of a value; a text that starts or ends with one
// (possible only through quotation marks in the file) comes back without them.
bool BlankEdged(const std::string& text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !text.empty() && (blank(text.front()) || blank(text.back()));
}

// Texts the writer does not give back as they were read.
bool ChangedByTheReader(const std::string& text) {
    return Quoted(text) || BlankEdged(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace mxc9;
    const mxc9::IniFile file =
        IniFile::fromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    ScreenModel screen;
    NoDisplay display;
    PageStore store(screen, display);
    TabStrip tabs;
    const int count = ReadPageCount(file);
    if (count > 0) {
        store.resize(count);
        for (int k = 0; k < count; ++k) ReadPage(file, k, k, ReadPageName(file, k), tabs, store);
        store.LoadPageToScreen(0);
        store.SaveScreenToPage(0);
    }
    // What was read must write and read back unchanged, names and comment lines byte for
    // byte, except a text in enclosing quotation marks or with blanks at an end, which the
    // reader takes off again.
    IniFile copy = IniFile::fromBytes("");
    WritePageCount(copy, tabs.count());
    for (int k = 0; k < tabs.count(); ++k) WritePage(copy, tabs, store, k, PageSectionName(k));
    const IniFile reread = IniFile::fromBytes(copy.contents());
    if (ReadPageCount(reread) != tabs.count()) __builtin_trap();
    for (int k = 0; k < tabs.count(); ++k) {
        TMXC9Data page = ReadPageRecord(reread, PageSectionName(k));
        const TMXC9Data& original = store.record(k);
        if (page.nBrake != original.nBrake || page.cutVt != original.cutVt ||
            page.freq != original.freq)
            __builtin_trap();
        const std::string& name = tabs.caption(k);
        if (!ChangedByTheReader(name) && ReadPageName(reread, k) != name) __builtin_trap();
        bool changedLine = false;
        for (const std::string& line : SplitCommentLines(original.comment))
            changedLine = changedLine || ChangedByTheReader(line);
        if (!changedLine && page.comment != original.comment) __builtin_trap();
    }
    return 0;
}
