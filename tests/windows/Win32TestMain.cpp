// Test main for the Win32 front end's tests, run under Xvfb. The tests' Wine prefix has
// its desktop started without a display, and a process keeps the display driver of the
// desktop it starts on: the program starts itself again on a desktop of its own, which
// Wine opens on this display, and gives back that run's exit code.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

const wchar_t kTestDesktop[] = L"mxc9-win32-tests";

bool OnTestDesktop() {
    wchar_t name[64] = {};
    DWORD needed = 0;
    GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof name,
                              &needed);
    return std::wstring(name) == kTestDesktop;
}

int RunOnTestDesktop() {
    HDESK desktop = CreateDesktopW(kTestDesktop, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!desktop) return -1;
    std::wstring desktopName = kTestDesktop;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktopName.data();
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = GetCommandLineW();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseDesktop(desktop);
    return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
    if (!OnTestDesktop()) return RunOnTestDesktop();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
