// The frequency label table: 64 texts in kHz, indexed by frequency code 0..63.
#pragma once

#include <string>

namespace mxc9 {

inline constexpr int kFrequencyCodes = 64;
inline constexpr int kMaxFrequencyCode = 63;

// Five characters, right-aligned, without "kHz" (" 3.98" for code 35). "" outside 0..63.
const std::string& FrequencyLabel(int code);

}  // namespace mxc9
