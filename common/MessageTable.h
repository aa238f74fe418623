// The two-language message table: 41 rows, Japanese block first, English second. Rows 0
// to 34 are the window's fixed texts; rows 35 to 40 are the texts of a failed save, the
// file dialogs' filter, the page limit and the missing Japanese font, which an English
// user must be able to read.
// The language index in use (common/Language.h) chooses the block.
#pragma once

#include <initializer_list>
#include <string>

#include "common/Language.h"
#include "platform/Seams.h"

namespace mxc9 {

inline constexpr int kMessageRows = 41;

// Rows of the texts added to the fixed ones.
inline constexpr int kMessageCannotWrite = 35;     // %1: the file's path
inline constexpr int kMessageFilterSettings = 36;  // the filter entry of settings files
inline constexpr int kMessageFilterAll = 37;       // the filter entry of all files
inline constexpr int kMessagePageLimit = 38;       // %1: the most pages a window holds
inline constexpr int kMessagePagesCut = 39;        // %1 read of %2 stated, %3 the limit
inline constexpr int kMessageNoJapaneseFont = 40;  // Japanese asked for, no font draws it

// Row `row` (0..40) in the language in use, in UTF-8. Out-of-range rows give "".
const std::string& Message(int row);
// Row `row` in a given language (0 or 1), for tests and tools that show both.
const std::string& MessageIn(int language, int row);
// Row `row` in the language in use with %1, %2, ... replaced by the values in order.
std::string MessageWith(int row, std::initializer_list<std::string> values);
// Row 22: "US" or "JP".
const std::string& LanguageCode();

// The file dialogs' filter entries, rows 36 and 37.
inline FileFilterNames SettingsFileFilterNames() {
    return {Message(kMessageFilterSettings), Message(kMessageFilterAll)};
}

// Fixed captions, the same in both languages.
inline constexpr const char* kCaptionInfo = "Info";
inline constexpr const char* kCaptionError = "Error";
inline constexpr const char* kCaptionWarning = "Warning";
inline constexpr const char* kCaptionQuit = "Quit";

// Title prefix of the main window; the language code follows directly.
inline constexpr const char* kTitlePrefix = "MXC-9 Manager Ver2.2 ";
inline constexpr const char* kApplicationTitle = "MXC-9";

// Row 17: the copyright line that the information dialog shows as its link, the same in
// both languages: it fits the dialog's 285 pixels beside "Copyright" in the 12-pixel font,
// where a Japanese group word after it would not.
inline constexpr const char* kCopyrightLineEnglish = "© 2026 MXC-9 Manager";
inline constexpr const char* kCopyrightLineJapanese = "© 2026 MXC-9 Manager";

}  // namespace mxc9
