#include <unistd.h>

#include <climits>
#include <string>

#include "platform/Seams.h"

namespace mxc9 {

std::string executableFolder() {
    char buffer[PATH_MAX + 1];
    ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (length <= 0) return "./";
    std::string path(buffer, static_cast<size_t>(length));
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace mxc9
