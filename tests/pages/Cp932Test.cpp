#include <gtest/gtest.h>

#include <string>

#include "platform/Cp932.h"

namespace mxc9 {
namespace {

struct Pair {
    const char* utf8;
    std::string cp932;
};

// Characters as the Windows code page writes them, including its extensions and the
// double-byte characters whose second byte is the backslash code.
const Pair kPairs[] = {
    {"abc 123", "abc 123"},
    {"表", "\x95\x5C"},
    {"ソ", "\x83\x5C"},
    {"～", "\x81\x60"},
    {"①", "\x87\x40"},
    {"ｱｲｳ", "\xB1\xB2\xB3"},
    {"日本語", "\x93\xFA\x96\x7B\x8C\xEA"},
    {"設定データ", "\x90\xDD\x92\xE8\x83\x66\x81\x5B\x83\x5E"},
    {"－￢∑", "\x81\x7C\x81\xCA\x87\x94"},  // the Windows code page's own choices
};

TEST(Cp932, ConvertsBothWaysAsTheWindowsCodePage) {
    for (const Pair& pair : kPairs) {
        SCOPED_TRACE(pair.utf8);
        EXPECT_EQ(Utf8ToCp932(pair.utf8), pair.cp932);
        EXPECT_EQ(Cp932ToUtf8(pair.cp932), pair.utf8);
    }
}

TEST(Cp932, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    const std::pair<const char*, const char*> cases[] = {
        {"a😀b", "a?b"},    // outside the basic plane
        {"한국", "??"},    // Hangul
        {"café", "caf?"},  // Latin-1 letter absent from CP932
        {"a\xC3", "a?"},   // UTF-8 cut off inside a character
        {"\xFF"
         "b",
         "?b"},  // a byte that starts no UTF-8 character
        {"表\x80ソ", "\x95\x5C?\x83\x5C"},
    };
    for (const auto& [utf8, cp932] : cases) {
        SCOPED_TRACE(utf8);
        EXPECT_EQ(Utf8ToCp932(utf8), cp932);
    }
}

TEST(Cp932, InvalidBytesAreReplacedVisiblyAndTheRestIsDecoded) {
    const std::string replacement = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"abc\x81", "abc" + replacement},  // lead byte at the very end
        {"a\xFF"
         "b",
         "a" + replacement + "b"},                         // never a valid byte
        {"\x95\x5C\x81\x20x", "表" + replacement + " x"},  // lead byte with a bad second byte
        {std::string("\x00\x95\x5C", 3), std::string("\x00", 1) + "表"},
    };
    for (const auto& [cp932, utf8] : cases) {
        SCOPED_TRACE(cp932);
        EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
    }
}

// Single bytes that start no character of the code page. Windows' conversion maps them
// to U+0080 and U+F8F0..U+F8F3 and back; glibc's iconv refuses them: every build does.
TEST(Cp932, BytesThatStartNoCharacterAreInvalidInEveryBuild) {
    const std::pair<std::string, const char*> cases[] = {
        {"\x80", "\u0080"}, {"\xA0", "\uF8F0"}, {"\xFD", "\uF8F1"},
        {"\xFE", "\uF8F2"}, {"\xFF", "\uF8F3"},
    };
    for (const auto& [byte, character] : cases) {
        SCOPED_TRACE(character);
        EXPECT_EQ(Cp932ToUtf8("a" + byte + "\x95\x5C"), "a\uFFFD表");
        EXPECT_EQ(Utf8ToCp932(std::string("a") + character + "表"), "a?\x95\x5C");
    }
}

TEST(Cp932, LongTextConvertsWhole) {
    // Longer than any internal buffer, with a bad byte in the middle.
    std::string utf8, cp932;
    for (int i = 0; i < 3000; ++i) {
        utf8 += "表ソa";
        cp932 +=
            "\x95\x5C\x83\x5C"
            "a";
    }
    EXPECT_EQ(Utf8ToCp932(utf8), cp932);
    EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
    std::string damaged = cp932 + "\xFF" + cp932;
    EXPECT_EQ(Cp932ToUtf8(damaged), utf8 + "\xEF\xBF\xBD" + utf8);
}

TEST(Cp932, EditTextKeepsOnlyWhatTheFileCanHold) {
    EXPECT_EQ(ReplaceNonCp932Characters("plain"), "plain");
    EXPECT_EQ(ReplaceNonCp932Characters("表😀ソ"), "表?ソ");
    EXPECT_EQ(ReplaceNonCp932Characters("Ω①～"), "Ω①～");
    // What the edit shows survives a save and a load unchanged.
    std::string shown = ReplaceNonCp932Characters("名前é😀");
    EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(shown)), shown);
}

TEST(Cp932, EditedTextKeepsTheBytesOfEveryLineNotTouched) {
    // FA4A and 8754 both read as Roman numeral one; 80 is no character. Lines that still
    // read as they did keep their bytes, also after lines were added or removed.
    const std::string before = "\xFA\x4A\r\n\x80x\r\nplain\r\n";
    struct Case {
        const char* edited;
        std::string bytes;
    };
    const Case cases[] = {
        {"\u2160\r\n\uFFFDx\r\nplain\r\n", before},
        {"\u2160\r\n\uFFFDx\r\nplain", "\xFA\x4A\r\n\x80x\r\nplain"},
        {"new\r\n\u2160\r\n\uFFFDx\r\nplain\r\n", "new\r\n" + before},
        {"\u2160\r\nplain\r\n", "\xFA\x4A\r\nplain\r\n"},
        {"\u2160\u2160\r\n\uFFFDy\r\nplain\r\n", "\x87\x54\x87\x54\r\n?y\r\nplain\r\n"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(EditedTextToCp932(c.edited, before), c.bytes) << c.edited;
    EXPECT_EQ(ReplaceNonCp932Characters("\uFFFD😀\u2160"), "\uFFFD?\u2160");
}

TEST(Cp932, Utf8SanitizingReplacesOnlyInvalidSequences) {
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"日本 abc", "日本 abc"},
        {"a\xC0\xAF", "a" + r + r},           // overlong slash
        {"\xE0\x80\xAF", r + r + r},          // the same in three bytes
        {"\xF0\x80\x80\xAF", r + r + r + r},  // and in four
        {"\xED\xA0\x80", r + r + r},          // a surrogate half
        {"x\xE6\x97", "x" + r + r},           // cut off
        {"\xF4\x90\x80\x80", r + r + r + r},  // above U+10FFFF
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(SanitizeUtf8(in), out) << in;
}

}  // namespace
}  // namespace mxc9
