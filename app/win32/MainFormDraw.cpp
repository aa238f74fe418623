// The Windows main window's drawing: the gauges, the labels, the lists and the port list.
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
    if (item.CtlType == ODT_TAB) {
        // A tab's caption in the system's colours, which a high-contrast scheme sets, and
        // grey while a transfer holds the tab strip.
        // The control has drawn the tab's frame and face; only the caption is the window's.
        const size_t index = static_cast<size_t>(item.itemID);
        if (index >= tabCaptions_.size()) return;
        HGDIOBJ old = SelectObject(dc, windowFont_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc,
                     GetSysColor(IsWindowEnabled(TabControl1) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextW(dc, Utf8ToWide(Cp932ToUtf8(tabCaptions_[index])).c_str(), -1, &box,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
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

}  // namespace mxc9
