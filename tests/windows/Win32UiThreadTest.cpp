// The UI thread on Win32: worker threads' Sends are delivered by ProcessMessages and by
// the modal loops of the system (a message box here), released senders return, and a
// quit ends ProcessMessages without being lost to the main loop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/win32/Win32UiThread.h"

namespace mxc9 {
namespace {

using namespace std::chrono_literals;

// Pumps until `done` holds or five seconds have passed.
template <typename Done>
bool PumpUntil(Win32UiThread& ui, Done done) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        ui.ProcessMessages();
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(Win32UiThreadTest, WorkerSendRunsOnTheUiThreadWhenItProcessesMessages) {
    Win32UiThread ui;
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<DWORD> ranOn{0};
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        ui.Send([&] { ranOn = GetCurrentThreadId(); });
        returned = true;
    });
    EXPECT_TRUE(PumpUntil(ui, [&] { return returned.load(); }));
    worker.join();
    EXPECT_EQ(ranOn.load(), uiThread);
}

BOOL CALLBACK CloseMessageBox(HWND window, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) == L"#32770") PostMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

TEST(Win32UiThreadTest, SendWaitingWhileAMessageBoxIsOpenIsDeliveredByItsModalLoop) {
    Win32UiThread ui;
    std::atomic<bool> delivered{false};
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        // The box closes only from the sent call: the box returns only if its own loop
        // delivered the call.
        ui.Send([&] {
            delivered = true;
            EnumThreadWindows(GetCurrentThreadId(), CloseMessageBox, 0);
        });
        returned = true;
    });
    // Should the call never come, the box closes after five seconds all the same.
    const UINT_PTR timer = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), CloseMessageBox, 0);
    });
    MessageBoxW(nullptr, L"waiting for a worker", L"Win32UiThreadTest", MB_OK);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(delivered.load());
    EXPECT_TRUE(PumpUntil(ui, [&] { return returned.load(); }));
    worker.join();
}

TEST(Win32UiThreadTest, ReleasedSenderReturnsWhileItsCallStillRuns) {
    Win32UiThread ui;
    std::atomic<bool> release{false};
    std::atomic<bool> returned{false};
    bool returnedDuringCall = false;
    std::thread worker([&] {
        ui.Send(
            [&] {
                release = true;
                ui.ReleaseSenders();
                const auto deadline = std::chrono::steady_clock::now() + 5s;
                while (!returned && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(1ms);
                returnedDuringCall = returned;
            },
            [&] { return release.load(); });
        returned = true;
    });
    EXPECT_TRUE(PumpUntil(ui, [&] { return returned.load(); }));
    worker.join();
    EXPECT_TRUE(returnedDuringCall);
}

// A message-only window that counts what it is given.
struct CountingWindow {
    static inline int dispatched = 0;
    HWND window = nullptr;
    CountingWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_APP + 7) ++dispatched;
            return DefWindowProcW(w, m, wp, lp);
        };
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"MXC9CountingWindow";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"MXC9CountingWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~CountingWindow() { DestroyWindow(window); }
};

TEST(Win32UiThreadTest, FilterTakesMessagesAndAQuitIsLeftForTheMainLoop) {
    Win32UiThread ui;
    CountingWindow counting;
    CountingWindow::dispatched = 0;
    int filtered = 0;
    // The filter takes every second message: those are not dispatched.
    ui.setMessageFilter([&](MSG& message) {
        if (message.message != WM_APP + 7) return false;
        return message.wParam % 2 == 1 && ++filtered > 0;
    });
    for (WPARAM i = 0; i < 4; ++i) PostMessageW(counting.window, WM_APP + 7, i, 0);
    PostQuitMessage(3);
    ui.ProcessMessages();
    EXPECT_EQ(filtered, 2);
    EXPECT_EQ(CountingWindow::dispatched, 2);
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(quit.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(quit.wParam, 3u);
}

}  // namespace
}  // namespace mxc9
