#include "platform/win32/Win32Fonts.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win32/Dpi.h"

namespace mxc9 {

namespace {

struct Face {
    const wchar_t* name;
    BYTE charset;
};

// The width of the stand-in against its own natural width.
constexpr int kStandInWidthPercent = 89;

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
    static const Face* const chosen = []() -> const Face* {
        for (const Face& face : kFaces)
            if (HasFamily(face)) return &face;
        return nullptr;
    }();
    return chosen;
}

// Japanese of the program's menus and boxes: kana, kanji and a full-width sign.
const wchar_t kJapaneseSample[] = L"終了してよろしいですか？ファイル";

bool FontDrawsJapanese(LOGFONTW font) {
    font.lfHeight = -12;
    HFONT created = CreateFontIndirectW(&font);
    if (!created) return false;
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, created);
    const int length = static_cast<int>(std::wcslen(kJapaneseSample));
    std::vector<WORD> glyphs(static_cast<size_t>(length));
    const DWORD got = GetGlyphIndicesW(screen, kJapaneseSample, length, glyphs.data(),
                                       GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(created);
    return got == static_cast<DWORD>(length) &&
           std::find(glyphs.begin(), glyphs.end(), WORD{0xFFFF}) == glyphs.end();
}

// The families FontLink\SystemLink names for a face, each entry "FILE,Family[,...]".
std::vector<std::wstring> LinkedFamilies(const wchar_t* face) {
    std::vector<wchar_t> value(8192, L'\0');
    DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE,
                     L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink", face,
                     RRF_RT_REG_MULTI_SZ, nullptr, value.data(), &bytes) != ERROR_SUCCESS)
        return {};
    std::vector<std::wstring> families;
    for (const wchar_t* entry = value.data(); *entry; entry += std::wcslen(entry) + 1) {
        const std::wstring text = entry;
        const size_t comma = text.find(L',');
        if (comma == std::wstring::npos) continue;
        families.push_back(text.substr(comma + 1, text.find(L',', comma + 1) - comma - 1));
    }
    return families;
}

bool DrawsJapaneseWithLinks(const LOGFONTW& font) {
    if (FontDrawsJapanese(font)) return true;
    for (const std::wstring& family : LinkedFamilies(font.lfFaceName)) {
        const Face linked{family.c_str(), DEFAULT_CHARSET};
        if (!HasFamily(linked)) continue;
        LOGFONTW other = font;
        wcsncpy(other.lfFaceName, family.c_str(), LF_FACESIZE - 1);
        other.lfFaceName[LF_FACESIZE - 1] = L'\0';
        if (FontDrawsJapanese(other)) return true;
    }
    return false;
}

}  // namespace

namespace {

int InkOf(HFONT font) {
    constexpr int kWidth = 200, kHeight = 60;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int ink = 0;
    if (bitmap && bits) {
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        HGDIOBJ oldFont = SelectObject(dc, font);
        RECT box{0, 0, kWidth, kHeight};
        FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, L"Brake Frequency", -1, &box, DT_LEFT | DT_TOP | DT_SINGLELINE);
        GdiFlush();
        const auto* pixels = static_cast<const uint32_t*>(bits);
        // Pixels that read as the text's colour, not the grey of its smoothed edges.
        for (int i = 0; i < kWidth * kHeight; ++i) ink += (pixels[i] & 0xFF) < 64 ? 1 : 0;
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return ink;
}

}  // namespace

bool BoldShowsItsWeight(HFONT regular, HFONT bold) {
    return InkOf(bold) * 2 >= InkOf(regular) * 3;
}

bool SystemFontsDrawJapanese() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return true;
    return DrawsJapaneseWithLinks(metrics.lfMenuFont) &&
           DrawsJapaneseWithLinks(metrics.lfMessageFont);
}

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
    LOGFONTW font = WindowFontDescription(pixels96, bold, dpi);
    HFONT natural = CreateFontIndirectW(&font);
    if (std::wcscmp(font.lfFaceName, L"IPAPGothic") != 0 || !natural) return natural;
    // IPA P Gothic draws about 12 % wider than the Windows fonts it stands in for
    // ("12.00kHz" in the bold 19-pixel readout would not fit its panel); narrowed to their
    // widths, every text fits the box the layout gives it.
    TEXTMETRICW metrics{};
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, natural);
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    if (metrics.tmAveCharWidth <= 0) return natural;
    DeleteObject(natural);
    font.lfWidth = MulDiv(metrics.tmAveCharWidth, kStandInWidthPercent, 100);
    return CreateFontIndirectW(&font);
}

namespace {

// How far the widest text of `texts` stands out of its room in `font` (0 or less: all fit),
// and the font's average character width.
struct Overflow {
    int pixels = 0;
    int averageWidth = 0;
    int widest = 0;
    int room = 1;
};

Overflow Measure(HFONT font, const std::vector<TextRoom>& texts) {
    Overflow worst;
    worst.pixels = INT_MIN;
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    worst.averageWidth = metrics.tmAveCharWidth;
    for (const TextRoom& t : texts) {
        RECT box{0, 0, 0, 0};
        DrawTextW(screen, t.text.c_str(), -1, &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const int width = box.right - box.left;
        if (width - t.room > worst.pixels) {
            worst.pixels = width - t.room;
            worst.widest = width;
            worst.room = std::max(1, t.room);
        }
    }
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return worst;
}

}  // namespace

HFONT CreateFittedWindowFont(int pixels96, bool bold, int dpi, const std::vector<TextRoom>& texts) {
    HFONT font = CreateWindowFont(pixels96, bold, dpi);
    LOGFONTW description{};
    if (!font || !GetObjectW(font, sizeof description, &description)) return font;
    Overflow overflow = Measure(font, texts);
    auto take = [&](const LOGFONTW& wanted) {
        HFONT other = CreateFontIndirectW(&wanted);
        if (!other) return;
        const Overflow measured = Measure(other, texts);
        if (measured.widest >= overflow.widest) {
            DeleteObject(other);  // no narrower than before
            return;
        }
        DeleteObject(font);
        font = other;
        overflow = measured;
        description = wanted;
    };
    // Narrower first: a font's character width is only roughly what it draws, so the
    // width asked for goes down until the texts fit or the font takes no narrower form.
    const int naturalWidth =
        description.lfWidth > 0 ? description.lfWidth : std::max(1, overflow.averageWidth);
    const int narrowest = std::max(1, naturalWidth * 3 / 4);
    LOGFONTW narrower = description;
    for (int width = naturalWidth - 1; overflow.pixels > 0 && width >= narrowest; --width) {
        narrower.lfWidth = width;
        take(narrower);
    }
    // Then lower, a pixel at a time, the width going down with the height.
    const LONG height = description.lfHeight;
    const LONG width = description.lfWidth;
    LOGFONTW lower = description;
    while (overflow.pixels > 0 && lower.lfHeight < height / 2) {
        ++lower.lfHeight;  // negative: one pixel less
        lower.lfWidth = width > 0 ? std::max<LONG>(1, MulDiv(width, lower.lfHeight, height)) : 0;
        take(lower);
    }
    return font;
}

}  // namespace mxc9
