// What the page-name edit box keeps of what the user types, the same in every window
// system: characters that CP932 cannot hold become '?' at once, and typing never makes
// the name longer than 255 bytes in CP932, so the name on screen is the name that a save
// keeps. A longer name that came from a file is shown whole and may be kept or
// shortened, not lengthened.
#pragma once

#include <string>

namespace mxc9 {

// The text the edit box shows after the user changed `previous` (what it showed) into
// `edited`; both UTF-8.
std::string FitEditedPageName(const std::string& edited, const std::string& previous);

// The text cut to at most `limit` bytes in CP932, whole characters only, as an ANSI edit
// box limits its text.
std::string LimitCp932Bytes(const std::string& utf8, size_t limit);

}  // namespace mxc9
