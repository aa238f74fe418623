// The file layer on Windows: every path goes to the wide-character calls, converted
// from UTF-8 at this edge.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cwctype>
#include <filesystem>

#include "platform/FileAccess.h"
#include "platform/FileAccessSystem.h"
#include "platform/WideText.h"

namespace mxc9 {

namespace {

std::filesystem::path NativePath(const std::string& path) {
    return std::filesystem::path(Utf8ToWide(path));
}

// Names that open a device in any folder and with any extension ("C:\x\com1.mxd" is the
// serial port): they are never read or written as files.
bool NamesADevice(const std::wstring& path) {
    if (path.rfind(L"\\\\.\\", 0) == 0 || path.rfind(L"\\\\?\\GLOBALROOT", 0) == 0) return true;
    const size_t slash = path.find_last_of(L"\\/:");
    std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ') name.pop_back();
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    static const std::array<const wchar_t*, 6> kNames = {L"CON", L"PRN",    L"AUX",
                                                         L"NUL", L"CONIN$", L"CONOUT$"};
    if (std::find(kNames.begin(), kNames.end(), name) != kNames.end()) return true;
    return name.size() == 4 && (name.rfind(L"COM", 0) == 0 || name.rfind(L"LPT", 0) == 0) &&
           name[3] >= L'0' && name[3] <= L'9';
}

PathKind KindOfWidePath(const std::wstring& path) {
    if (NamesADevice(path)) return PathKind::Device;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Folder;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return PathKind::Device;
    return PathKind::File;
}

HANDLE Handle(const system_files::OpenFile& file) {
    return reinterpret_cast<HANDLE>(file.handle);
}

}  // namespace

PathKind KindOfPath(const std::string& path) {
    return KindOfWidePath(Utf8ToWide(path));
}

bool ReadRegularFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const std::wstring wide = Utf8ToWide(path);
    if (KindOfWidePath(wide) != PathKind::File) return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    const bool regular = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size);
    if (regular) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (done < bytes.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 30));
            DWORD read = 0;
            if (!ReadFile(file, bytes.data() + done, chunk, &read, nullptr) || read == 0) break;
            done += read;
        }
        bytes.resize(done);
    }
    CloseHandle(file);
    return regular;
}

bool CreateFolders(const std::string& path) {
    std::wstring wide = Utf8ToWide(path);
    // "C:\a\b\" names the folder b; the root "C:\" keeps its separator.
    while (wide.size() > 3 && (wide.back() == L'\\' || wide.back() == L'/')) wide.pop_back();
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(wide), error);
    return KindOfWidePath(wide) == PathKind::Folder;
}

std::string CanonicalPath(const std::string& path) {
    std::error_code error;
    return WideToUtf8(std::filesystem::canonical(NativePath(path), error).wstring());
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(NativePath(path), error);
    return absolute.empty() ? path : WideToUtf8(absolute.lexically_normal().wstring());
}

namespace system_files {

CreateResult CreateNewFile(const std::string& path, const std::string&, OpenFile& file) {
    // The new file takes the folder's inherited permissions, as the file it replaces had.
    HANDLE created = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            return CreateResult::Exists;
        return error == ERROR_ACCESS_DENIED ? CreateResult::Refused : CreateResult::Failed;
    }
    file.handle = reinterpret_cast<intptr_t>(created);
    return CreateResult::Created;
}

bool OpenExistingForWriting(const std::string& path, OpenFile& file) {
    const std::wstring wide = Utf8ToWide(path);
    if (KindOfWidePath(wide) != PathKind::File) return false;
    HANDLE opened = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    file.handle = reinterpret_cast<intptr_t>(opened);
    return true;
}

bool WriteAll(OpenFile& file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(Handle(file), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool Truncate(OpenFile& file, uint64_t size) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(Handle(file), position, nullptr, FILE_BEGIN) &&
           SetEndOfFile(Handle(file));
}

bool Flush(OpenFile& file) {
    return FlushFileBuffers(Handle(file));
}

bool Close(OpenFile& file) {
    const HANDLE handle = Handle(file);
    file.handle = -1;
    return CloseHandle(handle);
}

bool MoveOver(const std::string& from, const std::string& to) {
    // Not rename(), which refuses an existing target under Wine, nor ReplaceFile, which
    // there reports failure and leaves the target as it was.
    return MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

void RemoveFile(const std::string& path) {
    DeleteFileW(Utf8ToWide(path).c_str());
}

std::string FileToReplace(const std::string& path) {
    // Saving through a symbolic link replaces the file it points at, not the link.
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        const std::string resolved = CanonicalPath(path);
        if (!resolved.empty()) return resolved;
    }
    return path;
}

unsigned long ProcessNumber() {
    return GetCurrentProcessId();
}

}  // namespace system_files

}  // namespace mxc9
