#include "platform/win32/Win32UiThread.h"

namespace mxc9 {

namespace {

const wchar_t kWindowClass[] = L"MXC9UiThreadWake";
constexpr UINT kWakeMessage = WM_APP + 1;

}  // namespace

Win32UiThread::Win32UiThread() : threadId_(GetCurrentThreadId()) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // a second seam finds it registered already
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32UiThread::~Win32UiThread() {
    // Wake-ups still posted go with the window.
    if (window_) DestroyWindow(window_);
}

bool Win32UiThread::OnUiThread() const {
    return GetCurrentThreadId() == threadId_;
}

// Only a wake-up crosses threads as a message; the call and the sender's wait stay in
// the seam's queue. A wake-up that finds the queue already emptied by a pump does
// nothing.
void Win32UiThread::Wake() {
    PostMessageW(window_, kWakeMessage, 0, 0);
}

LRESULT CALLBACK Win32UiThread::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == kWakeMessage) {
        if (auto* self = reinterpret_cast<Win32UiThread*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            self->DeliverSends();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Win32UiThread::ProcessMessages() {
    DeliverSends();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The main loop is to end: it must see the quit too.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (filterMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace mxc9
