#include "common/Language.h"

namespace mxc9 {

namespace {

int& LanguageSlot() {
    static int language = kLanguageEnglish;
    return language;
}

}  // namespace

int LanguageIndex() {
    return LanguageSlot();
}

void SetLanguageIndex(int language) {
    LanguageSlot() = language == kLanguageJapanese ? kLanguageJapanese : kLanguageEnglish;
}

int LanguageFromLocale(const EnvironmentLookup& lookup) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = lookup(name);
        if (value == nullptr || *value == '\0') continue;  // an empty variable counts as unset
        return std::string_view(value).starts_with("ja") ? kLanguageJapanese : kLanguageEnglish;
    }
    return kLanguageEnglish;
}

std::optional<int> LanguageFromName(std::string_view name) {
    if (name == "ja") return kLanguageJapanese;
    if (name == "en") return kLanguageEnglish;
    return std::nullopt;
}

}  // namespace mxc9
