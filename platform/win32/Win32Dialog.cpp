#include "platform/win32/Win32Dialog.h"

#include <vector>

namespace mxc9 {

INT_PTR RunModalDialog(HWND owner, const std::wstring& caption, DLGPROC proc, LPARAM param) {
    // DLGTEMPLATE, then the menu (none), the window class (the dialog's own) and the
    // caption as UTF-16 strings; no font, no controls. DWORD aligned, as the system asks.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3 + caption.size(), 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialog->dwExtendedStyle = WS_EX_DLGMODALFRAME;
    dialog->cdit = 0;
    WORD* tail = words.data() + sizeof(DLGTEMPLATE) / sizeof(WORD);
    tail[0] = 0;  // no menu
    tail[1] = 0;  // the standard dialog class
    for (size_t i = 0; i < caption.size(); ++i) tail[2 + i] = static_cast<WORD>(caption[i]);
    tail[2 + caption.size()] = 0;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog, owner, proc, param);
}

void SizeClientAndCentre(HWND window, int width, int height) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    // The frame as the system draws it at this window's resolution.
    const int frameWidth = (outer.right - outer.left) - (client.right - client.left);
    const int frameHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
    const int outerWidth = width + frameWidth;
    const int outerHeight = height + frameHeight;
    HWND owner = GetWindow(window, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const int left = area.left + ((area.right - area.left) - outerWidth) / 2;
    const int top = area.top + ((area.bottom - area.top) - outerHeight) / 2;
    SetWindowPos(window, nullptr, left, top, outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TextSize(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

HWND CreateChild(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                 int id, int x, int y, int width, int height, HFONT font, DWORD exStyle) {
    HWND child =
        CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y,
                        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (child && font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

}  // namespace mxc9
