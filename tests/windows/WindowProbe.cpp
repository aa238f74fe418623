// Looks at a running window program from outside, as a test driver needs it: where a
// window's client area is on the screen, the position of a scroll bar, the text of a
// control, whether it is enabled, and the texts of a message box. Controls are named as
// in the window layout (FRQ_1, AVG_BAR, CommPort, ...).
//   window_probe wait TITLE [SECONDS]     exit 0 once a visible window has the title
//   window_probe client TITLE             "x y width height" of its client area
//   window_probe pos TITLE CONTROL        a scroll bar's position
//   window_probe text TITLE CONTROL       a control's text
//   window_probe enabled TITLE CONTROL    "1" or "0"
//   window_probe box TITLE [SECONDS]      the texts of a message box with the title
//   window_probe gone TITLE [SECONDS]     exit 0 once no window has the title
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/win32/ControlIds.h"
#include "platform/WideText.h"

namespace {

using namespace mxc9;

int ControlId(const std::string& name) {
    if (name.rfind("FRQ_", 0) == 0 && name.size() > 4 &&
        std::isdigit(static_cast<unsigned char>(name[4])))
        return kIdFirstBar + std::atoi(name.c_str() + 4) - 1;
    struct Named {
        const char* name;
        int id;
    };
    static const Named kNames[] = {
        {"TabControl1", kIdTabs},
        {"AVG_BAR", kIdAverage},
        {"FRQ_VALUE", kIdValue},
        {"FRQ_LEVEL", kIdLevel},
        {"FRQ_NAME", kIdName},
        {"PROGRAM_BTN", kIdWrite},
        {"READ_BTN", kIdRead},
        {"INFO_BTN", kIdInformation},
        {"EXIT_BTN", kIdQuit},
        {"CommPort", kIdPort},
        {"NBRK_CAP", kIdBrakeCaption},
        {"NBRK_BAR", kIdBrakeBar},
        {"Comment", kIdComment},
        {"BRK_LIST", kIdFirstList},
        {"CUTVT_LIST", kIdFirstList + 1},
        {"RES_LIST", kIdFirstList + 2},
        {"CUR_LIST", kIdFirstList + 3},
    };
    for (const Named& n : kNames)
        if (name == n.name) return n.id;
    return -1;
}

HWND FindVisible(const std::wstring& title) {
    HWND found = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, nullptr, title.c_str()); w;
         w = FindWindowExW(nullptr, w, nullptr, title.c_str())) {
        if (IsWindowVisible(w)) found = w;
    }
    return found;
}

HWND WaitFor(const std::wstring& title, double seconds) {
    for (int i = 0; i < static_cast<int>(seconds * 10); ++i) {
        if (HWND w = FindVisible(title)) return w;
        Sleep(100);
    }
    return FindVisible(title);
}

std::string Text(HWND window) {
    wchar_t buffer[4096];
    const LRESULT length = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(std::size(buffer)),
                                        reinterpret_cast<LPARAM>(buffer));
    return WideToUtf8(std::wstring_view(buffer, static_cast<size_t>(length)));
}

BOOL CALLBACK CollectText(HWND child, LPARAM out) {
    wchar_t cls[64];
    GetClassNameW(child, cls, 64);
    if (_wcsicmp(cls, L"Static") == 0) {
        const std::string text = Text(child);
        if (!text.empty()) *reinterpret_cast<std::string*>(out) += text + "\n";
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputs("usage: window_probe COMMAND TITLE [ARG]\n", stderr);
        return 2;
    }
    const std::string command = WideToUtf8(argv[1]);
    const std::wstring title = argv[2];
    const std::string arg = argc > 3 ? WideToUtf8(argv[3]) : "";
    const double seconds = arg.empty() ? 20 : std::atof(arg.c_str());
    if (command == "wait") return WaitFor(title, seconds) ? 0 : 1;
    if (command == "gone") {
        for (int i = 0; i < static_cast<int>(seconds * 10); ++i) {
            if (!FindWindowW(nullptr, title.c_str())) return 0;
            Sleep(100);
        }
        return 1;
    }
    if (command == "box") {
        HWND box = WaitFor(title, seconds);
        if (!box) return 1;
        std::string texts;
        EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&texts));
        std::fputs(texts.c_str(), stdout);
        return 0;
    }
    HWND window = WaitFor(title, 5);
    if (!window) return 1;
    if (command == "client") {
        RECT client;
        GetClientRect(window, &client);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
        return 0;
    }
    HWND control = GetDlgItem(window, ControlId(arg));
    if (!control) return 1;
    if (command == "pos") {
        std::printf("%d\n", static_cast<int>(SendMessageW(control, SBM_GETPOS, 0, 0)));
    } else if (command == "text") {
        std::printf("%s\n", Text(control).c_str());
    } else if (command == "enabled") {
        std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
    } else {
        return 2;
    }
    return 0;
}
