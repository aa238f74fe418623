// mxc9ctl: the command-line companion of the window. Shows settings files, reads the
// controller and writes a page to it, for scripts and machines without a desktop.
#include <iostream>
#include <string>
#include <vector>

#include "tools/mxc9ctl/CtlRun.h"

#ifdef _WIN32
#include <windows.h>
// clang-format off
#include <shellapi.h>
// clang-format on

// Windows hands a program its arguments in UTF-16; the ANSI argv would lose every
// character of a file name outside the system's code page. The texts are UTF-8, as on
// Linux, and the console is told so.
int main() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(static_cast<size_t>(size > 1 ? size - 1 : 0), '\0');
        if (size > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), size, nullptr, nullptr);
        args.push_back(std::move(arg));
    }
    if (wide) LocalFree(wide);
    SetConsoleOutputCP(CP_UTF8);
    return mxc9::ctl::RunCtl(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return mxc9::ctl::RunCtl(args, std::cout, std::cerr);
}
#endif
