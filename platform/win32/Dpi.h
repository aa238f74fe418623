// Dots per inch of a window and the layout's 96-dpi pixel sizes scaled to them. The
// program is per-monitor aware: each window asks for its own monitor's resolution, which
// Windows 10 reports with GetDpiForWindow; older systems have the screen's one setting.
#pragma once

#include <windows.h>

namespace mxc9 {

inline constexpr int kLayoutDpi = 96;

inline int DpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kLayoutDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kLayoutDpi;
}

// A length of the 96-dpi layout at `dpi`, rounded to the nearest pixel.
inline int ScaleToDpi(int pixels, int dpi) {
    return MulDiv(pixels, dpi, kLayoutDpi);
}

}  // namespace mxc9
