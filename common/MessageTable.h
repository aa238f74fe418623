// The two-language message table: 35 rows, Japanese block first, English second.
// The language index in use (common/Language.h) chooses the block.
#pragma once

#include <string>

#include "common/Language.h"

namespace mxc9 {

inline constexpr int kMessageRows = 35;

// Row `row` (0..34) in the language in use, in UTF-8. Out-of-range rows give "".
const std::string& Message(int row);
// Row `row` in a given language (0 or 1), for tests and tools that show both.
const std::string& MessageIn(int language, int row);
// Row 22: "US" or "JP".
const std::string& LanguageCode();

// Fixed captions, the same in both languages.
inline constexpr const char* kCaptionInfo = "Info";
inline constexpr const char* kCaptionError = "Error";
inline constexpr const char* kCaptionWarning = "Warning";
inline constexpr const char* kCaptionQuit = "Quit";

// Title prefix of the main window; the language code follows directly.
inline constexpr const char* kTitlePrefix = "MXC-9 Manager Ver2.2 ";
inline constexpr const char* kApplicationTitle = "MXC-9";

// Row 17: the copyright line that the information dialog shows as its link.
inline constexpr const char* kCopyrightLineEnglish = "© 2026 MXC-9 Manager developers";
inline constexpr const char* kCopyrightLineJapanese = "© 2026 MXC-9 Manager 開発者一同";

}  // namespace mxc9
