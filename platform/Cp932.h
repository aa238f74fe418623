// Text conversion between the program's UTF-8 and code page 932, the Japanese ANSI code
// page in which settings files hold page names and comments (Shift-JIS with the
// Windows extensions, as glibc's iconv "CP932" maps it).
#pragma once

#include <string>
#include <string_view>

namespace mxc9 {

// UTF-8 to CP932 bytes. A character that CP932 cannot hold, and every byte of invalid
// UTF-8, becomes '?', as an ANSI edit box shows it.
std::string Utf8ToCp932(std::string_view utf8);

// CP932 bytes to UTF-8. A byte that starts no valid CP932 character becomes U+FFFD
// (the replacement character), so a damaged file shows where it was damaged.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 text as it will read back after a trip through CP932: characters that CP932
// cannot hold become '?'. The page-name edit and the comment memo pass what the user
// types or pastes through this, so what is on screen is what a save keeps. U+FFFD is
// left alone: it shows bytes of a file that are no CP932 character, and a line that
// still shows them keeps them (EditedTextToCp932).
std::string ReplaceNonCp932Characters(std::string_view utf8);

// The CP932 bytes for a text the user edited on screen (UTF-8, lines separated by
// CR LF), given the bytes the text had before. A line that still reads as a line of
// `before` read (the same line first, else any) keeps that line's bytes, so what the
// user did not touch is written back as it was read, NEC and IBM duplicate codes and
// stray bytes included; other lines are converted.
std::string EditedTextToCp932(std::string_view edited, std::string_view before);

// UTF-8 text with every invalid sequence replaced by U+FFFD.
std::string SanitizeUtf8(std::string_view text);

}  // namespace mxc9
