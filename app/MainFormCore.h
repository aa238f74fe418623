// The main window's state and decisions, without a toolkit: the page on screen, the tab
// strip, the page store, the frequency editor with its selection, the page commands, the
// application settings, the serial link and its transfers, the creation steps and the
// close protocol. Each system's TMainForm owns one, forwards every control event to the
// handler named after it, and shows what it is told through MainFormView and the plain
// models' listeners, so both windows keep the very same rules.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppSettings.h"
#include "device/DeviceLink.h"
#include "device/TransferCommands.h"
#include "editor/FrequencyEditor.h"
#include "editor/ScreenModel.h"
#include "pages/PageCommands.h"
#include "pages/PageStore.h"
#include "pages/TabStrip.h"
#include "platform/Seams.h"

namespace mxc9 {

// The speed buttons in the order of their hints.
enum class SpeedButton { Write, Read, Information, Quit };
inline constexpr int kSpeedButtons = 4;

// The items of the tab strip's pop-up menu, in menu order.
enum class PageMenuItem {
    Rename,
    Add,
    LinearAdjust,
    FrequencyReset,
    ValuesReset,
    Open,
    Insert,
    Save,
    SaveAll,
    Close,
    Delete
};
inline constexpr int kPageMenuItems = 11;
// The control names of the menu items, in menu order.
extern const std::array<const char*, kPageMenuItems> kPageMenuItemNames;
// After which items the menu has a separator line.
bool SeparatorAfter(PageMenuItem item);
// The page command an item runs.
void RunPageMenuItem(PageCommands& commands, PageMenuItem item);
// Whether the item is offered in a menu of this state.
bool ItemEnabled(const PopupMenuState& state, PageMenuItem item);

// What the core asks of the window beyond mirroring the models.
class MainFormView {
  public:
    virtual ~MainFormView() = default;
    virtual void showTitle(const std::string& title) = 0;
    // Hints of PROGRAM_BTN, READ_BTN, INFO_BTN, EXIT_BTN.
    virtual void showHints(const std::array<std::string, kSpeedButtons>& hints) = 0;
    virtual void showMenuCaptions(const std::array<std::string, kPageMenuItems>& captions) = 0;
    // The brake frequency list's items, and the item shown.
    virtual void showBrakeItems(const std::vector<std::string>& items, int index) = 0;
    // The port list: the entry shown, and what each COMn stands for now.
    virtual int portIndex() const = 0;
    virtual void showPortIndex(int index) = 0;
    virtual void showPortDevices(const std::vector<PortEntry>& entries) = 0;
    virtual void focusTabControl() = 0;
    // A transfer began or ended. While busy the buttons, the port list and the tab strip
    // are greyed and no tab may be chosen, and the page's controls (the frequency bars,
    // the average bar, the neutral brake bar, the four lists and the comment) are held:
    // greyed, taking no edits. The core refuses their edits meanwhile whatever reaches it.
    virtual void showTransferBusy(bool busy) = 0;
    // Closes the window the way its close box does (the close protocol decides).
    virtual void closeWindow() = 0;
};

class MainFormCore {
  public:
    // Makes the port behind the device link; empty: the serial port component.
    using PortFactory = std::function<std::unique_ptr<IDevicePort>()>;

    // The seams are not owned and must outlive the core.
    explicit MainFormCore(const Seams& seams, PortFactory makePort = {});
    ~MainFormCore();
    MainFormCore(const MainFormCore&) = delete;
    MainFormCore& operator=(const MainFormCore&) = delete;

    ScreenModel& screen() { return screen_; }
    TabStrip& tabs() { return tabs_; }
    PageStore& pages() { return pages_; }
    FrequencyEditor& editor() { return editor_; }
    SelectionState& selection() { return editor_.selection(); }
    PageCommands& pageCommands() { return *pageCommands_; }
    AppSettings& appSettings() { return appSettings_; }
    DeviceLink& deviceLink() { return *link_; }
    const Seams& seams() const { return seams_; }

    // The creation steps, after the window has built its controls, collected the bars
    // and attached its listeners. The view must outlive the core.
    void FormCreate(MainFormView& view);
    // The window is asked to close (close box, Quit, the system). During a transfer the
    // question waits for its end; otherwise the close protocol: true when it may close.
    bool CloseRequested();
    // Asks "Close the program?" and on Yes saves the port entry; true on Yes.
    bool FormClose();

    void PROGRAM_BTNClick();
    void READ_BTNClick();
    void CommPortCloseUp();
    void CommPortDropDown();
    // Write or Read is waiting for the controller.
    bool transferRunning() const;
    // The information dialog may be shown now.
    bool InfoAllowed() const { return !transferRunning(); }

    // The user picked tab `index`: saves the page on screen, selects it and loads it.
    // Returns whether the selection changed (nothing happens during a transfer).
    bool SelectTab(int index);
    void TabControl1Changing();
    void TabControl1Change();
    // The menu is about to open: its state, or nothing during a transfer (no menu then).
    std::optional<PopupMenuState> PopupMenu1Popup() const;

    // The page on screen belongs to a transfer: no edit of it is taken until the end.
    bool pageHeld() const { return transferRunning(); }

    // A scroll request on frequency bar `tag` or on the average bar, as the editor takes
    // it; while the page is held `scrollPos` comes back as the bar's position.
    void FRQ_Scroll(int tag, int scrollCode, int& scrollPos);
    void AVG_BARScroll(int scrollCode, int& scrollPos);
    // The neutral brake bar moved to `position`. While the page is held the bar and its
    // caption are shown again as the page has them; so are a list and the comment below.
    void NBRK_BARChange(int position);
    // The user chose an item of a list.
    void ListChange(ListId list, int index);
    // The comment box's text (lines separated by `lineBreak`, as the box separates them)
    // after the user changed it. When it holds characters that a settings file cannot
    // keep, they become '?' and the kept text is returned for the box to show instead
    // (its change runs this again).
    std::optional<std::string> CommentChange(const std::string& typed,
                                             std::string_view lineBreak = "\n");
    // The comment on screen as the box shows it, lines separated by `lineBreak`.
    std::string CommentText(std::string_view lineBreak = "\n") const;

  private:
    void transferEnded();

    Seams seams_;
    ScreenModel screen_;
    TabStrip tabs_;
    FrequencyEditor editor_;
    PageStore pages_;
    std::unique_ptr<PageCommands> pageCommands_;
    AppSettings appSettings_;
    PortFactory makePort_;
    MainFormView* view_ = nullptr;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<TransferCommands> transfers_;
    bool closeAfterTransfer_ = false;
};

}  // namespace mxc9
