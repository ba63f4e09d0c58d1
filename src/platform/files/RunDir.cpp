#include "platform/files/RunDir.h"

#include <filesystem>
#include <unistd.h>

namespace velkora {

std::string runDir()
{
    std::string exe(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
        if (n < 0)
            return ".";
        if (static_cast<std::size_t>(n) < exe.size()) {
            exe.resize(static_cast<std::size_t>(n));
            break;
        }
        exe.resize(exe.size() * 2);
    }
    // A replaced or deleted executable reads as "<path> (deleted)"; only its file name changes.
    std::string dir = std::filesystem::path(exe).parent_path().string();
    while (!dir.empty() && dir.back() == '/')
        dir.pop_back();
    return dir;
}

} // namespace velkora
