#include "app/win32/MainForm.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "app/win32/ControlIds.h"
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

namespace {

const wchar_t* const kWindowClass = L"MXC9MainForm";
constexpr int kClientWidth = 792;
constexpr int kClientHeight = 449;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The port list's closing is handled once the chosen item is current.
constexpr UINT kMsgPortClosedUp = WM_APP + 1;
// The open port list is placed once the system has shown it.
constexpr UINT kMsgPortListShown = WM_APP + 2;

// An open drop-down list shows this many rows at a time and scrolls for the rest.
constexpr int kOpenListRows = 8;
constexpr int kListFaceHeight = 16;
constexpr int kListRowHeight = 15;
constexpr int kPortColumnGap = 12;

std::wstring ItemText(HWND list, int item) {
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

SIZE TextSizeIn(HDC dc, HFONT font, const std::wstring& text) {
    HGDIOBJ old = SelectObject(dc, font);
    const SIZE size = TextSize(dc, text);
    SelectObject(dc, old);
    return size;
}

// Lines of the edit box end in CR LF.
constexpr std::string_view kEditLineBreak = "\r\n";

// The window's outer size for a client area, at the window's resolution.
RECT OuterRect(int width, int height, int dpi) {
    RECT rect{0, 0, width, height};
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (adjustForDpi) {
        adjustForDpi(&rect, kWindowStyle, FALSE, 0, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&rect, kWindowStyle, FALSE, 0);
    }
    return rect;
}

}  // namespace

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

HWND TMainForm::child(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id,
                      DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, 0, 0,
                                   0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   instance_, nullptr);
    if (!control) throw std::runtime_error("a control of the main window cannot be created");
    return control;
}

