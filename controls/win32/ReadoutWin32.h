// A readout panel of the Windows window: sunken, its text centred in the font WM_SETFONT
// gives it and in the colours the window gives it (green on black in the layout).
#pragma once

#include <windows.h>

namespace mxc9 {

// A child readout of `parent` with the control id `id`, showing `text`.
HWND CreateReadout(HWND parent, int id, const wchar_t* text, HINSTANCE instance);
void SetReadoutColours(HWND readout, COLORREF text, COLORREF back);

}  // namespace mxc9
