#include "controls/win32/ReadoutWin32.h"

#include <stdexcept>

#include "platform/win32/Win32Dialog.h"

namespace mxc9 {

namespace {

const wchar_t* const kReadoutClass = L"MXC9Readout";
// Offsets of the colours in the window's extra bytes; the font is its user data.
constexpr int kTextColour = 0;
constexpr int kBackColour = 4;

void Paint(HWND panel, HDC dc) {
    RECT box;
    GetClientRect(panel, &box);
    SetBkColor(dc, static_cast<COLORREF>(GetWindowLongW(panel, kBackColour)));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
    DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(GetWindowLongPtrW(panel, GWLP_USERDATA)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(GetWindowLongW(panel, kTextColour)));
    DrawTextW(dc, WindowText(panel).c_str(), -1, &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

LRESULT CALLBACK ReadoutProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT:
            SetWindowLongPtrW(panel, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam)) InvalidateRect(panel, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(panel, GWLP_USERDATA);
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(panel, message, wParam, lParam);
            InvalidateRect(panel, nullptr, FALSE);
            return result;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(panel, &paint);
            Paint(panel, dc);
            EndPaint(panel, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(panel, reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return DefWindowProcW(panel, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateReadout(HWND parent, int id, const wchar_t* text, HINSTANCE instance) {
    static const ATOM registered = [instance] {
        WNDCLASSEXW readout{};
        readout.cbSize = sizeof(readout);
        readout.lpfnWndProc = ReadoutProc;
        readout.hInstance = instance;
        readout.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        readout.lpszClassName = kReadoutClass;
        readout.cbWndExtra = 8;
        return RegisterClassExW(&readout);
    }();
    if (!registered) throw std::runtime_error("the readout class cannot be registered");
    HWND panel =
        CreateWindowExW(0, kReadoutClass, text, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!panel) throw std::runtime_error("a readout cannot be created");
    SetReadoutColours(panel, RGB(0, 255, 0), RGB(0, 0, 0));
    return panel;
}

void SetReadoutColours(HWND readout, COLORREF text, COLORREF back) {
    SetWindowLongW(readout, kTextColour, static_cast<LONG>(text));
    SetWindowLongW(readout, kBackColour, static_cast<LONG>(back));
    InvalidateRect(readout, nullptr, FALSE);
}

}  // namespace mxc9
