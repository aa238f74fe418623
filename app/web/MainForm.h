// TMainForm of the browser edition: the main window drawn by the page (app/web/window.js).
// It owns the plain core of the window, forwards each event the page hands it to the
// handler named after the control and the event, and tells the page's view object
// (Module.view) what to show; the rules live in the core, as in the other two windows.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/MainFormCore.h"
#include "app/web/WebSeams.h"
#include "common/MessageTable.h"

namespace mxc9 {

class TMainForm : private MainFormView,
                  private ScreenModel::Listener,
                  private FrequencyEditor::Listener,
                  private TabStrip::Listener {
  public:
    TMainForm();
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    MainFormCore& core() { return core_; }

    // Event handlers.
    void FormCreate();
    bool CloseRequested() { return core_.CloseRequested(); }
    void PROGRAM_BTNClick() { core_.PROGRAM_BTNClick(); }
    void READ_BTNClick() { core_.READ_BTNClick(); }
    void CommPortDropDown() { core_.CommPortDropDown(); }
    // The port list closed on `index` (0 "OFF", n "COMn").
    void CommPortCloseUp(int index);
    void FRQ_Enter(int tag) { core_.editor().FRQ_Enter(tag); }
    void FRQ_Exit(int tag) { core_.editor().FRQ_Exit(tag); }
    // The scroll bars as the page draws them: tags 0..31 FRQ_1..FRQ_32, 32 AVG_BAR,
    // 33 NBRK_BAR. A scroll request (a click on an arrow or the trough, the thumb dragged
    // to `thumb`) proposes a position, the bar's handler may change it, and the bar takes
    // the result, which is returned.
    int BarScroll(int tag, int scrollCode, int thumb);
    // A key pressed on a bar (a Windows virtual-key code): the frequency bars' key
    // handler first, then the scroll bar's own keys. Where the focus moves: -1, 0, 1.
    int BarKeyDown(int tag, int key);
    void BarKeyUp(int tag);
    void NBRK_BARChange(int position) { core_.NBRK_BARChange(position); }
    void ListChange(int list, int index) { core_.ListChange(static_cast<ListId>(list), index); }
    // The comment the box must show instead of what was typed, when that differs.
    std::optional<std::string> CommentChange(const std::string& typed) {
        return core_.CommentChange(typed);
    }
    bool TabControl1Change(int index) { return core_.SelectTab(index); }
    // The menu's enabled items, or none (no menu) during a transfer.
    std::optional<std::array<bool, kPageMenuItems>> PopupMenu1Popup();
    void PopupMenu1Click(int item);
    bool OpenFileAtStart(const std::string& path) {
        return core_.pageCommands().OpenFileAtStart(path);
    }

    // What the page draws.
    const SelectionGauge& gauge() { return core_.editor().gauge(); }
    std::string commentText() const { return core_.CommentText(); }
    std::vector<std::string> tabCaptions();  // UTF-8

  private:
    // MainFormView.
    void showTitle(const std::string& title) override;
    void showHints(const std::array<std::string, kSpeedButtons>& hints) override;
    void showMenuCaptions(const std::array<std::string, kPageMenuItems>& captions) override;
    void showBrakeItems(const std::vector<std::string>& items, int index) override;
    int portIndex() const override { return portIndex_; }
    void showPortIndex(int index) override;
    void showPortDevices(const std::vector<PortEntry>& entries) override;
    void focusTabControl() override;
    void showTransferBusy(bool busy) override;
    void closeWindow() override;
    // ScreenModel::Listener.
    void barChanged(int index) override;
    void averageChanged() override;
    void neutralBrakeChanged() override;
    void listChanged(ListId list) override;
    void commentChanged() override;
    // FrequencyEditor::Listener.
    void gaugeChanged() override;
    void readoutsChanged() override;
    // TabStrip::Listener.
    void tabsChanged() override;

    WebSeamSet seams_{SettingsFileFilterNames()};  // the language is chosen before the window
    MainFormCore core_;
    int portIndex_ = 0;
};

}  // namespace mxc9
