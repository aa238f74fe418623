#include "controls/win32/Label2Win32.h"

#include <commctrl.h>

#include "platform/win32/Win32Dialog.h"

namespace mxc9 {

namespace {

constexpr UINT_PTR kSubclassId = 0x4D584C32;  // "MXL2"

}  // namespace

SIZE TextSizeInFont(HWND window, HFONT font, const std::wstring& text) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = TextSize(dc, text);
    if (text.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        size.cy = metrics.tmHeight;
    }
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size;
}

TLabel2::~TLabel2() {
    if (window_) {
        RemoveWindowSubclass(window_, SubclassProc, kSubclassId);
        DestroyWindow(window_);
    }
}

HWND TLabel2::create(HWND parent, int id, int x, int y, const std::wstring& caption, HFONT font) {
    const SIZE size = TextSizeInFont(parent, font, caption);
    window_ = CreateChild(parent, L"STATIC", caption, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, id, x, y,
                          size.cx, size.cy, font);
    if (window_)
        SetWindowSubclass(window_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return window_;
}

void TLabel2::fitToCaption() {
    if (!window_) return;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    const SIZE size = TextSizeInFont(window_, font, WindowText(window_));
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

void TLabel2::setCaption(const std::wstring& caption) {
    if (!window_) return;
    SetWindowTextW(window_, caption.c_str());
    fitToCaption();
}

void TLabel2::setFont(HFONT font) {
    if (!window_) return;
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    fitToCaption();
}

RECT TLabel2::bounds() const {
    RECT rect{};
    if (!window_) return rect;
    GetWindowRect(window_, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window_), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LRESULT CALLBACK TLabel2::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
    auto* label = reinterpret_cast<TLabel2*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        label->window_ = nullptr;
        label->hovered_ = false;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return label->onMessage(message, wParam, lParam);
}

LRESULT TLabel2::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            if (!hovered_) {
                hovered_ = true;
                TRACKMOUSEEVENT track{};
                track.cbSize = sizeof track;
                track.dwFlags = TME_LEAVE;
                track.hwndTrack = window_;
                TrackMouseEvent(&track);
                if (OnMouseEnter) OnMouseEnter(this);
            }
            break;
        case WM_MOUSELEAVE:
            hovered_ = false;
            if (OnMouseLeave) OnMouseLeave(this);
            break;
        case WM_LBUTTONDBLCLK:
            if (OnDblClick) {
                OnDblClick(this);
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (handCursor_ && LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(window_, message, wParam, lParam);
}

}  // namespace mxc9
