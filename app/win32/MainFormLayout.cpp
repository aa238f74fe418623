// The Windows main window's layout: its controls, their fonts, their places at each resolution.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "app/win32/ControlIds.h"
#include "app/win32/MainForm.h"
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

namespace mainform {

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

}  // namespace mainform

// ---------------------------------------------------------------------------------------
// Layout: the controls, their fonts and places at the window's resolution

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
    TabControl1 = watched(child(
        WC_TABCONTROLW, L"",
        WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BOTTOM | TCS_FOCUSONBUTTONDOWN | TCS_OWNERDRAWFIXED,
        kIdTabs));
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

}  // namespace mxc9
