// Temporary folders and whole files for the tests, on UTF-8 paths in both builds: on
// Windows they go through the wide-character calls (std::filesystem::path made from
// char8_t), independently of the program's own file layer.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace mxc9::testing {

// A UTF-8 path as the standard library takes it on every system.
inline std::filesystem::path NativePath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A new, empty folder under the system's temporary folder (GetTempPathW on Windows),
// without a trailing separator.
std::string MakeTemporaryFolder(const std::string& prefix);
// The system's folder separator: '/' or '\'.
char Separator();

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Runs `action` while no new file may be made in `folder`, whose files may still be
// written: the folder without write permission, its files writable by all, and the
// action run as another user where the tests run as root (root may write anywhere). On
// Windows, where the tests' user may write into any folder of the Wine prefix, the file
// layer is told so (SetTemporaryFilesRefusedForTesting).
void WithNewFilesRefused(const std::string& folder, const std::function<void()>& action);

#ifdef _WIN32
// Runs `action` while `path` is held open by another handle that shares neither writing
// nor deleting, as an editor or a virus scanner may hold it: it cannot be replaced.
void WithFileHeldOpen(const std::string& path, const std::function<void()>& action);
#endif

}  // namespace mxc9::testing
