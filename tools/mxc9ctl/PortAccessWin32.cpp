// Windows: PORT arguments are COM names (or device names), and what stands in the way of
// opening a port is what CreateFile says.
#include <windows.h>

#include <string>

#include "platform/SerialDevices.h"
#include "platform/WideText.h"
#include "tools/mxc9ctl/PortAccess.h"

namespace mxc9::ctl {

namespace {

// The system's own words for an error code, without its line end.
std::string SystemErrorText(int error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer) text = WideToUtf8(std::wstring_view(buffer, length));
    if (buffer) LocalFree(buffer);
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(error) : text;
}

PortProbe FromError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_INVALID_NAME:
            return {PortState::Missing, static_cast<int>(error)};
        // A COM port held by another program answers "access denied".
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return {PortState::Busy, static_cast<int>(error)};
        default:
            return {PortState::Unusable, static_cast<int>(error)};
    }
}

// Anything that names a device or a file directly: "\\.\COM15", "C:\x.mxd", "COM15"
// above the list.
bool IsDeviceName(const std::string& port) {
    return port.find_first_of("\\/:") != std::string::npos;
}

}  // namespace

std::optional<PortChoice> ResolvePort(const std::string& port, const AppSettings& settings) {
    const int portNo = ComPortNumber(port);
    if (portNo >= 1 && portNo < kPortListEntries && port.find('\\') == std::string::npos) {
        const std::string path = settings.PortDevicePath(portNo);
        const std::string name = "COM" + std::to_string(portNo);
        return PortChoice{portNo, path.empty() ? name : name + " (" + path + ")", path};
    }
    if (portNo > 0) {
        const std::string path = R"(\\.\COM)" + std::to_string(portNo);
        return PortChoice{0, "COM" + std::to_string(portNo), path};
    }
    if (IsDeviceName(port)) return PortChoice{0, port, port};
    return std::nullopt;
}

PortProbe ProbePort(const std::string& path) {
    const std::wstring name = Utf8ToWide(path);
    if (name.empty()) return {PortState::Missing, ERROR_INVALID_NAME};
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return FromError(GetLastError());
    DCB state{};
    state.DCBlength = sizeof state;
    PortProbe probe;
    if (GetFileType(handle) != FILE_TYPE_CHAR || !GetCommState(handle, &state))
        probe = {PortState::NotSerial, ERROR_INVALID_HANDLE};
    CloseHandle(handle);
    return probe;
}

// Without opening: a COM name is there when the system has a device of that name; any
// other name is a file (or nothing), never a port.
PortProbe InspectPort(const std::string& path) {
    const int n = ComPortNumber(path);
    if (n > 0) {
        wchar_t target[512];
        const std::wstring name = L"COM" + std::to_wstring(n);
        if (QueryDosDeviceW(name.c_str(), target, static_cast<DWORD>(std::size(target))) == 0)
            return {PortState::Missing, static_cast<int>(GetLastError())};
        return {};
    }
    const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FromError(GetLastError());
    return {PortState::NotSerial, ERROR_INVALID_HANDLE};
}

namespace system_words {

std::string ErrorText(int error) {
    return SystemErrorText(error);
}

std::string PermissionState(const PortProbe&) {
    return "access denied";
}

std::string PermissionProblem(const std::string& name, const PortProbe&) {
    return "access to " + name + " is denied";
}

const char* const kNoDeviceHint = " (see mxc9ctl ports)";
const char* const kMissingReason = "Windows has no such port";

}  // namespace system_words

}  // namespace mxc9::ctl
