// The program's folders in the browser. The page keeps the program's own settings in the
// site's storage, mounted in the module's file system as /mxc9/ (app/web/storage.js); the
// settings files the user opens or saves pass through /files/ on their way to and from
// the user's disk. Nothing is installed: the folder is the program's own.
#include <cstdlib>
#include <string>

#include "platform/ProgramFolder.h"

namespace mxc9 {

namespace {
constexpr const char* kProgramFolder = "/mxc9/";
}

std::string executableFolder() {
    return kProgramFolder;
}

bool IsInstalledLayout(const std::string&) {
    return false;
}

const char* SystemEnvironment(const char* name) {
    return std::getenv(name);
}

std::string HomeFolder(const EnvironmentLookup&) {
    return kProgramFolder;
}

std::string UserSettingsFolder(const EnvironmentLookup&) {
    return kProgramFolder;
}

std::string SystemDocumentsFolder() {
    return {};
}

}  // namespace mxc9
