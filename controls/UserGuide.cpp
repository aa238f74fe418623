#include "controls/UserGuide.h"

#include <filesystem>

#include "common/Language.h"

namespace mxc9 {

namespace {

// Where packaging/CMakeLists.txt installs the guides, from the installation's prefix.
const char* const kInstalledGuideFolder = "share/doc/mxc9";

std::string GuideName(int language, const char* extension) {
    return std::string("USER-GUIDE") + (language == kLanguageJapanese ? ".ja" : "") + extension;
}

}  // namespace

std::string UserGuidePath(const IProgramFolder& program, int language) {
    namespace fs = std::filesystem;
    if (!program.installed()) {
        return (fs::path(MXC9_SOURCE_FOLDER) / "docs" / GuideName(language, ".md")).string();
    }
    // The program folder is <prefix>/bin/, wherever the installation was unpacked.
    const fs::path folder =
        (fs::path(program.folder()) / ".." / kInstalledGuideFolder).lexically_normal();
    const fs::path page = folder / GuideName(language, ".html");
    const fs::path text = folder / GuideName(language, ".md");
    std::error_code error;
    if (!fs::exists(page, error) && fs::exists(text, error)) return text.string();
    return page.string();
}

std::string FileUrl(const std::string& path) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_' || byte == '~' || byte == '/';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    return url;
}

std::string UserGuideUrl(const IProgramFolder& program, int language) {
    return FileUrl(UserGuidePath(program, language));
}

}  // namespace mxc9
