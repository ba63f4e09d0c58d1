// decodeField on any text, and encodeField then decodeField on any text without zero bytes, with
// the random numbers taken from the input too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "carddata/FieldCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const std::string decoded = velkora::decodeField(input);
    if (decoded.size() > (size + 1) / 2 || decoded.find('\0') != std::string::npos)
        std::abort();

    std::string plain(input);
    std::erase(plain, '\0');
    std::size_t draw = 0;
    const auto drawR = [&] {
        const int r = size == 0 ? 0 : static_cast<std::uint8_t>(input[size - 1 - draw % size]) % 6;
        ++draw;
        return r;
    };
    const std::string scrambled = velkora::encodeField(plain, velkora::DefaultAlphabet, drawR);
    if (scrambled.size() != 2 * plain.size() ||
        scrambled.find_first_not_of(velkora::DefaultAlphabet) != std::string::npos)
        std::abort();
    if (velkora::decodeField(scrambled) != plain)
        std::abort();
    return 0;
}
