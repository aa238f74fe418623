// The language index that chooses the message table's block for the whole run:
// 0 Japanese, 1 English. It is decided once at start, before the first window, from the
// locale or the `--language` option, and everything that depends on it reads it then.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace mxc9 {

inline constexpr int kLanguageJapanese = 0;
inline constexpr int kLanguageEnglish = 1;

// The index in use; English until SetLanguageIndex is called.
int LanguageIndex();
// Any value other than 0 selects English.
void SetLanguageIndex(int language);

// The language a locale asks for: the first non-empty variable of LC_ALL, LC_MESSAGES and
// LANG (the order in which the C library lets them override each other) decides; a
// value beginning "ja" gives Japanese, anything else (also no value) English.
using EnvironmentLookup = std::function<const char*(const char*)>;
int LanguageFromLocale(const EnvironmentLookup& lookup);

// The value of `--language`: "ja" Japanese, "en" English, anything else no language.
std::optional<int> LanguageFromName(std::string_view name);

}  // namespace mxc9
