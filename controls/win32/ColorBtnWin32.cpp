#include "controls/win32/ColorBtnWin32.h"

#include <commctrl.h>

#include "platform/WideText.h"
#include "platform/win32/Win32Dialog.h"

namespace mxc9 {

namespace {

constexpr UINT_PTR kSubclassId = 0x4D584342;  // "MXCB"
// The window property that leads from a button's window to its TColorBtn.
const wchar_t kButtonProperty[] = L"MXC9.TColorBtn";

UINT TextFormat(TNHAlignment align) {
    const UINT horizontal = align == haLeft ? DT_LEFT : align == haRight ? DT_RIGHT : DT_CENTER;
    return horizontal | DT_TOP;
}

RECT ToRect(const PixelRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

void Fill(HDC dc, const PixelRect& r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    const RECT rect = ToRect(r);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

}  // namespace

TColorBtn::TColorBtn()
    : ColorBtnProperties(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOWFRAME),
                         GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW)) {}

TColorBtn::~TColorBtn() {
    if (window_) {
        RemoveWindowSubclass(window_, SubclassProc, kSubclassId);
        RemovePropW(window_, kButtonProperty);
        DestroyWindow(window_);
    }
}

HWND TColorBtn::create(HWND parent, int id, int x, int y, int width, int height,
                       const std::wstring& caption, HFONT font) {
    window_ = CreateChild(parent, L"BUTTON", caption, WS_TABSTOP | BS_OWNERDRAW, id, x, y, width,
                          height, font);
    if (window_) {
        SetPropW(window_, kButtonProperty, this);
        SetWindowSubclass(window_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    return window_;
}

TColorBtn* TColorBtn::FromHandle(HWND window) {
    return window ? static_cast<TColorBtn*>(GetPropW(window, kButtonProperty)) : nullptr;
}

bool TColorBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    TColorBtn* button = FromHandle(item.hwndItem);
    if (!button) return false;
    button->paint(item);
    return true;
}

void TColorBtn::propertyChanged() {
    repaint();
}

void TColorBtn::repaint() {
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void TColorBtn::paint(const DRAWITEMSTRUCT& item) {
    ++paintCount_;
    ColorBtnState s;
    static_cast<ColorBtnLook&>(s) = look_;
    s.clientWidth = item.rcItem.right - item.rcItem.left;
    s.clientHeight = item.rcItem.bottom - item.rcItem.top;
    s.active = active_;
    s.focused = (item.itemState & ODS_FOCUS) != 0;
    s.pressed = (item.itemState & ODS_SELECTED) != 0;
    s.mouseInside = mouseInside_;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    if (s.clientWidth <= 0 || s.clientHeight <= 0) return;

    // Drawn off screen and copied in one step, so the button never shows half drawn.
    HDC dc = CreateCompatibleDC(item.hDC);
    HBITMAP bitmap = CreateCompatibleBitmap(item.hDC, s.clientWidth, s.clientHeight);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));

    Fill(dc, {0, 0, s.clientWidth, s.clientHeight}, enabled ? color_ : GetSysColor(COLOR_BTNFACE));

    std::vector<std::string> lines;
    for (const std::wstring& line : captionLines_) lines.push_back(WideToUtf8(line));
    const std::wstring caption =
        Utf8ToWide(CaptionText(WideToUtf8(WindowText(item.hwndItem)), lines));
    if (!caption.empty()) {
        const UINT format = TextFormat(look_.capAlignH);
        RECT measured{0, 0, 0, 0};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                  format | DT_CALCRECT);
        RECT text = ToRect(CaptionRect(s, measured.bottom - measured.top));
        SetBkMode(dc, TRANSPARENT);
        if (enabled) {
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                      format | DT_NOCLIP);
        } else {
            RECT engraved = text;
            OffsetRect(&engraved, 1, 1);
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &engraved,
                      format | DT_NOCLIP);
            SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                      format | DT_NOCLIP);
        }
    }

    for (const EdgeLine& line : EdgeLines(s)) {
        const COLORREF color = line.color == EdgeColor::Frame       ? frameColor_
                               : line.color == EdgeColor::Highlight ? edgeHighlight_
                                                                    : edgeShadow_;
        Fill(dc, line.pixels, color);
    }
    if (const auto focus = FocusRect(s)) {
        // The system's dotted rectangle inverts what is under it; black text on the
        // button face gives the classic look.
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        const RECT rect = ToRect(*focus);
        DrawFocusRect(dc, &rect);
    }

    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, s.clientWidth, s.clientHeight, dc, 0, 0,
           SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

LRESULT CALLBACK TColorBtn::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) {
    auto* button = reinterpret_cast<TColorBtn*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        RemovePropW(window, kButtonProperty);
        button->window_ = nullptr;
        button->active_ = false;
        button->mouseInside_ = false;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return button->onMessage(message, wParam, lParam);
}

LRESULT TColorBtn::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE: {
            // An owner-drawn button is no push button to the dialog manager; saying it is
            // one makes the manager move the default-button style to it and away again,
            // and Enter click it while it is the active one.
            const LRESULT code = DefSubclassProc(window_, message, wParam, lParam);
            return (code & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) | DLGC_BUTTON |
                   (active_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        }
        case BM_SETSTYLE: {
            // The default-button style notification. Not passed on: the system button
            // would take BS_DEFPUSHBUTTON as its new type and stop being owner-drawn.
            const bool active = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
            if (active != active_) {
                active_ = active;
                if (LOWORD(lParam)) repaint();
            }
            return 0;
        }
        case WM_LBUTTONDBLCLK:
            // A double click is a second press, so two quick clicks give two clicks (the
            // system's owner-drawn button would report BN_DOUBLECLICKED instead).
            return DefSubclassProc(window_, WM_LBUTTONDOWN, wParam, lParam);
        case WM_MOUSEMOVE: {
            RECT client{};
            GetClientRect(window_, &client);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (!mouseInside_ && PtInRect(&client, at)) {
                mouseInside_ = true;
                TRACKMOUSEEVENT track{};
                track.cbSize = sizeof track;
                track.dwFlags = TME_LEAVE;
                track.hwndTrack = window_;
                TrackMouseEvent(&track);
                repaint();
                if (OnMouseEnter) OnMouseEnter(this);
            }
            break;
        }
        case WM_MOUSELEAVE:
            mouseInside_ = false;
            repaint();
            if (OnMouseLeave) OnMouseLeave(this);
            break;
        case WM_ENABLE: {
            const LRESULT result = DefSubclassProc(window_, message, wParam, lParam);
            repaint();
            return result;
        }
        default:
            break;
    }
    return DefSubclassProc(window_, message, wParam, lParam);
}

}  // namespace mxc9
