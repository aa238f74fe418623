#include "platform/Cp932.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Cp932System.h"

namespace mxc9 {

namespace cp932_system {

size_t Utf8SequenceLength(std::string_view text) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(0);
    size_t length;
    uint32_t lowest;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, lowest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    uint32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

}  // namespace cp932_system

using cp932_system::Utf8SequenceLength;

namespace {

const char kReplacementUtf8[] = "\xEF\xBF\xBD";  // U+FFFD

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    std::string cp932;
    cp932.reserve(utf8.size());
    for (;;) {
        utf8.remove_prefix(cp932_system::Utf8PrefixToCp932(utf8, cp932));
        if (utf8.empty()) return cp932;
        // A character that CP932 cannot hold, or a byte that is no UTF-8.
        cp932 += '?';
        utf8.remove_prefix(std::max<size_t>(1, Utf8SequenceLength(utf8)));
    }
}

std::string Cp932ToUtf8(std::string_view cp932) {
    if (IsAscii(cp932)) return std::string(cp932);
    std::string utf8;
    utf8.reserve(cp932.size() * 3 / 2 + 4);
    for (;;) {
        cp932.remove_prefix(cp932_system::Cp932PrefixToUtf8(cp932, utf8));
        if (cp932.empty()) return utf8;
        // One byte is given up; the next may start a valid character again.
        utf8 += kReplacementUtf8;
        cp932.remove_prefix(1);
    }
}

std::string ReplaceNonCp932Characters(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    std::string result;
    for (;;) {
        size_t mark = utf8.find(kReplacementUtf8);
        result += Cp932ToUtf8(Utf8ToCp932(utf8.substr(0, mark)));
        if (mark == std::string_view::npos) return result;
        result += kReplacementUtf8;
        utf8.remove_prefix(mark + std::strlen(kReplacementUtf8));
    }
}

namespace {

// The pieces of a text between CR LF pairs; n breaks give n + 1 pieces.
std::vector<std::string_view> SplitAtCrLf(std::string_view text) {
    std::vector<std::string_view> pieces;
    for (;;) {
        size_t end = text.find("\r\n");
        pieces.push_back(text.substr(0, end));
        if (end == std::string_view::npos) return pieces;
        text.remove_prefix(end + 2);
    }
}

}  // namespace

std::string EditedTextToCp932(std::string_view edited, std::string_view before) {
    const std::vector<std::string_view> oldLines = SplitAtCrLf(before);
    std::vector<std::string> oldShown;
    oldShown.reserve(oldLines.size());
    for (std::string_view line : oldLines) oldShown.push_back(Cp932ToUtf8(line));
    std::string result;
    const std::vector<std::string_view> lines = SplitAtCrLf(edited);
    for (size_t j = 0; j < lines.size(); ++j) {
        if (j > 0) result += "\r\n";
        size_t kept = oldShown.size();
        if (j < oldShown.size() && oldShown[j] == lines[j]) {
            kept = j;
        } else {
            kept = static_cast<size_t>(std::find(oldShown.begin(), oldShown.end(), lines[j]) -
                                       oldShown.begin());
        }
        if (kept < oldLines.size()) {
            result += oldLines[kept];
        } else {
            result += Utf8ToCp932(lines[j]);
        }
    }
    return result;
}

std::string SanitizeUtf8(std::string_view text) {
    std::string output;
    output.reserve(text.size());
    while (!text.empty()) {
        size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            output += kReplacementUtf8;
            length = 1;
        } else {
            output.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return output;
}

}  // namespace mxc9
