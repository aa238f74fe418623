// How mxc9ctl prints pages: a table for people, JSON for scripts.
#pragma once

#include <string>
#include <vector>

#include "pages/PageRecord.h"

namespace mxc9::ctl {

struct NamedPage {
    std::string name;  // UTF-8
    TMXC9Data record;
};

// Page `number` (counted from 1) as a readable table: the five settings with the texts
// the controls show for them, the 32 frequency codes with their kHz labels, the comment.
// A value the controls cannot show is printed with what the window makes of it.
std::string PageTable(const NamedPage& page, int number);

// {"pages": [...]}, each page with its record's keys in file order, FREQ as an array of
// 32 integers and the comment with its CR LF line breaks.
std::string PagesJson(const std::vector<NamedPage>& pages);

// A JSON string literal of UTF-8 text; invalid UTF-8 becomes U+FFFD.
std::string JsonString(const std::string& text);

}  // namespace mxc9::ctl
