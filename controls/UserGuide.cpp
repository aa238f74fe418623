#include "controls/UserGuide.h"

#include <filesystem>

#include "common/Language.h"
#include "platform/FileAccess.h"

namespace mxc9 {

namespace {

// Where packaging/CMakeLists.txt installs the guides, from the installation's prefix.
const char* const kInstalledGuideFolder = "share/doc/mxc9";

std::string GuideName(int language, const char* extension) {
    return std::string("USER-GUIDE") + (language == kLanguageJapanese ? ".ja" : "") + extension;
}

}  // namespace

#ifdef _WIN32
std::string UserGuidePath(const IProgramFolder& program, int language) {
    // The guides lie beside the program, installed or copied; the paths stay UTF-8 strings
    // (a std::filesystem path of a narrow string would read them in the ANSI code page).
    const std::string beside = program.folder() + GuideName(language, ".html");
    if (program.installed() || KindOfPath(beside) == PathKind::File) return beside;
    const std::string source =
        std::string(MXC9_SOURCE_FOLDER) + "\\docs\\" + GuideName(language, ".md");
    return KindOfPath(source) == PathKind::File ? source : beside;
}
#else
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
#endif

std::string FileUrl(const std::string& path) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string url = "file://";
#ifdef _WIN32
    // file:///C:/folder/file: the path's separators become slashes, the drive follows an
    // empty host; a share's \\host\share\file becomes file://host/share/file.
    std::string slashes = path;
    for (char& c : slashes)
        if (c == '\\') c = '/';
    if (slashes.size() >= 2 && slashes[1] == ':') {
        url += '/';
        url += slashes.substr(0, 2);
        slashes.erase(0, 2);
    } else if (slashes.rfind("//", 0) == 0) {
        slashes.erase(0, 2);
    }
    for (const char c : slashes) {
#else
    for (const char c : path) {
#endif
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
