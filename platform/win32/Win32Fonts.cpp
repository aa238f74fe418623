#include "platform/win32/Win32Fonts.h"

#include <cwchar>

#include "platform/win32/Dpi.h"

namespace mxc9 {

namespace {

struct Face {
    const wchar_t* name;
    BYTE charset;
};

// In order of preference.
const Face kFaces[] = {
    {L"ＭＳ Ｐゴシック", SHIFTJIS_CHARSET},
    {L"IPAPGothic", SHIFTJIS_CHARSET},
    {L"MS UI Gothic", SHIFTJIS_CHARSET},
};

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one is enough
}

// Whether the system has the family itself: CreateFont would give a substitute for any
// name, so only the enumeration tells.
bool HasFamily(const Face& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face.name, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The first family of kFaces the system has, asked once: fonts are not installed while
// the program runs.
const Face* ChosenFace() {
    static const Face* const chosen = [] () -> const Face* {
        for (const Face& face : kFaces)
            if (HasFamily(face)) return &face;
        return nullptr;
    }();
    return chosen;
}

}  // namespace

LOGFONTW WindowFontDescription(int pixels96, bool bold, int dpi) {
    LOGFONTW font{};
    if (const Face* face = ChosenFace()) {
        wcsncpy(font.lfFaceName, face->name, LF_FACESIZE - 1);
        font.lfCharSet = face->charset;
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        font.lfWidth = 0;
    }
    // Negative: the character height without the internal leading, as a font of 12
    // pixels is meant.
    font.lfHeight = -ScaleToDpi(pixels96, dpi);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = FALSE;
    font.lfUnderline = FALSE;
    font.lfStrikeOut = FALSE;
    font.lfQuality = DEFAULT_QUALITY;
    return font;
}

HFONT CreateWindowFont(int pixels96, bool bold, int dpi) {
    const LOGFONTW font = WindowFontDescription(pixels96, bold, dpi);
    return CreateFontIndirectW(&font);
}

}  // namespace mxc9
