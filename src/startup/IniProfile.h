#pragma once
// The profile format of config.ini as text in, text out, without touching any file.
//
// A file is a run of lines ended by LF or CR LF (the last line may lack its end). Leading and
// trailing spaces and tabs of a line are ignored. A line "[name]" opens a section; a line
// "key=value" inside a section is a key; lines starting with ";" and every other line are kept
// but mean nothing, and so are key lines before the first section. Section and key names are
// matched without regard to the case of ASCII letters (a GB18030 double-byte character is never
// folded, even when its second byte looks like a letter). Only the first section of a name and,
// inside it, the first key of a name count, as the Windows profile reader does.
//
// All texts are GB18030 byte strings.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velkora {

// The profile reader's buffer, terminating zero included: a value keeps at most 10239 bytes.
inline constexpr std::size_t ProfileValueBufferSize = 10240;

// The value of `key` in `section`, trimmed of spaces and tabs and stripped of one pair of
// matching surrounding quotes ('"' or '\''); no value when the section or the key is missing.
// The value is not cut.
std::optional<std::string> findProfileValue(std::string_view fileText, std::string_view section,
                                            std::string_view key);

// What the profile reader returns: the found value, or `defaultValue` when the section or key is
// missing; either cut to fit the 10240-byte buffer, never in the middle of a character.
std::string readProfileString(std::string_view fileText, std::string_view section, std::string_view key,
                              std::string_view defaultValue);

// The file text after storing `value` as the key's value. The key's own line keeps its text up to
// and including the "=" and the blanks after it and gets the new value; every other line stays
// byte for byte. A missing key is added after the last key line of its section (or right after
// the section line); a missing section is added at the end of the file with the key. New lines
// end the way the file's first line ends (CR LF for a new or one-line file). `value` is written as
// it is; it must not hold a line break.
std::string writeProfileString(std::string_view fileText, std::string_view section, std::string_view key,
                               std::string_view value);

// `text` cut to at most `maxBytes` bytes at a GB18030 character boundary.
std::string_view cutToCharacters(std::string_view text, std::size_t maxBytes);

} // namespace velkora
