// Modal dialogs built at run time: an empty dialog template in memory, whose dialog
// procedure makes the controls at the pixel positions it computes (at the dialog's own
// dots per inch) in WM_INITDIALOG. The dialog manager gives Tab, Enter and Esc.
#pragma once

#include <windows.h>

#include <string>

namespace mxc9 {

// Runs an empty modal dialog with a caption, a dialog frame and a close box; `proc` gets
// `param` with WM_INITDIALOG. Returns what EndDialog was given, -1 when it could not be
// made.
INT_PTR RunModalDialog(HWND owner, const std::wstring& caption, DLGPROC proc, LPARAM param);

// Sizes the window so that its client area is width x height and centres it on the
// work area of the monitor it is on (the owner's, for a new dialog).
void SizeClientAndCentre(HWND window, int width, int height);

// The size of a text in the window's font selected into `dc`.
SIZE TextSize(HDC dc, const std::wstring& text);

// A child control of class `className` at (x, y, width, height) with the given font.
HWND CreateChild(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                 int id, int x, int y, int width, int height, HFONT font, DWORD exStyle = 0);

// The text of a window.
std::wstring WindowText(HWND window);

}  // namespace mxc9
