// textToInteger on any text. An ASCII text must read as the C library reads it (clamped to 32
// bits), and the same text in full-width forms must read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "carddata/CoordinateLookup.h"

namespace {

std::int32_t libraryReading(const std::string& text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int32_t value = velkora::textToInteger(text);

    for (const unsigned char c : text)
        if (c >= 0x80)
            return 0;
    if (value != libraryReading(text))
        std::abort();

    std::string fullWidth;
    for (const unsigned char c : text) {
        if (c == ' ')
            fullWidth += "\xA1\xA1";
        else if (c >= 0x21 && c <= 0x7E)
            fullWidth += {'\xA3', static_cast<char>(c + 0x80)};
        else
            fullWidth += static_cast<char>(c);
    }
    if (velkora::textToInteger(fullWidth) != value)
        std::abort();
    return 0;
}
