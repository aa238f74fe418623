// The program's folder and the user's folders on Linux.
#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/FileAccess.h"
#include "platform/ProgramFolder.h"

namespace mxc9 {

std::string executableFolder() {
    char buffer[PATH_MAX + 1];
    ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (length <= 0) return "./";
    std::string path(buffer, static_cast<size_t>(length));
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

bool IsInstalledLayout(const std::string& programFolder) {
    std::filesystem::path folder(programFolder);
    if (!folder.has_filename()) folder = folder.parent_path();  // "…/bin/" names "bin"
    if (folder.filename() != "bin") return false;
    std::error_code error;
    return std::filesystem::is_directory(folder.parent_path() / "share" / "mxc9", error);
}

const char* SystemEnvironment(const char* name) {
    return std::getenv(name);
}

std::string HomeFolder(const EnvironmentLookup& environment) {
    const char* home = environment("HOME");
    if (home && *home) return WithTrailingSeparator(home);
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return WithTrailingSeparator(entry->pw_dir);
    return "/";
}

std::string UserSettingsFolder(const EnvironmentLookup& environment) {
    // The XDG base directory rules ignore a relative XDG_CONFIG_HOME.
    const char* config = environment("XDG_CONFIG_HOME");
    const std::string base = config && *config == '/' ? WithTrailingSeparator(config)
                                                      : HomeFolder(environment) + ".config/";
    return base + "mxc9/";
}

std::string SystemDocumentsFolder() {
    return {};
}

}  // namespace mxc9
