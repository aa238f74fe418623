// The language a test program runs in: MXC9_TEST_LANGUAGE=ja or en (default en), so that
// the tests labelled "language" run once in each language on the same build.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "common/Language.h"

namespace mxc9::testing {

// Sets the language index; false (with a note on standard error) for an unknown value.
inline bool ChooseTestLanguage() {
    const char* value = std::getenv("MXC9_TEST_LANGUAGE");
    if (value == nullptr || *value == '\0') return true;
    const std::optional<int> language = LanguageFromName(value);
    if (!language) {
        std::fprintf(stderr, "MXC9_TEST_LANGUAGE must be ja or en, not \"%s\"\n", value);
        return false;
    }
    SetLanguageIndex(*language);
    return true;
}

}  // namespace mxc9::testing
