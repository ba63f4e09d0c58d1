#pragma once
// Whole-file reads and crash-safe whole-file replacement.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace velkora {

enum class FileReadStatus { Ok, Missing, Failed };

struct FileBytes {
    FileReadStatus status = FileReadStatus::Missing;
    std::string bytes; // the whole file when status is Ok
};

// Missing: the file (or a directory on its way) does not exist. Failed: it exists but could not be
// read, for example for lack of permission or because it is a directory.
FileBytes readFileBytes(const std::filesystem::path& file);

// Replaces `target` by a file holding exactly `content`, so that at every moment, a crash or a
// kill included, `target` is either the complete old file or the complete new one. The bytes go
// to a temporary file in the same directory, are flushed to disk, and the temporary file is
// renamed over the target; then the directory is flushed. The new file gets `mode` when given,
// else the old file's permission bits, else those of a new file (0666 less the umask). When
// `target` is a symbolic link, the file it points to is replaced. Temporary files left behind by
// a writer that died (its process no longer exists) are deleted on the way. False, with the
// target untouched and no temporary file left, when any step fails.
bool replaceFileAtomically(const std::filesystem::path& target, std::string_view content,
                           std::optional<mode_t> mode = std::nullopt);

// Creates `dir` and every missing parent with `mode`; true when `dir` is a directory afterwards.
bool createDirectories(const std::filesystem::path& dir, mode_t mode);

} // namespace velkora
