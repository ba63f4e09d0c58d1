#pragma once
// The start-up's file operations on the real file system. Paths are byte strings, used as given.

#include "startup/StartupSequence.h"

namespace velkora {

class LocalFileSystem final : public FileSystem {
public:
    // Size in bytes of a file, -1 when nothing is there (a dangling link included).
    std::int64_t fileSize(const std::string& path) const override;
    bool exists(const std::string& path) const override;
    // Deletes a file or link; a directory is never deleted. Failures are silent.
    void remove(const std::string& path) override;
    // Replaces the file atomically: it is the old file or the whole new one at every moment.
    bool writeFile(const std::string& path, std::string_view bytes) override;
};

} // namespace velkora
