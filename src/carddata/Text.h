#pragma once
// Texts inside the program are GB18030 byte strings (identical to GBK for every GBK character).
// These helpers convert at the edges (UTF-8 for Qt, SQLite, files and the terminal) and turn the
// program's own UTF-8 literals into GB18030 once.

#include <cstddef>
#include <string>
#include <string_view>

namespace velkora {

// UTF-8 to GB18030. A byte that is not valid UTF-8 becomes "?".
std::string utf8ToGb(std::string_view utf8);

// GB18030 to UTF-8. A byte that starts no valid GB18030 character becomes U+FFFD.
std::string gbToUtf8(std::string_view gb);

// Length in bytes of the character that starts at `pos` (pos < text.size()): 1 below 0x80 and for
// a byte of 0x80 or above that ends the text; 4 for a complete four-byte GB18030 sequence (lead,
// digit, lead, digit); otherwise 2, lead and trail byte of a double-byte character. Scanning by
// this length never starts on the inside of a character.
std::size_t gbCharLength(std::string_view text, std::size_t pos);

} // namespace velkora

// VK_TEXT("信息：") is the GB18030 form of a UTF-8 literal, converted on first use and kept.
#define VK_TEXT(literal)                                                                       \
    ([]() -> const std::string& {                                                              \
        static const std::string converted = ::velkora::utf8ToGb(literal);                     \
        return converted;                                                                      \
    }())
