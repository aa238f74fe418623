// TMainForm: the main window as a native Win32 window made of the standard controls
// (a tab control with its tabs at the bottom, scroll bars, drop-down lists, edit boxes,
// owner-drawn panels and flat speed buttons). It owns the plain core of the window
// (app/MainFormCore), forwards every control event to the handler named after the
// control and the event, and shows the core's state; the rules live in the core.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/MainFormCore.h"
#include "app/win32/WindowColours.h"

namespace mxc9 {

class TInfoDialog;

class TMainForm : private MainFormView,
                  private ScreenModel::Listener,
                  private FrequencyEditor::Listener,
                  private TabStrip::Listener {
  public:
    using PortFactory = MainFormCore::PortFactory;

    // Creates the window (not shown yet) and runs the creation steps. The seams are not
    // owned and must outlive the window.
    TMainForm(const Seams& seams, HINSTANCE instance, PortFactory makePort = {});
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    HWND handle() const { return window_; }
    MainFormCore& core() { return core_; }
    void setInfoDialog(TInfoDialog* dialog) { infoDialog_ = dialog; }

    // Centred on the work area of its monitor, then shown.
    void Show(int showCommand);
    // The message loop's look at a message before it is dispatched: Tab and Shift+Tab move
    // the focus along the window's tab order. True when the message was taken.
    bool PreTranslateMessage(MSG& message);

    // The system's high-contrast setting as the window asks it; tests stand in for it.
    std::function<bool()> highContrast = HighContrastOn;

    // Controls, named as in the window layout.
    HWND TabControl1 = nullptr;
    HMENU PopupMenu1 = nullptr;
    HWND Select_Gage1 = nullptr;
    HWND Select_Gage2 = nullptr;
    std::array<HWND, kFrequencyBars> FRQ{};  // FRQ_1..FRQ_32, index = tag
    HWND AVG_BAR = nullptr;
    HWND FRQ_VALUE = nullptr;
    HWND FRQ_LEVEL = nullptr;
    HWND FRQ_NAME = nullptr;
    HWND PROGRAM_BTN = nullptr;
    HWND READ_BTN = nullptr;
    HWND INFO_BTN = nullptr;
    HWND EXIT_BTN = nullptr;
    HWND Label35 = nullptr;
    HWND CommPort = nullptr;
    HWND NBRK_CAP = nullptr;
    HWND NBRK_BAR = nullptr;
    HWND BRK_LIST = nullptr;
    HWND CUTVT_LIST = nullptr;
    HWND RES_LIST = nullptr;
    HWND CUR_LIST = nullptr;
    HWND Comment = nullptr;

    // Event handlers.
    void FormCreate();
    void EXIT_BTNClick();
    void INFO_BTNClick();
    void PROGRAM_BTNClick();
    void READ_BTNClick();
    void CommPortCloseUp();
    void CommPortDropDown();
    void FRQ_Enter(int tag);
    void FRQ_Exit(int tag);
    FocusMove FRQ_KeyDown(int tag, uint16_t& key);
    void FRQ_KeyUp(int tag);
    void FRQ_Scroll(int tag, int scrollCode, int& scrollPos);
    void AVG_BARScroll(int scrollCode, int& scrollPos);
    void NBRK_BARChange();
    void TabControl1Changing();
    void TabControl1Change();
    void PopupMenu1Popup();
    void CommentChange();

  private:
    struct Placed {
        HWND* control;
        RECT layout;  // at 96 dpi: left, top, width, height (0 height: the control's own)
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT controlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    void buildControls();
    HWND child(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id,
               DWORD exStyle = 0);
    void layout(int dpi);
    void createFonts(int dpi);
    void destroyFonts();
    void fitListFonts();
    // The colours of the window's own texts, again from the system's setting.
    void showColours();
    int scaled(int pixels) const;

    void onCommand(int id, int code, HWND control);
    LRESULT onNotify(const NMHDR& header);
    void onScroll(HWND bar, int code);
    void onDrawItem(const DRAWITEMSTRUCT& item);
    // Text in the selected bold font, struck twice where that font shows no weight.
    void DrawBold(HDC dc, const std::wstring& text, RECT box, UINT format) const;
    int boldStrike() const { return boldStrike_; }
    void onMeasureItem(MEASUREITEMSTRUCT& item);
    HBRUSH onControlColour(HDC dc, HWND control);
    void showPopupMenu(HWND source, LPARAM at);
    void controlFocused(HWND control);
    void moveFocus(HWND from, bool forward);
    int tagOf(HWND control) const;
    HWND listControl(ListId list) const;
    void setCommentText(const std::string& utf8);
    void placePortList();

    // MainFormView.
    void showTitle(const std::string& title) override;
    void showHints(const std::array<std::string, kSpeedButtons>& hints) override;
    void showMenuCaptions(const std::array<std::string, kPageMenuItems>& captions) override;
    void showBrakeItems(const std::vector<std::string>& items, int index) override;
    int portIndex() const override;
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

    MainFormCore core_;
    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    TInfoDialog* infoDialog_ = nullptr;
    int dpi_ = 96;
    HFONT windowFont_ = nullptr;
    HFONT boldFont_ = nullptr;
    HFONT readoutFont_ = nullptr;
    int boldStrike_ = 0;  // the second stroke's offset of bold text; 0: the font's bold shows
    std::vector<HFONT> listFonts_;  // each list's bold font, narrowed as its items need
    WindowColours colours_{};
    HBRUSH fieldBrush_ = nullptr;  // behind the brake caption, the comment and open lists
    std::vector<Placed> placed_;
    std::vector<HWND> labels_;
    std::vector<HWND> tabOrder_;
    HWND activeControl_ = nullptr;  // the control that holds the focus as the handlers know it
    std::vector<std::string> tabCaptions_;  // the captions the tab control shows
    std::vector<PortEntry> portEntries_;
    std::array<int, 3> portColumns_{};  // the open port list's columns: entry, device, details
    int wheelRemainder_ = 0;            // a wheel turn short of a notch, kept for the next
    bool settingComment_ = false;
    bool portClosedUpPosted_ = false;  // a port selection waits to run
    bool closed_ = false;
};

}  // namespace mxc9
