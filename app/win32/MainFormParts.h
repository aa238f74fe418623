// What the files of the Windows main window share: its layout's constants, the messages it
// posts to itself, and small helpers over the system's controls. Private to app/win32.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace mxc9::mainform {

inline const wchar_t* const kWindowClass = L"MXC9MainForm";
inline constexpr int kClientWidth = 792;
inline constexpr int kClientHeight = 449;
inline constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The port list's closing is handled once the chosen item is current.
inline constexpr UINT kMsgPortClosedUp = WM_APP + 1;
// The open port list is placed once the system has shown it.
inline constexpr UINT kMsgPortListShown = WM_APP + 2;

// An open drop-down list shows this many rows at a time and scrolls for the rest.
inline constexpr int kOpenListRows = 8;
inline constexpr int kListFaceHeight = 16;
inline constexpr int kListRowHeight = 15;
inline constexpr int kPortColumnGap = 12;

// Lines of the edit box end in CR LF.
inline constexpr std::string_view kEditLineBreak = "\r\n";

// The text of item `item` of a drop-down list.
std::wstring ItemText(HWND list, int item);
// The size of `text` in `font`.
SIZE TextSizeIn(HDC dc, HFONT font, const std::wstring& text);
// The window's outer size for a client area, at the window's resolution.
RECT OuterRect(int width, int height, int dpi);

}  // namespace mxc9::mainform
