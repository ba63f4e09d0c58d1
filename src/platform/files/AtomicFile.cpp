#include "platform/files/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velkora {
namespace {

namespace fs = std::filesystem;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that a failing close (a delayed write error) is seen.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool syncDirectory(const fs::path& dir)
{
    FileDescriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.valid() && ::fsync(fd.get()) == 0;
}

// Temporary files are named ".<target name>.<pid>.<sequence>.tmp".
std::string temporaryPrefix(const fs::path& target)
{
    // Built with append: GCC 12 reports a false -Wrestrict on the operator+ chain at -O3.
    std::string prefix(".");
    prefix.append(target.filename().string()).append(".");
    return prefix;
}

// Deletes the temporary files of `target` whose writing process has ended.
void removeStaleTemporaries(const fs::path& dir, const fs::path& target)
{
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr)
        return;
    const std::string prefix = temporaryPrefix(target);
    constexpr std::string_view suffix = ".tmp";
    while (const dirent* entry = ::readdir(d)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix) || !name.ends_with(suffix))
            continue;
        const std::string_view middle = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        pid_t pid = 0;
        const auto [end, ec] = std::from_chars(middle.data(), middle.data() + middle.size(), pid);
        if (ec != std::errc() || end == middle.data() + middle.size() || *end != '.' || pid <= 0)
            continue;
        if (pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        ::unlinkat(::dirfd(d), entry->d_name, 0);
    }
    ::closedir(d);
}

} // namespace

FileBytes readFileBytes(const fs::path& file)
{
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return {(errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::Missing : FileReadStatus::Failed, {}};
    FileBytes result{FileReadStatus::Ok, {}};
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0)
            return result;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return {FileReadStatus::Failed, {}};
        }
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool replaceFileAtomically(const fs::path& target, std::string_view content, std::optional<mode_t> mode)
{
    fs::path dest = target;
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        std::error_code ec;
        fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            dest = std::move(resolved);
    }
    const fs::path dir = dest.has_parent_path() ? dest.parent_path() : fs::path(".");

    removeStaleTemporaries(dir, dest);

    static std::atomic<unsigned> sequence{0};
    const fs::path temporary =
        dir / (temporaryPrefix(dest) + std::to_string(::getpid()) + "." + std::to_string(sequence++) + ".tmp");

    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                             mode ? *mode : 0666));
    if (!fd.valid())
        return false;

    bool ok = true;
    if (mode)
        ok = ::fchmod(fd.get(), *mode) == 0;
    else if (::stat(dest.c_str(), &st) == 0)
        ok = ::fchmod(fd.get(), st.st_mode & 07777) == 0;
    ok = ok && writeAll(fd.get(), content) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    ok = ok && ::rename(temporary.c_str(), dest.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The new name is in place; flushing the directory makes the rename itself survive a power cut.
    syncDirectory(dir);
    return true;
}

bool createDirectories(const fs::path& dir, mode_t mode)
{
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (dir.has_parent_path() && dir.parent_path() != dir && !createDirectories(dir.parent_path(), mode))
        return false;
    if (::mkdir(dir.c_str(), mode) == 0)
        return true;
    return errno == EEXIST && ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace velkora
