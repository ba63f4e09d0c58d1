#include "platform/files/IniSettings.h"

#include "platform/files/AtomicFile.h"
#include "startup/IniProfile.h"

namespace velkora {

IniSettings::IniSettings(std::filesystem::path file) : file_(std::move(file)) {}

std::string IniSettings::read(std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    FileBytes contents = readFileBytes(file_);
    if (contents.status != FileReadStatus::Ok)
        contents.bytes.clear();
    return readProfileString(contents.bytes, section, key, defaultValue);
}

void IniSettings::write(std::string_view section, std::string_view key, std::string_view value)
{
    const FileBytes contents = readFileBytes(file_);
    if (contents.status == FileReadStatus::Failed)
        return;
    replaceFileAtomically(file_, writeProfileString(contents.bytes, section, key, value));
}

} // namespace velkora
