#pragma once
// The settings file RunDir + "/config.ini": profile semantics (names matched without regard to
// case, values trimmed, a missing file or key gives the default, a present-but-empty key gives the
// empty text). Every read and write goes to the file itself; a write replaces the file atomically.

#include <string>
#include <string_view>

namespace velkora {

class Settings {
public:
    virtual ~Settings() = default;
    // Values longer than 10239 bytes are cut, as the profile reader's buffer cuts them.
    virtual std::string read(std::string_view section, std::string_view key, std::string_view defaultValue) const = 0;
    virtual void write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// "2011年2月3日9时5分7秒", "2011年2月3日9时5分", "2011年2月3日9时", "2011年2月3日" (GB18030).
std::string dateTimeText(int year, int month, int day, int hour, int minute, int second);

} // namespace velkora
