// The program's window font: "ＭＳ Ｐゴシック" where the system has it; under Wine, which
// has none, IPA P Gothic (same metrics, and the only font there that draws every Japanese
// character the texts use: Wine's stand-in for "MS PGothic" lacks ①); else "MS UI
// Gothic", else the system's default GUI font.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mxc9 {

// The description of the window font of `pixels96` pixels (its character height at 96
// dots per inch), scaled to `dpi`.
LOGFONTW WindowFontDescription(int pixels96, bool bold, int dpi);

// The window font; the caller owns it (DeleteObject).
HFONT CreateWindowFont(int pixels96, bool bold, int dpi);

// A text and the width it must fit in.
struct TextRoom {
    std::wstring text;
    int room;
};

// The window font, narrowed (and, where the font takes no narrower width, lowered) until
// each text fits its room; the caller owns it.
HFONT CreateFittedWindowFont(int pixels96, bool bold, int dpi, const std::vector<TextRoom>& texts);

// Whether `bold` draws visibly heavier than `regular` (half as much ink again);
// a bold made up for a font without a bold face can be hardly heavier at small sizes.
bool BoldShowsItsWeight(HFONT regular, HFONT bold);

// Whether the system's menu and message-box fonts draw Japanese, themselves or through
// a font linked to them (FontLink\SystemLink) that the system has: a system with
// neither shows Japanese menus and boxes as boxes.
bool SystemFontsDrawJapanese();

}  // namespace mxc9
