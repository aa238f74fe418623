// Code page 932 through the system's own conversion, MultiByteToWideChar and
// WideCharToMultiByte, as the Windows program converted its texts. Windows (and Wine)
// map the single bytes 80, A0, FD, FE and FF to U+0080 and U+F8F0..U+F8F3; they start no
// character of the code page, and glibc's iconv refuses them: so does this.
#include <windows.h>

#include "platform/Cp932System.h"
#include "platform/WideText.h"

namespace mxc9::cp932_system {

namespace {

constexpr UINT kCodePage = 932;

bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Length of the CP932 character starting at text[0] by the code page's byte ranges, 0
// when those bytes start none.
size_t CharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80 || (lead >= 0xA1 && lead <= 0xDF)) return 1;
    if (IsLeadByte(lead) && text.size() >= 2 && IsTrailByte(static_cast<unsigned char>(text[1])))
        return 2;
    return 0;
}

// The longest start of `text` made of whole characters by their byte ranges.
size_t WellFormedLength(std::string_view text) {
    size_t done = 0;
    while (done < text.size()) {
        const size_t length = CharacterLength(text.substr(done));
        if (length == 0) break;
        done += length;
    }
    return done;
}

// CP932 bytes to UTF-8, false when the system finds a code it does not map.
bool Decode(std::string_view cp932, std::string& utf8) {
    if (cp932.empty()) return true;
    const int size = static_cast<int>(cp932.size());
    const int length =
        MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, cp932.data(), size, nullptr, 0);
    if (length <= 0) return false;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, cp932.data(), size, wide.data(), length);
    utf8 += WideToUtf8(wide);
    return true;
}

// Valid UTF-8 to CP932 bytes, false when a character has no code of its own (no best fit:
// a character is never written as a similar one).
bool Encode(std::string_view utf8, std::string& cp932) {
    const std::wstring wide = Utf8ToWide(utf8);
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                           nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return false;
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length,
                        nullptr, &usedDefault);
    if (usedDefault || WellFormedLength(bytes) != bytes.size()) return false;
    cp932 += bytes;
    return true;
}

}  // namespace

size_t Cp932PrefixToUtf8(std::string_view input, std::string& utf8) {
    const size_t wellFormed = WellFormedLength(input);
    // Most texts convert whole at once; only where the system refuses a code is the text
    // taken character by character to find it.
    if (Decode(input.substr(0, wellFormed), utf8)) return wellFormed;
    size_t done = 0;
    while (done < wellFormed) {
        const size_t length = CharacterLength(input.substr(done));
        if (!Decode(input.substr(done, length), utf8)) break;
        done += length;
    }
    return done;
}

size_t Utf8PrefixToCp932(std::string_view input, std::string& cp932) {
    size_t valid = 0;
    while (valid < input.size()) {
        const size_t length = Utf8SequenceLength(input.substr(valid));
        if (length == 0) break;
        valid += length;
    }
    if (Encode(input.substr(0, valid), cp932)) return valid;
    size_t done = 0;
    while (done < valid) {
        const size_t length = Utf8SequenceLength(input.substr(done));
        if (!Encode(input.substr(done, length), cp932)) break;
        done += length;
    }
    return done;
}

}  // namespace mxc9::cp932_system
