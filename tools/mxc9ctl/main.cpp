// mxc9ctl: the command-line companion of the window. Shows settings files, reads the
// controller and writes a page to it, for scripts and machines without a desktop.
#include <iostream>
#include <string>
#include <vector>

#include "tools/mxc9ctl/CtlRun.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return mxc9::ctl::RunCtl(args, std::cout, std::cerr);
}