void TMainForm::buildControls() {
    auto watched = [this](HWND control) {
        SetWindowSubclass(control, ControlProc, 1, reinterpret_cast<DWORD_PTR>(this));
        return control;
    };
    auto place = [this](HWND* control, int x, int y, int width, int height) {
        placed_.push_back(Placed{control, RECT{x, y, width, height}});
    };
    auto label = [&](const wchar_t* caption, int x, int y) {
        const int id = kIdFirstLabel + static_cast<int>(labels_.size());
        // Drawn by the window, so that they are bold however the font draws bold.
        labels_.push_back(child(WC_STATICW, caption, SS_OWNERDRAW, id));
        place(&labels_.back(), x, y, 0, 0);
    };

    // The tab strip lies under every other control and paints the page around them.
    TabControl1 =
        watched(child(WC_TABCONTROLW, L"",
                      WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BOTTOM | TCS_FOCUSONBUTTONDOWN, kIdTabs));
    // Themes draw no tabs at the bottom; the classic look does.
    SetWindowTheme(TabControl1, L"", L"");
    place(&TabControl1, 0, 0, kClientWidth, kClientHeight);

    // The frequency map.
    labels_.reserve(16);
    label(L"Frequency", 6, 3);
    Select_Gage1 = child(WC_STATICW, L"", SS_OWNERDRAW, kIdGauge1);
    place(&Select_Gage1, 5, 19, SelectionGauge::kWidth, SelectionGauge::kHeight);
    Select_Gage2 = child(WC_STATICW, L"", SS_OWNERDRAW, kIdGauge2);
    place(&Select_Gage2, 5, 393, SelectionGauge::kWidth, SelectionGauge::kHeight);
    SCROLLINFO range{sizeof(range), SIF_RANGE | SIF_PAGE | SIF_POS, 0, kMaxFrequencyCode, 0, 32, 0};
    for (int n = 1; n <= kFrequencyBars; ++n) {
        HWND bar = watched(child(WC_SCROLLBARW, L"", SBS_VERT | WS_TABSTOP, kIdFirstBar + n - 1));
        SetScrollInfo(bar, SB_CTL, &range, FALSE);
        FRQ[static_cast<size_t>(n - 1)] = bar;
        place(&FRQ[static_cast<size_t>(n - 1)], 6 + 17 * (n - 1), 27, 16, 365);
    }
    AVG_BAR = watched(child(WC_SCROLLBARW, L"", SBS_VERT | WS_TABSTOP, kIdAverage));
    SetScrollInfo(AVG_BAR, SB_CTL, &range, FALSE);
    place(&AVG_BAR, 552, 27, 21, 365);
    FRQ_VALUE = CreateReadout(window_, kIdValue, L"-----", instance_);
    place(&FRQ_VALUE, 5, 401, 86, 24);
    FRQ_LEVEL = CreateReadout(window_, kIdLevel, L"-----", instance_);
    place(&FRQ_LEVEL, 91, 401, 85, 24);
    FRQ_NAME = CreateReadout(window_, kIdName, L"-----", instance_);
    place(&FRQ_NAME, 176, 401, 85, 24);

    // The right-hand column.
    label(L"Neutral Brake", 582, 3);
    NBRK_CAP = watched(child(WC_EDITW, L"OFF", ES_READONLY | ES_LEFT | WS_TABSTOP, kIdBrakeCaption,
                             WS_EX_CLIENTEDGE));
    place(&NBRK_CAP, 582, 16, 43, 20);
    NBRK_BAR = watched(child(WC_SCROLLBARW, L"", SBS_HORZ | WS_TABSTOP, kIdBrakeBar));
    SCROLLINFO brake{sizeof(brake), SIF_RANGE | SIF_PAGE | SIF_POS, 0, kNeutralBrakeMax, 0, 0, 0};
    SetScrollInfo(NBRK_BAR, SB_CTL, &brake, FALSE);
    place(&NBRK_BAR, 650, 17, 134, 18);
    const DWORD listStyle =
        CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
    auto list = [&](HWND* box, ListId id, int x, int y, int width) {
        *box = watched(child(WC_COMBOBOXW, L"", listStyle, kIdFirstList + static_cast<int>(id)));
        place(box, x, y, width, 0);
    };
    label(L"Brake Frequency", 582, 38);
    list(&BRK_LIST, ListId::Brake, 582, 51, 107);
    label(L"Power Save", 582, 73);
    list(&CUTVT_LIST, ListId::CutVt, 582, 86, 75);
    label(L"TH.Response", 582, 108);
    list(&RES_LIST, ListId::Response, 582, 121, 75);
    label(L"Current Limiter", 686, 108);
    list(&CUR_LIST, ListId::Current, 686, 121, 75);
    label(L"Comment", 582, 141);
    for (ListId id : {ListId::CutVt, ListId::Response, ListId::Current}) {
        for (const std::string& item : ListItems(id))
            SendMessageW(listControl(id), CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    }
    for (ListId id : {ListId::Brake, ListId::CutVt, ListId::Response, ListId::Current})
        SendMessageW(listControl(id), CB_SETCURSEL,
                     static_cast<WPARAM>(core_.screen().listIndex(id)), 0);

    Comment = watched(child(WC_EDITW, L"",
                            ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
                            kIdComment, WS_EX_CLIENTEDGE));
    place(&Comment, 582, 154, 203, 239);

    // The speed buttons, the port list.
    PROGRAM_BTN = CreateSpeedButton(window_, kIdWrite, Glyph::Write, instance_);
    place(&PROGRAM_BTN, 267, 403, 33, 22);
    READ_BTN = CreateSpeedButton(window_, kIdRead, Glyph::Read, instance_);
    place(&READ_BTN, 300, 403, 33, 22);
    INFO_BTN = CreateSpeedButton(window_, kIdInformation, Glyph::Information, instance_);
    place(&INFO_BTN, 346, 403, 34, 22);
    EXIT_BTN = CreateSpeedButton(window_, kIdQuit, Glyph::Quit, instance_);
    place(&EXIT_BTN, 380, 403, 33, 22);
    tooltips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    for (HWND button : {PROGRAM_BTN, READ_BTN, INFO_BTN, EXIT_BTN}) {
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(button);
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    Label35 = child(WC_STATICW, L"COMM", SS_LEFT | SS_NOPREFIX, kIdPortLabel);
    place(&Label35, 680, 408, 0, 0);
    CommPort = watched(child(WC_COMBOBOXW, L"", listStyle, kIdPort));
    place(&CommPort, 721, 405, 65, 0);
    for (const std::string& item : PortListItems())
        SendMessageW(CommPort, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    SendMessageW(CommPort, CB_SETCURSEL, 0, 0);

    // The tab strip's pop-up menu.
    PopupMenu1 = CreatePopupMenu();
    for (int i = 0; i < kPageMenuItems; ++i) {
        AppendMenuW(PopupMenu1, MF_STRING, static_cast<UINT_PTR>(kIdFirstMenuItem + i),
                    Utf8ToWide(kPageMenuItemNames[static_cast<size_t>(i)]).c_str());
        if (SeparatorAfter(static_cast<PageMenuItem>(i)))
            AppendMenuW(PopupMenu1, MF_SEPARATOR, 0, nullptr);
    }

    // The tab strip itself first, then the bars in index order, the average bar and the
    // right-hand column; the port list closes the chain.
    tabOrder_ = {TabControl1};
    tabOrder_.insert(tabOrder_.end(), FRQ.begin(), FRQ.end());
    for (HWND control :
         {AVG_BAR, NBRK_CAP, NBRK_BAR, BRK_LIST, RES_LIST, CUR_LIST, Comment, CUTVT_LIST, CommPort})
        tabOrder_.push_back(control);
    // Under every other control, so that its page paints around them.
    SetWindowPos(TabControl1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int TMainForm::scaled(int pixels) const {
    return ScaleToDpi(pixels, dpi_);
}

void TMainForm::createFonts(int dpi) {
    destroyFonts();
    windowFont_ = CreateWindowFont(12, false, dpi);
    boldFont_ = CreateWindowFont(12, true, dpi);
    boldStrike_ = BoldShowsItsWeight(windowFont_, boldFont_) ? 0 : ScaleToDpi(1, dpi);
    // Every readout text fits its panel inside the sunken edge, in whatever font stands
    // in for the window font.
    std::vector<TextRoom> readouts;
    const int edges = 2 * GetSystemMetrics(SM_CXEDGE);
    for (int code = 0; code <= kMaxFrequencyCode; ++code) {
        const Readouts r = ReadoutsFor(0, code);
        readouts.push_back({Utf8ToWide(r.value), ScaleToDpi(86, dpi) - edges});
        readouts.push_back({Utf8ToWide(r.level), ScaleToDpi(85, dpi) - edges});
    }
    for (int index = 0; index <= kAverageBarTag; ++index)
        readouts.push_back({Utf8ToWide(ReadoutsFor(index, 0).name), ScaleToDpi(85, dpi) - edges});
    readoutFont_ = CreateFittedWindowFont(19, true, dpi, readouts);
}

void TMainForm::destroyFonts() {
    for (HFONT* font : {&windowFont_, &boldFont_, &readoutFont_}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
    for (HFONT font : listFonts_) DeleteObject(font);
    listFonts_.clear();
}

void TMainForm::layout(int dpi) {
    dpi_ = dpi;
    HDC dc = GetDC(window_);
    for (const Placed& p : placed_) {
        HWND control = *p.control;
        const bool isLabel = std::find(labels_.begin(), labels_.end(), control) != labels_.end() ||
                             control == Label35;
        HFONT font = control == Label35 || control == TabControl1 ? windowFont_ : boldFont_;
        if (control == FRQ_VALUE || control == FRQ_LEVEL || control == FRQ_NAME)
            font = readoutFont_;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        int width = scaled(p.layout.right);
        int height = scaled(p.layout.bottom);
        if (isLabel) {
            const SIZE size = TextSizeIn(dc, font, WindowText(control));
            width = size.cx + (control != Label35 ? boldStrike() : 0);
            height = size.cy;
        }
        if (p.layout.bottom == 0 && !isLabel) {
            // A drop-down list: its face, and below it the open list's rows.
            SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                         scaled(kListFaceHeight));
            SendMessageW(control, CB_SETITEMHEIGHT, 0, scaled(kListRowHeight));
            height = scaled(kListFaceHeight) + 6 + kOpenListRows * scaled(kListRowHeight) + 2;
        }
        SetWindowPos(control, nullptr, scaled(p.layout.left), scaled(p.layout.top), width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ReleaseDC(window_, dc);
    fitListFonts();
    SendMessageW(Comment, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), TRUE);
    SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_), FALSE);
    const RECT outer = OuterRect(scaled(kClientWidth), scaled(kClientHeight), dpi);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

void TMainForm::fitListFonts() {
    // Every item fits the face of its list beside the drop-down button: each list has
    // the bold font, narrowed only as far as its own items need.
    for (HFONT font : listFonts_) DeleteObject(font);
    listFonts_.clear();
    for (HWND list : {BRK_LIST, CUTVT_LIST, RES_LIST, CUR_LIST, CommPort}) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        std::vector<TextRoom> items;
        if (GetComboBoxInfo(list, &info)) {
            // Left of the button, which the system draws over the face's last pixels, and
            // clear of it by the pixel the text stands in from the left.
            const int right = std::min(info.rcItem.right, info.rcButton.left);
            const int room = right - info.rcItem.left - 2 * scaled(1) - boldStrike_;
            const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) items.push_back({ItemText(list, i), room});
        }
        listFonts_.push_back(CreateFittedWindowFont(12, true, dpi_, items));
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(listFonts_.back()), FALSE);
    }
}

void TMainForm::showColours() {
    colours_ = ColoursFor(highContrast ? highContrast() : false);
    for (HWND panel : {FRQ_VALUE, FRQ_LEVEL, FRQ_NAME})
        if (panel) SetReadoutColours(panel, colours_.readoutText, colours_.readout);
    if (fieldBrush_) DeleteObject(fieldBrush_);
    fieldBrush_ = CreateSolidBrush(colours_.field);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
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
// Messages

LRESULT CALLBACK TMainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<TMainForm*>(create->lpCreateParams)->window_ = window;
    }
    auto* self = reinterpret_cast<TMainForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->closed_) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->handleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        ShowDefaultError(*self->core_.seams().messages, error.what());
    }
    return 0;
}

