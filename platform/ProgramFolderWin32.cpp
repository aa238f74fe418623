// The program's folder and the user's folders on Windows, asked of the system (the
// known folders), never built from environment variables.
#include <windows.h>
// After windows.h:
#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include "platform/FileAccess.h"
#include "platform/ProgramFolder.h"
#include "platform/WideText.h"

namespace mxc9 {

namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path && *path)
        folder = WithTrailingSeparator(WideToUtf8(path));
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::string executableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return ".\\";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // cut off: a longer path than MAX_PATH
    }
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::string(".\\")
                                       : WideToUtf8(std::wstring_view(path).substr(0, slash + 1));
}

bool IsInstalledLayout(const std::string& programFolder) {
    // The installer leaves its uninstaller beside the program; nothing else does.
    return KindOfPath(WithTrailingSeparator(programFolder) + "uninstall.exe") == PathKind::File;
}

std::string HomeFolder() {
    const std::string profile = KnownFolder(FOLDERID_Profile);
    return profile.empty() ? executableFolder() : profile;
}

std::string UserSettingsFolder() {
    const std::string appData = KnownFolder(FOLDERID_RoamingAppData);
    return (appData.empty() ? HomeFolder() : appData) + "MXC9\\";
}

std::string SystemDocumentsFolder() {
    return KnownFolder(FOLDERID_Documents);
}

}  // namespace mxc9
