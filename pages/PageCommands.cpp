#include "pages/PageCommands.h"

#include <algorithm>
#include <unordered_set>

#include "common/DefaultErrorBox.h"
#include "common/MessageTable.h"
#include "pages/SettingsFile.h"
#include "platform/Cp932.h"
#include "platform/FileAccess.h"
#include "platform/IniFile.h"

namespace mxc9 {

namespace {

constexpr int kMessageRenameCaption = 6;
constexpr int kMessageRenamePrompt = 7;
constexpr int kMessageEmptyName = 8;
constexpr int kMessageDeleteQuestion = 9;
constexpr int kMessageOpenQuestion = 15;
constexpr int kMessageCloseQuestion = 16;
constexpr int kMessageRefusedCharacters = 23;

constexpr const char* kDefaultFileName = "MXC9.mxd";
constexpr const char* kFirstPageName = "DATA1";
constexpr std::string_view kRefusedCharacters = "\\/:*?\"<>|";

}  // namespace

bool IsValidPageName(const std::string& name) {
    // The check looks at the characters the name shows, not at its bytes: the second
    // byte of a double-byte character (表 is 95 5C) may have the code of a refused one.
    // A byte that starts no character shows as U+FFFD on its own, and the byte after it
    // counts as what it shows.
    return !name.empty() &&
           Cp932ToUtf8(name).find_first_of(kRefusedCharacters) == std::string::npos;
}

std::string WithSettingsExtension(const std::string& path) {
    size_t slash = path.find_last_of(kPathSeparators);
    size_t dot = path.rfind('.');
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return hasExtension ? path : path + ".mxd";
}

PageCommands::PageCommands(TabStrip& tabs, PageStore& store, ScreenModel& screen,
                           EditorDisplay& display, SelectionState& selection, const Seams& seams)
    : tabs_(tabs),
      store_(store),
      display_(display),
      seams_(seams),
      curves_(screen, selection, display, seams),
      lastFileName_(seams.programFolder->documentsFolder() +
                    DatedFileName(seams.clock->today(), kDefaultFileName)) {}

PopupMenuState PageCommands::PopupMenu1Popup() const {
    if (held_)
        return {.rename = false,
                .add = false,
                .frequencyReset = false,
                .valuesReset = false,
                .open = false,
                .insert = false,
                .save = false,
                .saveAll = false,
                .close = false};
    PopupMenuState state;
    state.linerAdj = curves_.linerAdjEnabled();
    state.remove = tabs_.count() > 1;
    return state;
}

bool PageCommands::askYesNo(const std::string& text) {
    return seams_.messages->show(text, kCaptionWarning, MbIcon::Warning, MbButtons::YesNo) ==
           kIdYes;
}

void PageCommands::showNotice(const std::string& text) {
    seams_.messages->show(text, kCaptionWarning, MbIcon::Warning, MbButtons::Ok);
}

void PageCommands::showError(const std::string& text) {
    // The error leaves the command as it would leave any handler: in the default box.
    ShowDefaultError(*seams_.messages, text);
}

void PageCommands::LINER_ADJClick() {
    if (!held_) curves_.LINER_ADJClick();
}

void PageCommands::FQRESET_MENUClick() {
    if (!held_) curves_.FQRESET_MENUClick();
}

void PageCommands::ATHOR_MENUClick() {
    if (!held_) curves_.ATHOR_MENUClick();
}

void PageCommands::PAGE_ADDClick() {
    if (held_) return;
    if (tabs_.count() >= kMaxPagesPerFile) {
        showNotice(MessageWith(kMessagePageLimit, {std::to_string(kMaxPagesPerFile)}));
        return;
    }
    const TabStrip::Batch batch(tabs_);
    store_.SaveScreenToPage(tabs_.selected());
    store_.GrowPages(tabs_.count(), 1);
    std::string candidate;
    int n = tabs_.count() + 1;
    do {
        candidate = "DATA" + std::to_string(n++);
    } while (tabs_.hasCaption(candidate));
    tabs_.append(candidate);
    const int last = tabs_.count() - 1;
    store_.InitPage(last);
    store_.LoadPageToScreen(last);
    display_.ShowReadouts(-1);
    tabs_.select(last);
}

void PageCommands::PAGE_RENAMEClick() {
    if (held_) return;
    const int selected = tabs_.selected();
    for (;;) {
        std::string name = tabs_.caption(selected);
        // Cancel ends the command with the name as it was, also when that name would not
        // pass the checks below (names read by "Open" are taken as they are).
        if (!seams_.pageName->inputPageName(Message(kMessageRenameCaption),
                                            Message(kMessageRenamePrompt), name))
            return;
        if (!IsValidPageName(name)) {
            showNotice(Message(name.empty() ? kMessageEmptyName : kMessageRefusedCharacters));
            continue;
        }
        if (tabs_.hasCaption(name, selected)) continue;
        tabs_.setCaption(selected, name);
        return;
    }
}

void PageCommands::PAGE_DELETEClick() {
    int k = tabs_.selected();
    if (held_ || tabs_.count() < 2 || k < 0) return;
    if (!askYesNo("[ " + Cp932ToUtf8(tabs_.caption(k)) + Message(kMessageDeleteQuestion))) return;
    const TabStrip::Batch batch(tabs_);
    store_.remove(k);
    tabs_.remove(k);
    if (k >= tabs_.count()) k = tabs_.count() - 1;
    tabs_.select(k);
    store_.LoadPageToScreen(k);
}

void PageCommands::PAGE_EXITClick() {
    if (held_ || !askYesNo(Message(kMessageCloseQuestion))) return;
    const TabStrip::Batch batch(tabs_);
    tabs_.clear();
    tabs_.append(kFirstPageName);
    store_.resize(1);
    store_.InitPage(0);
    store_.LoadPageToScreen(0);
    store_.SaveScreenToPage(0);
    tabs_.select(0);
}

std::optional<std::string> PageCommands::chooseFileToOpen() {
    std::optional<std::string> chosen = seams_.files->openFile(lastFileName_);
    if (chosen) lastFileName_ = *chosen;
    return chosen;
}

void PageCommands::PAGE_OPENClick() {
    if (held_) return;
    std::optional<std::string> chosen = chooseFileToOpen();
    if (!chosen) return;
    openFile(*chosen, true);
}

bool PageCommands::OpenFileAtStart(const std::string& path) {
    if (held_) return false;
    lastFileName_ = path;
    openFile(path, false);
    return true;
}

void PageCommands::openFile(const std::string& path, bool askFirst) {
    const IniFile file(path);
    // A negative count is taken as a file without pages.
    const int stated = ReadStatedPageCount(file);
    const int count = std::min(stated, kMaxPagesPerFile);
    if (count <= 0) return;
    if (askFirst && !askYesNo(Message(kMessageOpenQuestion))) return;
    {
        const TabStrip::Batch batch(tabs_);
        tabs_.clear();
        store_.resize(count);
        for (int k = 0; k < count; ++k) ReadPage(file, k, k, ReadPageName(file, k), tabs_, store_);
        store_.LoadPageToScreen(0);
        display_.ShowReadouts(-1);
        tabs_.select(0);
    }
    reportCutPages(count, stated);
}

void PageCommands::reportCutPages(int read, int stated) {
    // Told once the tabs show what was read.
    if (read < stated)
        showNotice(MessageWith(kMessagePagesCut, {std::to_string(read), std::to_string(stated),
                                                  std::to_string(kMaxPagesPerFile)}));
}

void PageCommands::PAGE_INTClick() {
    if (held_) return;
    std::optional<std::string> chosen = chooseFileToOpen();
    if (!chosen) return;
    const IniFile file(*chosen);
    const int stated = ReadStatedPageCount(file);
    if (stated == 0) return;
    // Only as many pages as the window has room for.
    const int count = std::min(stated, kMaxPagesPerFile - tabs_.count());
    {
        const TabStrip::Batch batch(tabs_);
        // The names present, the inserted ones included, looked up at once rather than tab
        // by tab: a thousand pages need not compare each name with every tab.
        std::unordered_set<std::string> present(tabs_.captions().begin(), tabs_.captions().end());
        for (int k = 0; k < count; ++k) {
            const std::string stored = ReadPageName(file, k);
            std::string name = stored;
            for (int counter = 1; present.contains(name); ++counter)
                name = stored + "_" + std::to_string(counter);
            present.insert(name);
            const int index = tabs_.count();
            store_.GrowPages(index, 1);
            ReadPage(file, k, index, name, tabs_, store_);
        }
        store_.LoadPageToScreen(0);
        display_.ShowReadouts(-1);
        tabs_.select(0);
    }
    reportCutPages(std::max(count, 0), stated);
}

void PageCommands::saveFile(const std::string& chosen, int first, int last) {
    // The whole file is built in memory and replaces the old one only once it is
    // complete on disk; on failure the old file stays as it was.
    IniFile file(WithSettingsExtension(chosen), IniFile::Start::Empty);
    WritePageCount(file, last - first + 1);
    for (int i = first; i <= last; ++i)
        WritePage(file, tabs_, store_, i, PageSectionName(i - first));
    try {
        file.updateFile();
    } catch (const EIniFileError& error) {
        showError(MessageWith(kMessageCannotWrite, {error.path()}));
    }
}

void PageCommands::PAGE_SAVEClick() {
    if (held_) return;
    const int selected = tabs_.selected();
    std::optional<std::string> chosen = seams_.files->saveFile(
        seams_.programFolder->documentsFolder() +
        DatedFileName(seams_.clock->today(), Cp932ToUtf8(tabs_.caption(selected))));
    if (!chosen) return;
    store_.SaveScreenToPage(selected);
    saveFile(*chosen, selected, selected);
}

void PageCommands::PAGE_ALLSAVEClick() {
    if (held_) return;
    std::optional<std::string> chosen = seams_.files->saveFile(lastFileName_);
    if (!chosen) return;
    lastFileName_ = *chosen;
    store_.SaveScreenToPage(tabs_.selected());
    saveFile(*chosen, 0, tabs_.count() - 1);
}

}  // namespace mxc9
