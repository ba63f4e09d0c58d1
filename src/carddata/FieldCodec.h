#pragma once
// Reversible scrambling of a card's serial number and grid for storage: every byte becomes two
// characters of an alphabet, mixed with a random number from 0 to 5.

#include <functional>
#include <string>
#include <string_view>

namespace velkora {

inline constexpr std::string_view DefaultAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz";

std::string encodeField(std::string_view plain, std::string_view alphabet = DefaultAlphabet);

// The same with the random numbers drawn from `drawR` (each call returns 0 to 5).
std::string encodeField(std::string_view plain, std::string_view alphabet, const std::function<int()>& drawR);

// `alphabet` must hold at least 46 distinct single-byte characters.

// Never fails: malformed input gives whatever bytes the rules give, up to the first zero byte.
std::string decodeField(std::string_view scrambled, std::string_view alphabet = DefaultAlphabet);

} // namespace velkora
