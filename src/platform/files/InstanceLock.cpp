#include "platform/files/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace velkora {
namespace {

namespace fs = std::filesystem;

constexpr const char* LockName = "jzyqfhdslinbc";

} // namespace

InstanceLock::InstanceLock(fs::path lockFile) : file_(std::move(lockFile)) {}

InstanceLock::~InstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_); // closing the last descriptor releases the lock
}

bool InstanceLock::acquire()
{
    if (fd_ >= 0)
        return true;
    // Close-on-exec: a program started from here (the browser, the help viewer) must not keep
    // the lock alive after this process has ended. No-follow: a link planted in a shared
    // temporary directory must not make us create or lock another file.
    const int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        // Not our own plain file (someone else's, in a shared directory): it proves nothing
        // about our instances and must not let another user keep us from starting.
        ::close(fd);
        return true;
    }
    int rc = 0;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return !taken;
    }
    fd_ = fd;
    return true;
}

fs::path defaultInstanceLockFile()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && runtime[0] == '/') {
        std::error_code ec;
        if (fs::is_directory(runtime, ec))
            return fs::path(runtime) / (std::string(LockName) + ".lock");
    }
    std::error_code ec;
    fs::path temp = fs::temp_directory_path(ec);
    if (ec || temp.empty())
        temp = "/tmp";
    return temp / (std::string(LockName) + "-" + std::to_string(::geteuid()) + ".lock");
}

} // namespace velkora