LRESULT TMainForm::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_VSCROLL:
        case WM_HSCROLL:
            if (lParam) onScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_DRAWITEM:
            onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_MEASUREITEM:
            onMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return reinterpret_cast<LRESULT>(
                onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_CONTEXTMENU:
            showPopupMenu(reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case WM_ACTIVATE:
            // Coming back, the control that had the focus has it again: no control is
            // left or entered by a change of the active window.
            if (LOWORD(wParam) != WA_INACTIVE) {
                SetFocus(activeControl_ && IsWindowEnabled(activeControl_) ? activeControl_
                                                                           : TabControl1);
            }
            return 0;
        case WM_SETFOCUS:
            if (activeControl_) SetFocus(activeControl_);
            return 0;
        case WM_MOUSEWHEEL: {
            // The bar under the pointer takes a wheel turn as a click would be taken.
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(window_, &at);
            HWND under =
                ChildWindowFromPointEx(window_, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
            if (under && under != window_ && tagOf(under) >= 0)
                return controlMessage(under, message, wParam, lParam);
            return 0;
        }
        case kMsgPortClosedUp:
            portClosedUpPosted_ = false;
            CommPortCloseUp();
            return 0;
        case kMsgPortListShown:
            placePortList();
            return 0;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            // A high-contrast scheme switched on or off, or its colours changed.
            showColours();
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_DPICHANGED: {
            const int dpi = HIWORD(wParam);
            createFonts(dpi);
            layout(dpi);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            if (core_.CloseRequested()) DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK TMainForm::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR /*id*/, DWORD_PTR self) {
    auto* form = reinterpret_cast<TMainForm*>(self);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, ControlProc, 1);
    if (form->closed_) return DefSubclassProc(control, message, wParam, lParam);
    try {
        return form->controlMessage(control, message, wParam, lParam);
    } catch (const std::exception& error) {
        ShowDefaultError(*form->core_.seams().messages, error.what());
    }
    return 0;
}

LRESULT TMainForm::controlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const int tag = tagOf(control);
    switch (message) {
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
            // The read-only caption has a place in the tab order: its text is selected
            // while it has the focus, so that the focus shows.
            if (control == NBRK_CAP) SendMessageW(NBRK_CAP, EM_SETSEL, 0, -1);
            controlFocused(control);
            return result;
        }
        case WM_KEYDOWN:
            if (control == TabControl1) {
                // A key's change that TCN_SELCHANGING refused still moves Wine's tab
                // control to the new tab, without a TCN_SELCHANGE: it goes back.
                const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
                if (TabCtrl_GetCurSel(TabControl1) != core_.tabs().selected())
                    TabCtrl_SetCurSel(TabControl1, core_.tabs().selected());
                return result;
            }
            if (tag >= 0 && tag < kFrequencyBars) {
                uint16_t key = static_cast<uint16_t>(wParam);
                const FocusMove move = FRQ_KeyDown(tag, key);
                if (key != 0) DefSubclassProc(control, message, key, lParam);
                if (move != FocusMove::None) moveFocus(control, move == FocusMove::Next);
                return 0;
            }
            break;
        case WM_KEYUP:
            if (tag >= 0 && tag < kFrequencyBars) {
                const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
                FRQ_KeyUp(tag);
                return result;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A click takes the focus first, so the bar is entered before it moves.
            if (tag >= 0 && GetFocus() != control) {
                SetFocus(control);
                if (GetFocus() != control) return 0;
            }
            break;
        case WM_MOUSEWHEEL:
            if (tag >= 0) {
                // Each notch is one line request, up for a turn away from the user.
                wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
                const int notches = wheelRemainder_ / WHEEL_DELTA;
                wheelRemainder_ -= notches * WHEEL_DELTA;
                if (notches == 0) return 0;
                if (GetFocus() != control) SetFocus(control);
                if (GetFocus() != control) return 0;
                for (int i = 0; i < std::abs(notches); ++i)
                    onScroll(control, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
                return 0;
            }
            if (control == CommPort && !SendMessageW(CommPort, CB_GETDROPPEDSTATE, 0, 0))
                return 0;  // the shown port changes only through the list's closing
            break;
        case WM_CONTEXTMENU:
            if (control != Comment && control != NBRK_CAP) {
                showPopupMenu(control, lParam);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

bool TMainForm::PreTranslateMessage(MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || !window_) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    HWND from = GetFocus();
    if (std::find(tabOrder_.begin(), tabOrder_.end(), from) == tabOrder_.end())
        from = activeControl_;
    moveFocus(from, GetKeyState(VK_SHIFT) >= 0);
    return true;
}

void TMainForm::moveFocus(HWND from, bool forward) {
    const auto at = std::find(tabOrder_.begin(), tabOrder_.end(), from);
    const size_t count = tabOrder_.size();
    size_t index = at == tabOrder_.end() ? 0 : static_cast<size_t>(at - tabOrder_.begin());
    for (size_t step = 0; step < count; ++step) {
        index = forward ? (index + 1) % count : (index + count - 1) % count;
        HWND next = tabOrder_[index];
        if (IsWindowEnabled(next) && IsWindowVisible(next)) {
            SetFocus(next);
            return;
        }
    }
}

void TMainForm::controlFocused(HWND control) {
    if (control == activeControl_) return;
    const int left = tagOf(activeControl_);
    activeControl_ = control;
    if (left >= 0 && left < kFrequencyBars) FRQ_Exit(left);
    const int entered = tagOf(control);
    if (entered >= 0 && entered <= kAverageBarTag) FRQ_Enter(entered);
}

int TMainForm::tagOf(HWND control) const {
    if (!control) return -1;
    if (control == AVG_BAR) return kAverageBarTag;
    const auto at = std::find(FRQ.begin(), FRQ.end(), control);
    return at == FRQ.end() ? -1 : static_cast<int>(at - FRQ.begin());
}

HWND TMainForm::listControl(ListId list) const {
    switch (list) {
        case ListId::Brake:
            return BRK_LIST;
        case ListId::CutVt:
            return CUTVT_LIST;
        case ListId::Response:
            return RES_LIST;
        case ListId::Current:
            return CUR_LIST;
    }
    return nullptr;
}

void TMainForm::onCommand(int id, int code, HWND control) {
    if (id >= kIdFirstMenuItem && id < kIdFirstMenuItem + kPageMenuItems && !control) {
        RunPageMenuItem(core_.pageCommands(), static_cast<PageMenuItem>(id - kIdFirstMenuItem));
        return;
    }
    switch (id) {
        case kIdWrite:
            PROGRAM_BTNClick();
            return;
        case kIdRead:
            READ_BTNClick();
            return;
        case kIdInformation:
            INFO_BTNClick();
            return;
        case kIdQuit:
            EXIT_BTNClick();
            return;
        case kIdPort:
            if (code == CBN_DROPDOWN) {
                CommPortDropDown();
                PostMessageW(window_, kMsgPortListShown, 0, 0);
            }
            // The chosen item is current only once the list has closed. A key that changes
            // the closed list's entry is a choice like one from the open list: the list
            // never shows one port and uses another. (The system reports a choice from
            // the open list as a change too, after the closing or before it.)
            if (code == CBN_CLOSEUP || (code == CBN_SELCHANGE && !portClosedUpPosted_ &&
                                        !SendMessageW(CommPort, CB_GETDROPPEDSTATE, 0, 0))) {
                portClosedUpPosted_ = true;
                PostMessageW(window_, kMsgPortClosedUp, 0, 0);
            }
            return;
        case kIdComment:
            if (code == EN_CHANGE && !settingComment_) CommentChange();
            return;
        default:
            break;
    }
    if (id >= kIdFirstList && id < kIdFirstList + 4 && code == CBN_SELCHANGE) {
        const auto list = static_cast<ListId>(id - kIdFirstList);
        core_.ListChange(list, static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    }
}

LRESULT TMainForm::onNotify(const NMHDR& header) {
    if (header.hwndFrom != TabControl1) return 0;
    if (header.code == TCN_SELCHANGING) return core_.transferRunning() ? TRUE : FALSE;
    if (header.code == TCN_SELCHANGE) {
        const int index = TabCtrl_GetCurSel(TabControl1);
        if (!core_.SelectTab(index)) TabCtrl_SetCurSel(TabControl1, core_.tabs().selected());
    }
    return 0;
}

void TMainForm::onScroll(HWND bar, int code) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    int position = ProposedScrollPosition(code, info.nPos, info.nTrackPos,
                                          ScrollRange{info.nMin, info.nMax, 1, 1});
    const int tag = tagOf(bar);
    if (tag >= 0 && tag < kFrequencyBars) {
        FRQ_Scroll(tag, code, position);
    } else if (tag == kAverageBarTag) {
        AVG_BARScroll(code, position);
    } else if (bar != NBRK_BAR) {
        return;
    }
    SetScrollPos(bar, SB_CTL, position, TRUE);
    if (bar == NBRK_BAR) NBRK_BARChange();
}

void TMainForm::showPopupMenu(HWND source, LPARAM at) {
    if (core_.transferRunning()) return;
    if (source == Comment || source == NBRK_CAP) return;
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {
        // From the keyboard: at the focused control.
        RECT place;
        GetWindowRect(activeControl_ ? activeControl_ : window_, &place);
        point = {place.left + 4, place.top + 4};
    }
    PopupMenu1Popup();
    TrackPopupMenuEx(PopupMenu1, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y,
                     window_, nullptr);
}

// ---------------------------------------------------------------------------------------
// Drawing

void TMainForm::DrawBold(HDC dc, const std::wstring& text, RECT box, UINT format) const {
    // Where the bold font draws hardly more than the regular one (a synthesised bold of a
    // font without a bold face of its own), the text is struck twice, a pixel apart.
    DrawTextW(dc, text.c_str(), -1, &box, format);
    if (boldStrike_ == 0) return;
    OffsetRect(&box, boldStrike_, 0);
    DrawTextW(dc, text.c_str(), -1, &box, format);
}

void TMainForm::onMeasureItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_COMBOBOX) return;
    item.itemHeight = static_cast<UINT>(
        scaled(item.itemID == static_cast<UINT>(-1) ? kListFaceHeight : kListRowHeight));
}

void TMainForm::onDrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT box = item.rcItem;
    if (item.CtlType == ODT_STATIC &&
        std::find(labels_.begin(), labels_.end(), item.hwndItem) != labels_.end()) {
        // A label: navy bold text on the page.
        SetBkColor(dc, colours_.page);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
        HGDIOBJ old = SelectObject(dc, boldFont_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colours_.labelText);
        DrawBold(dc, WindowText(item.hwndItem), box,
                 DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        return;
    }
    if (item.CtlType == ODT_STATIC &&
        (item.hwndItem == Select_Gage1 || item.hwndItem == Select_Gage2)) {
        // The gauge's pixels, each repeated, never blended, at any resolution.
        const SelectionGauge& gauge = core_.editor().gauge();
        constexpr int stride = (SelectionGauge::kWidth * 3 + 3) & ~3;
        std::vector<uint8_t> rows(static_cast<size_t>(stride) * SelectionGauge::kHeight);
        for (int y = 0; y < SelectionGauge::kHeight; ++y)
            for (int x = 0; x < SelectionGauge::kWidth; ++x) {
                const Rgb p = gauge.pixel(x, y);
                uint8_t* out = &rows[static_cast<size_t>(y * stride + x * 3)];
                out[0] = p.b;
                out[1] = p.g;
                out[2] = p.r;
            }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = SelectionGauge::kWidth;
        info.bmiHeader.biHeight = -SelectionGauge::kHeight;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, 0,
                      SelectionGauge::kWidth, SelectionGauge::kHeight, rows.data(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    if (item.CtlType != ODT_COMBOBOX) return;
    // A setting list: white bold text on black, inverted while the closed box has the
    // focus; the open list marks its selected row in the system's colours.
    const bool face = (item.itemState & ODS_COMBOBOXEDIT) != 0;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool port = item.hwndItem == CommPort;
    COLORREF back = colours_.field, text = colours_.fieldText;
    if (face && port) {
        back = GetSysColor(COLOR_WINDOW);
        text = GetSysColor(COLOR_WINDOWTEXT);
    }
    if (face && (item.itemState & ODS_FOCUS)) std::swap(back, text);
    if (!face && selected) {
        back = GetSysColor(COLOR_HIGHLIGHT);
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    if (!IsWindowEnabled(item.hwndItem)) text = GetSysColor(COLOR_GRAYTEXT);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
    if (item.itemID == static_cast<UINT>(-1)) return;
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    RECT cell = box;
    cell.left += scaled(1);
    const std::wstring caption = ItemText(item.hwndItem, static_cast<int>(item.itemID));
    if (port && !face) {
        // The open port list: the entry, the device it stands for, what that is.
        const PortEntry* entry = nullptr;
        for (const PortEntry& e : portEntries_)
            if (e.portNo == static_cast<int>(item.itemID)) entry = &e;
        const std::wstring columns[3] = {
            caption, entry && !entry->device.empty() ? Utf8ToWide(entry->device) : L"",
            entry ? Utf8ToWide(entry->details) : L""};
        for (int c = 0; c < 3; ++c) {
            cell.right = cell.left + portColumns_[static_cast<size_t>(c)];
            DrawTextW(dc, columns[c].c_str(), -1, &cell,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            cell.left = cell.right + scaled(kPortColumnGap);
        }
    } else {
        DrawBold(dc, caption, cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old);
}

HBRUSH TMainForm::onControlColour(HDC dc, HWND control) {
    if (control == NBRK_CAP || control == Comment ||
        GetParent(control) != window_ /* an open list */) {
        SetTextColor(dc, colours_.fieldText);
        SetBkColor(dc, colours_.field);
        return fieldBrush_;
    }
    // Labels on the page.
    SetTextColor(dc, control == Label35 ? GetSysColor(COLOR_BTNTEXT) : colours_.labelText);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
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

void TMainForm::showPortDevices(const std::vector<PortEntry>& entries) {
    portEntries_ = entries;
    // The open list is as wide as its three columns, its right edge under the box's.
    HDC dc = GetDC(CommPort);
    const auto portFont = reinterpret_cast<HFONT>(SendMessageW(CommPort, WM_GETFONT, 0, 0));
    std::array<int, 3>& widths = portColumns_;
    widths.fill(0);
    for (int row = 0; row < static_cast<int>(SendMessageW(CommPort, CB_GETCOUNT, 0, 0)); ++row)
        widths[0] = std::max(
            widths[0], static_cast<int>(TextSizeIn(dc, portFont, ItemText(CommPort, row)).cx));
    for (const PortEntry& e : entries) {
        widths[1] = std::max(widths[1],
                             static_cast<int>(TextSizeIn(dc, portFont, Utf8ToWide(e.device)).cx));
        widths[2] = std::max(widths[2],
                             static_cast<int>(TextSizeIn(dc, portFont, Utf8ToWide(e.details)).cx));
    }
    ReleaseDC(CommPort, dc);
    const int wanted = widths[0] + widths[1] + widths[2] + 3 * scaled(kPortColumnGap) +
                       GetSystemMetrics(SM_CXVSCROLL);
    SendMessageW(CommPort, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(wanted), 0);
}

void TMainForm::placePortList() {
    // The open list, wider than the box for its columns, has its right edge under the
    // box's, and stays on the monitor.
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!GetComboBoxInfo(CommPort, &info) || !info.hwndList || !IsWindowVisible(info.hwndList))
        return;
    RECT box, list;
    GetWindowRect(CommPort, &box);
    GetWindowRect(info.hwndList, &list);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(CommPort, MONITOR_DEFAULTTONEAREST), &monitor);
    const int width = list.right - list.left;
    int left = std::min(static_cast<int>(box.right) - width,
                        static_cast<int>(monitor.rcWork.right) - width);
    left = std::max(left, static_cast<int>(monitor.rcWork.left));
    SetWindowPos(info.hwndList, nullptr, left, list.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
