// mxc9ctl: the command-line companion of the window. Shows settings files, reads the
// controller and writes a page to it, for scripts and machines without a desktop.
#include <iostream>
#include <string>
#include <vector>

#include "tools/mxc9ctl/CtlRun.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/WideText.h"

// Windows hands a program its arguments in UTF-16. The texts are UTF-8, as on Linux, and
// the console is told so.
int main() {
    SetConsoleOutputCP(CP_UTF8);
    return mxc9::ctl::RunCtl(mxc9::CommandLineArguments(), std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return mxc9::ctl::RunCtl(args, std::cout, std::cerr);
}
#endif
