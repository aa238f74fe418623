#include "pages/PageNameEdit.h"

#include <algorithm>

#include "pages/PageCommands.h"
#include "platform/Cp932.h"

namespace mxc9 {

namespace {

// Length of the UTF-8 sequence a lead byte starts (1 for a stray byte).
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::string LimitCp932Bytes(const std::string& utf8, size_t limit) {
    std::string result;
    size_t bytes = 0;
    for (size_t i = 0; i < utf8.size();) {
        const size_t length =
            std::min(SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        const std::string character = utf8.substr(i, length);
        const size_t size = Utf8ToCp932(character).size();
        if (bytes + size > limit) break;
        bytes += size;
        result += character;
        i += length;
    }
    return result;
}

std::string FitEditedPageName(const std::string& edited, const std::string& previous) {
    std::string fitted = ReplaceNonCp932Characters(edited);
    const size_t limit = kMaxPageNameBytes;
    const size_t before = Utf8ToCp932(previous).size();
    const size_t after = Utf8ToCp932(fitted).size();
    if (after > limit && after > before)
        fitted = before > limit ? previous : LimitCp932Bytes(fitted, limit);
    return fitted;
}

}  // namespace mxc9
