#include "platform/files/FilePasswordRecord.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

#include "platform/files/AtomicFile.h"

namespace velkora {

namespace fs = std::filesystem;

FilePasswordRecord::FilePasswordRecord(fs::path file) : file_(std::move(file)) {}

std::optional<std::string> FilePasswordRecord::read() const
{
    FileBytes contents = readFileBytes(file_);
    if (contents.status != FileReadStatus::Ok)
        return std::nullopt;
    // The text ends at its terminating zero, as a stored string value does.
    const std::size_t zero = contents.bytes.find('\0');
    if (zero != std::string::npos)
        contents.bytes.resize(zero);
    return std::move(contents.bytes);
}

bool FilePasswordRecord::write(std::string_view digest)
{
    if (file_.has_parent_path() && !createDirectories(file_.parent_path(), 0700))
        return false;
    return replaceFileAtomically(file_, digest, 0600);
}

bool FilePasswordRecord::remove()
{
    if (::unlink(file_.c_str()) != 0)
        return errno == ENOENT || errno == ENOTDIR;
    const int dir = ::open(file_.has_parent_path() ? file_.parent_path().c_str() : ".",
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

fs::path defaultPasswordRecordFile()
{
    fs::path base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        fs::path homeDir;
        if (home != nullptr && home[0] != '\0') {
            homeDir = home;
        } else {
            passwd entry{};
            passwd* found = nullptr;
            std::vector<char> buffer(16384);
            if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
                homeDir = found->pw_dir;
        }
        base = homeDir / ".config";
    }
    return base / "tamrel studio" / "vlkr" / "pw";
}

} // namespace velkora
