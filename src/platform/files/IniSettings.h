#pragma once
// Settings kept in an INI file (RunDir + "/config.ini"). Every read reads the file; every write
// reads it, changes the one key and replaces the file atomically at once. Nothing is cached.

#include <filesystem>

#include "startup/Settings.h"

namespace velkora {

class IniSettings final : public Settings {
public:
    explicit IniSettings(std::filesystem::path file);

    // A missing or unreadable file gives the default.
    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue) const override;
    // A failure is silent. A file that exists but cannot be read is left alone rather than being
    // replaced by one that holds only the new key.
    void write(std::string_view section, std::string_view key, std::string_view value) override;

    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

} // namespace velkora
