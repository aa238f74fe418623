#include "platform/ProgramFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace mxc9 {

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

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
    if (home && *home) return WithSlash(home);
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return WithSlash(entry->pw_dir);
    return "/";
}

std::string UserSettingsFolder(const EnvironmentLookup& environment) {
    // The XDG base directory rules ignore a relative XDG_CONFIG_HOME.
    const char* config = environment("XDG_CONFIG_HOME");
    const std::string base =
        config && *config == '/' ? WithSlash(config) : HomeFolder(environment) + ".config/";
    return base + "mxc9/";
}

std::string ProgramFolder::settingsFolder() const {
    return installed() ? UserSettingsFolder() : folder();
}

std::string ProgramFolder::documentsFolder() const {
    if (!installed()) return folder();
    // The desktop's documents folder when it names one that exists, else the home folder.
    const std::string documents = documents_ ? documents_() : std::string();
    std::error_code error;
    if (documents.empty() || !std::filesystem::is_directory(documents, error)) return HomeFolder();
    return WithSlash(documents);
}

}  // namespace mxc9
