#include "tests/support/TestFiles.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>

#include "platform/FileAccess.h"
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace mxc9::testing {

char Separator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

std::string MakeTemporaryFolder(const std::string& prefix) {
#ifdef _WIN32
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring folder =
            std::wstring(base, length) + std::wstring(prefix.begin(), prefix.end()) + L"-" +
            std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            const std::u8string utf8 = std::filesystem::path(folder).u8string();
            return std::string(utf8.begin(), utf8.end());
        }
    }
    throw std::runtime_error("no temporary folder made");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder made");
    return pattern;
#endif
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

void WithNewFilesRefused(const std::string& folder, const std::function<void()>& action) {
#ifdef _WIN32
    (void)folder;
    SetTemporaryFilesRefusedForTesting(true);
    try {
        action();
    } catch (...) {
        SetTemporaryFilesRefusedForTesting(false);
        throw;
    }
    SetTemporaryFilesRefusedForTesting(false);
#else
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file()) chmod(entry.path().c_str(), 0666);
    chmod(folder.c_str(), 0555);
    // Root may write into any folder: the action runs as nobody, as a user would.
    const bool asRoot = geteuid() == 0;
    if (asRoot && seteuid(65534) != 0) throw std::runtime_error("seteuid failed");
    auto restore = [&] {
        if (asRoot && seteuid(0) != 0) std::abort();
        chmod(folder.c_str(), 0700);
    };
    try {
        action();
    } catch (...) {
        restore();
        throw;
    }
    restore();
#endif
}

#ifdef _WIN32
void WithFileHeldOpen(const std::string& path, const std::function<void()>& action) {
    const std::wstring wide = NativePath(path).wstring();
    HANDLE held = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + path);
    try {
        action();
    } catch (...) {
        CloseHandle(held);
        throw;
    }
    CloseHandle(held);
}
#endif

}  // namespace mxc9::testing
