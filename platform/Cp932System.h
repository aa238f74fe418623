// The system's code page 932 conversion under Cp932.cpp: glibc's iconv
// (Cp932Iconv.cpp) or the Windows conversion functions (Cp932Win32.cpp). Only the
// platform layer includes this.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mxc9::cp932_system {

// Each appends the conversion of the longest start of `input` that converts and returns
// its length in bytes: it stops before the first character it cannot convert.
size_t Cp932PrefixToUtf8(std::string_view input, std::string& utf8);
size_t Utf8PrefixToCp932(std::string_view input, std::string& cp932);

// Length of the UTF-8 sequence starting at text[0], 0 when it is not a valid one.
size_t Utf8SequenceLength(std::string_view text);

}  // namespace mxc9::cp932_system
