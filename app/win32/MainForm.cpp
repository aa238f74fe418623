// The Windows main window: its creation, its handlers and what it shows of the core.

#include "app/win32/MainForm.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "app/win32/ControlIds.h"
#include "app/win32/MainFormParts.h"
#include "app/win32/SpeedButton.h"
#include "app/win32/WindowColours.h"
#include "common/DefaultErrorBox.h"
#include "common/MessageTable.h"
#include "controls/win32/InfoDialogWin32.h"
#include "controls/win32/ReadoutWin32.h"
#include "editor/FrequencyTable.h"
#include "editor/ScrollRequest.h"
#include "platform/Cp932.h"
#include "platform/WideText.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Win32Dialog.h"
#include "platform/win32/Win32Fonts.h"

namespace mxc9 {

using namespace mainform;

// ---------------------------------------------------------------------------------------
// Creation

TMainForm::TMainForm(const Seams& seams, HINSTANCE instance, PortFactory makePort)
    : core_(seams, std::move(makePort)), instance_(instance) {
    INITCOMMONCONTROLSEX controls{sizeof(controls),
                                  ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    static const ATOM registered = [instance] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0));
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kWindowClass;
        return RegisterClassExW(&wc);
    }();
    if (!registered) throw std::runtime_error("the main window class cannot be registered");
    window_ = CreateWindowExW(0, kWindowClass, L"", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              kClientWidth, kClientHeight, nullptr, nullptr, instance, this);
    if (!window_) throw std::runtime_error("the main window cannot be created");
    dpi_ = DpiOf(window_);
    createFonts(dpi_);
    buildControls();
    showColours();
    layout(dpi_);
    core_.screen().setListener(this);
    core_.editor().setListener(this);
    core_.tabs().setListener(this);
    core_.tabs().append("DATA1");  // the one tab of the window layout
    FormCreate();
    activeControl_ = TabControl1;
}

TMainForm::~TMainForm() {
    core_.screen().setListener(nullptr);
    core_.editor().setListener(nullptr);
    core_.tabs().setListener(nullptr);
    closed_ = true;
    if (window_) DestroyWindow(window_);
    if (PopupMenu1) DestroyMenu(PopupMenu1);
    destroyFonts();
    if (fieldBrush_) DeleteObject(fieldBrush_);
}

void TMainForm::FormCreate() {
    // The frequency bars are collected by control id: bar n-1 is FRQ_n, its tag n-1.
    for (int n = 1; n <= kFrequencyBars; ++n)
        FRQ[static_cast<size_t>(n - 1)] = GetDlgItem(window_, kIdFirstBar + n - 1);
    core_.FormCreate(*this);
}

