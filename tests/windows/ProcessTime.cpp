// Processor time of this process, apart from the serial tests so that windows.h's macros
// (INVALID_HANDLE_VALUE, EV_RXCHAR, ...) stay out of them.
#include <windows.h>

#include <chrono>

namespace mxc9 {

std::chrono::milliseconds ProcessTime() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return {};
    auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return std::chrono::milliseconds((ticks(kernel) + ticks(user)) / 10000);  // 100 ns units
}

}  // namespace mxc9
