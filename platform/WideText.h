// UTF-8 and the UTF-16 of the Windows wide-character calls (Windows only). Invalid
// UTF-8 becomes U+FFFD, so a garbled name fails to open rather than naming another file.
#pragma once

#include <string>
#include <string_view>

namespace mxc9 {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace mxc9