void TMainForm::Show(int showCommand) {
    RECT frame;
    GetWindowRect(window_, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    // The tab strip is first in the tab order and holds the focus when the window opens.
    SetFocus(TabControl1);
}

// ---------------------------------------------------------------------------------------
// Handlers

void TMainForm::EXIT_BTNClick() {
    SendMessageW(window_, WM_CLOSE, 0, 0);
}

void TMainForm::INFO_BTNClick() {
    if (!infoDialog_ || !core_.InfoAllowed()) return;
    infoDialog_->setLinkCaption(Message(17));
    infoDialog_->exec(window_);
}

void TMainForm::PROGRAM_BTNClick() {
    core_.PROGRAM_BTNClick();
}

void TMainForm::READ_BTNClick() {
    core_.READ_BTNClick();
}

void TMainForm::CommPortCloseUp() {
    core_.CommPortCloseUp();
}

void TMainForm::CommPortDropDown() {
    core_.CommPortDropDown();
}

void TMainForm::FRQ_Enter(int tag) {
    core_.editor().FRQ_Enter(tag);
}

void TMainForm::FRQ_Exit(int tag) {
    core_.editor().FRQ_Exit(tag);
}

FocusMove TMainForm::FRQ_KeyDown(int tag, uint16_t& key) {
    return core_.editor().FRQ_KeyDown(tag, key);
}

void TMainForm::FRQ_KeyUp(int tag) {
    core_.editor().FRQ_KeyUp(tag);
}

void TMainForm::FRQ_Scroll(int tag, int scrollCode, int& scrollPos) {
    core_.FRQ_Scroll(tag, scrollCode, scrollPos);
}

void TMainForm::AVG_BARScroll(int scrollCode, int& scrollPos) {
    core_.AVG_BARScroll(scrollCode, scrollPos);
}

void TMainForm::NBRK_BARChange() {
    core_.NBRK_BARChange(GetScrollPos(NBRK_BAR, SB_CTL));
}

void TMainForm::TabControl1Changing() {
    core_.TabControl1Changing();
}

void TMainForm::TabControl1Change() {
    core_.TabControl1Change();
}

void TMainForm::PopupMenu1Popup() {
    const std::optional<PopupMenuState> state = core_.PopupMenu1Popup();
    for (int i = 0; i < kPageMenuItems; ++i) {
        const bool enabled = state && ItemEnabled(*state, static_cast<PageMenuItem>(i));
        EnableMenuItem(PopupMenu1, static_cast<UINT>(kIdFirstMenuItem + i),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

void TMainForm::CommentChange() {
    const std::wstring typed = WindowText(Comment);
    const std::optional<std::string> kept = core_.CommentChange(WideToUtf8(typed), kEditLineBreak);
    if (!kept) return;
    // The cursor keeps its distance from the end of the text.
    DWORD end = 0;
    SendMessageW(Comment, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
    const int fromEnd = static_cast<int>(typed.size()) - static_cast<int>(end);
    setCommentText(*kept);
    core_.CommentChange(*kept, kEditLineBreak);
    const int length = GetWindowTextLengthW(Comment);
    const int position = std::max(0, length - fromEnd);
    SendMessageW(Comment, EM_SETSEL, static_cast<WPARAM>(position), position);
}

void TMainForm::setCommentText(const std::string& utf8) {
    settingComment_ = true;
    SetWindowTextW(Comment, Utf8ToWide(utf8).c_str());
    settingComment_ = false;
}

// ---------------------------------------------------------------------------------------
// What the core shows

void TMainForm::showTitle(const std::string& title) {
    SetWindowTextW(window_, Utf8ToWide(title).c_str());
}

void TMainForm::showHints(const std::array<std::string, kSpeedButtons>& hints) {
    const HWND buttons[kSpeedButtons] = {PROGRAM_BTN, READ_BTN, INFO_BTN, EXIT_BTN};
    for (size_t i = 0; i < hints.size(); ++i) {
        const std::wstring text = Utf8ToWide(hints[i]);
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(buttons[i]);
        tool.lpszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void TMainForm::showMenuCaptions(const std::array<std::string, kPageMenuItems>& captions) {
    for (int i = 0; i < kPageMenuItems; ++i) {
        const UINT id = static_cast<UINT>(kIdFirstMenuItem + i);
        ModifyMenuW(PopupMenu1, id, MF_BYCOMMAND | MF_STRING, id,
                    Utf8ToWide(captions[static_cast<size_t>(i)]).c_str());
    }
}

void TMainForm::showBrakeItems(const std::vector<std::string>& items, int index) {
    SendMessageW(BRK_LIST, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageW(BRK_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    SendMessageW(BRK_LIST, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    fitListFonts();  // for the items it now has
}

int TMainForm::portIndex() const {
    return static_cast<int>(SendMessageW(CommPort, CB_GETCURSEL, 0, 0));
}

void TMainForm::showPortIndex(int index) {
    SendMessageW(CommPort, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TMainForm::focusTabControl() {
    SetFocus(TabControl1);
}

void TMainForm::showTransferBusy(bool busy) {
    // The page's controls are held, greyed; so is the tab strip. A held control that has
    // the focus gives it to the tab strip first, as Read does, and the tab strip has it
    // again when the transfer has ended.
    std::vector<HWND> held(FRQ.begin(), FRQ.end());
    held.insert(held.end(), {AVG_BAR, NBRK_BAR, BRK_LIST, CUTVT_LIST, RES_LIST, CUR_LIST, Comment,
                             TabControl1, PROGRAM_BTN, READ_BTN, CommPort, INFO_BTN, EXIT_BTN});
    if (busy && std::find(held.begin(), held.end(), GetFocus()) != held.end()) focusTabControl();
    for (HWND control : held) EnableWindow(control, !busy);
    InvalidateRect(TabControl1, nullptr, FALSE);  // its captions grey, or black again
    if (!busy && !GetFocus() && GetActiveWindow() == window_) SetFocus(TabControl1);
}

void TMainForm::closeWindow() {
    // Closed after the handler that asks has returned.
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

// ---------------------------------------------------------------------------------------
// Mirrors of the plain state

namespace {

// A bar shows a new position with the next paint, once however many changes came before
// it: a page loaded onto the screen repaints each bar once, all in the same paint.
void ShowPosition(HWND bar, int position) {
    if (GetScrollPos(bar, SB_CTL) == position) return;
    SetScrollPos(bar, SB_CTL, position, FALSE);
    InvalidateRect(bar, nullptr, FALSE);
}

}  // namespace

void TMainForm::barChanged(int index) {
    ShowPosition(FRQ[static_cast<size_t>(index)], core_.screen().bar(index));
}

void TMainForm::averageChanged() {
    ShowPosition(AVG_BAR, core_.screen().averageBar());
}

void TMainForm::neutralBrakeChanged() {
    ShowPosition(NBRK_BAR, core_.screen().neutralBrake());
    SetWindowTextW(NBRK_CAP, Utf8ToWide(core_.screen().neutralBrakeCaption()).c_str());
}

void TMainForm::listChanged(ListId list) {
    SendMessageW(listControl(list), CB_SETCURSEL,
                 static_cast<WPARAM>(core_.screen().listIndex(list)), 0);
}

void TMainForm::commentChanged() {
    const std::string text = core_.CommentText(kEditLineBreak);
    if (WideToUtf8(WindowText(Comment)) != text) setCommentText(text);
}

void TMainForm::gaugeChanged() {
    InvalidateRect(Select_Gage1, nullptr, FALSE);
    InvalidateRect(Select_Gage2, nullptr, FALSE);
}

void TMainForm::readoutsChanged() {
    const Readouts& r = core_.editor().readouts();
    const std::string* texts[] = {&r.value, &r.level, &r.name};
    const HWND panels[] = {FRQ_VALUE, FRQ_LEVEL, FRQ_NAME};
    for (size_t i = 0; i < std::size(panels); ++i) {
        SetWindowTextW(panels[i], Utf8ToWide(*texts[i]).c_str());
        InvalidateRect(panels[i], nullptr, FALSE);
    }
}

void TMainForm::tabsChanged() {
    // Only the tabs whose captions changed are set: a tab change with a thousand pages
    // sets none, and the tab control measures its tabs again only when one of them changed.
    const std::vector<std::string>& captions = core_.tabs().captions();
    const size_t want = captions.size();
    for (size_t i = 0; i < want; ++i) {
        if (i < tabCaptions_.size() && tabCaptions_[i] == captions[i]) continue;
        std::wstring text = Utf8ToWide(Cp932ToUtf8(captions[i]));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        if (i < tabCaptions_.size()) {
            TabCtrl_SetItem(TabControl1, static_cast<int>(i), &item);
        } else {
            TabCtrl_InsertItem(TabControl1, static_cast<int>(i), &item);
        }
    }
    for (size_t i = tabCaptions_.size(); i-- > want;)
        TabCtrl_DeleteItem(TabControl1, static_cast<int>(i));
    tabCaptions_ = captions;
    if (TabCtrl_GetCurSel(TabControl1) != core_.tabs().selected())
        TabCtrl_SetCurSel(TabControl1, core_.tabs().selected());
}

}  // namespace mxc9
