#pragma once
// One running instance per user: an exclusive advisory lock (flock) on a per-user lock file. The
// kernel drops the lock when the process ends, however it ends, so a crashed instance never
// blocks the next start.

#include <filesystem>

#include "startup/StartupSequence.h"

namespace velkora {

class InstanceLock final : public InstanceGuard {
public:
    explicit InstanceLock(std::filesystem::path lockFile);
    ~InstanceLock() override;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False only when another process (or another InstanceLock) holds the lock. When the lock
    // file cannot be used at all, the start is allowed: better two instances than none.
    // Once acquired, the lock is held until this object is destroyed or the process ends.
    bool acquire() override;
    bool held() const { return fd_ >= 0; }

    const std::filesystem::path& lockFile() const { return file_; }

private:
    std::filesystem::path file_;
    int fd_ = -1;
};

// "$XDG_RUNTIME_DIR/jzyqfhdslinbc.lock" when XDG_RUNTIME_DIR names an existing directory by an
// absolute path; otherwise "<temporary directory>/jzyqfhdslinbc-<uid>.lock".
std::filesystem::path defaultInstanceLockFile();

} // namespace velkora
