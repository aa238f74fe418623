// UTF-8 and the UTF-16 of the Windows wide-character calls (Windows only). Invalid
// UTF-8 becomes U+FFFD, so a garbled name fails to open rather than naming another file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mxc9 {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// The program's arguments after its own name, from the UTF-16 command line (the ANSI
// argv would lose every character outside the system's code page), as UTF-8.
std::vector<std::string> CommandLineArguments();

}  // namespace mxc9
