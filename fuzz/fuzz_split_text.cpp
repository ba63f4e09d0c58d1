// splitText on any text and delimiter. Input: one byte whose value mod 5 is the delimiter's length,
// the delimiter, then the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "carddata/CardGrid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t delimiterLength = std::min<std::size_t>(static_cast<std::uint8_t>(input[0]) % 5, size - 1);
    const std::string_view delimiter = input.substr(1, delimiterLength);
    const std::string_view text = input.substr(1 + delimiterLength);

    const auto pieces = velkora::splitText(text, delimiter);

    // The pieces joined by the delimiter give the text back, less at most one final delimiter.
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            joined += delimiter;
        joined += pieces[i];
    }
    if (joined != text && joined + std::string(delimiter) != text)
        std::abort();
    if (!text.empty() && pieces.empty())
        std::abort();
    // No piece holds the delimiter at a character boundary: cutting a piece again changes nothing.
    if (!delimiter.empty()) {
        for (const std::string& piece : pieces) {
            const auto again = velkora::splitText(piece, delimiter);
            if (!(piece.empty() ? again.empty() : (again.size() == 1 && again[0] == piece)))
                std::abort();
        }
    }
    return 0;
}
