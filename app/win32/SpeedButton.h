// A flat speed button of the main window: a 24 x 16 glyph of pixel art on the face, a
// thin raised edge while the pointer is over it, a sunken one while it is held, and a
// greyed glyph while disabled. It never takes the keyboard focus; a click (press and
// release over it) sends WM_COMMAND with its control id to the parent.
#pragma once

#include <windows.h>

namespace mxc9 {

enum class Glyph { Write, Read, Information, Quit };

// Registers the window class once; creates a button showing `glyph`.
HWND CreateSpeedButton(HWND parent, int id, Glyph glyph, HINSTANCE instance);

}  // namespace mxc9
