#pragma once
// The login password record as a per-user file, by default
// $XDG_CONFIG_HOME/tamrel studio/vlkr/pw (XDG_CONFIG_HOME defaults to $HOME/.config).
// No file: the record is absent. The file holds the digest text and nothing else, mode 0600.

#include <filesystem>

#include "startup/PasswordRecord.h"

namespace velkora {

class FilePasswordRecord final : public PasswordRecord {
public:
    explicit FilePasswordRecord(std::filesystem::path file);

    // The file's bytes up to the first zero byte, if any; no value when there is no file or it
    // cannot be read.
    std::optional<std::string> read() const override;
    // Creates the missing directories (mode 0700) and replaces the file atomically, mode 0600.
    bool write(std::string_view digest) override;
    bool remove() override;

    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

// The record's file for the current user, from XDG_CONFIG_HOME (used only when it is an absolute
// path), else HOME, else the user's home directory from the password database.
std::filesystem::path defaultPasswordRecordFile();

} // namespace velkora
