#include "platform/files/LocalFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/files/AtomicFile.h"

namespace velkora {

std::int64_t LocalFileSystem::fileSize(const std::string& path) const
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return -1;
    return S_ISREG(st.st_mode) ? static_cast<std::int64_t>(st.st_size) : 0;
}

bool LocalFileSystem::exists(const std::string& path) const
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

void LocalFileSystem::remove(const std::string& path)
{
    (void)::unlink(path.c_str());
}

bool LocalFileSystem::writeFile(const std::string& path, std::string_view bytes)
{
    return replaceFileAtomically(path, bytes);
}

} // namespace velkora
