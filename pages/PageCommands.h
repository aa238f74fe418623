// The page commands of the tab strip's pop-up menu PopupMenu1, as plain C++ over the tab
// strip, the page store and the page on screen. The window calls one method per menu item
// and asks PopupMenu1Popup() for the enabled states each time the menu opens.
#pragma once

#include <optional>
#include <string>

#include "editor/CurveTools.h"
#include "editor/EditorDisplay.h"
#include "editor/ScreenModel.h"
#include "pages/PageStore.h"
#include "pages/TabStrip.h"
#include "platform/Seams.h"

namespace mxc9 {

// Enabled state of every item of PopupMenu1, in menu order.
struct PopupMenuState {
    bool rename = true;
    bool add = true;
    bool linerAdj = false;
    bool frequencyReset = true;
    bool valuesReset = true;
    bool open = true;
    bool insert = true;
    bool save = true;
    bool saveAll = true;
    bool close = true;
    bool remove = false;

    bool operator==(const PopupMenuState&) const = default;
};

// Page names are CP932 bytes and compared byte for byte. A valid name is not empty and
// holds none of the characters \ / : * ? " < > | (表 and ソ pass: that their second
// byte has the backslash code makes them no backslash).
bool IsValidPageName(const std::string& name);
// What the page-name dialog lets the user type; a longer name read from a file is kept.
inline constexpr int kMaxPageNameBytes = 255;

class PageCommands {
  public:
    // The last file name starts as the program's folder and the dated "MXC9.mxd".
    PageCommands(TabStrip& tabs, PageStore& store, ScreenModel& screen, EditorDisplay& display,
                 SelectionState& selection, const Seams& seams);

    // Every item disabled while the page is held.
    PopupMenuState PopupMenu1Popup() const;

    // While a transfer runs, the page on screen is the one it writes or fills: no command
    // may change which page is on screen or what it holds. A held page makes every
    // command below do nothing.
    void setPageHeld(bool held) { held_ = held; }

    void PAGE_RENAMEClick();
    void PAGE_ADDClick();
    void LINER_ADJClick();
    void FQRESET_MENUClick();
    void ATHOR_MENUClick();
    void PAGE_OPENClick();
    // A file named on the command line: "Open" without the dialog and without the
    // question, since only the start-up page is on screen and nothing can be lost.
    // Returns whether the file was taken (not while the page is held).
    bool OpenFileAtStart(const std::string& path);
    void PAGE_INTClick();
    void PAGE_SAVEClick();
    void PAGE_ALLSAVEClick();
    void PAGE_EXITClick();
    void PAGE_DELETEClick();

    // The full path that the open dialog and "Save All" propose.
    const std::string& lastFileName() const { return lastFileName_; }
    void setLastFileName(const std::string& path) { lastFileName_ = path; }

  private:
    // The open dialog on the last file name; the choice becomes the last file name.
    std::optional<std::string> chooseFileToOpen();
    // "Open" of a chosen file; askFirst: the question before the pages are replaced.
    void openFile(const std::string& path, bool askFirst);
    // The notice that only `read` of the `stated` pages of a file were read, when so.
    void reportCutPages(int read, int stated);
    bool askYesNo(const std::string& text);
    void showNotice(const std::string& text);
    void showError(const std::string& text);
    // Writes pages [first, last] of the store into a new file; shows the error on failure.
    void saveFile(const std::string& chosen, int first, int last);

    TabStrip& tabs_;
    PageStore& store_;
    EditorDisplay& display_;
    const Seams& seams_;
    CurveTools curves_;
    std::string lastFileName_;
    bool held_ = false;
};

// ".mxd" appended when the name has no extension (no dot after its last separator).
std::string WithSettingsExtension(const std::string& path);

}  // namespace mxc9
