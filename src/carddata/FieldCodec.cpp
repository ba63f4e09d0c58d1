#include "carddata/FieldCodec.h"

#include <random>

namespace velkora {
namespace {

int positionIn(std::string_view alphabet, char c)
{
    const std::size_t pos = alphabet.find(c);
    return pos == std::string_view::npos ? -2 : static_cast<int>(pos);
}

int randomR()
{
    thread_local std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, 5)(engine);
}

} // namespace

std::string encodeField(std::string_view plain, std::string_view alphabet)
{
    return encodeField(plain, alphabet, randomR);
}

std::string encodeField(std::string_view plain, std::string_view alphabet, const std::function<int()>& drawR)
{
    const auto L = static_cast<int>(alphabet.size());
    std::string out;
    out.reserve(plain.size() * 2);
    for (const char ch : plain) {
        const int r = drawR();
        const int v = static_cast<unsigned char>(ch) ^ r;
        out.push_back(alphabet[static_cast<std::size_t>(v % L)]);
        out.push_back(alphabet[static_cast<std::size_t>((v / L) * 8 + r)]);
    }
    return out;
}

std::string decodeField(std::string_view scrambled, std::string_view alphabet)
{
    const auto L = static_cast<int>(alphabet.size());
    std::string out;
    out.reserve(scrambled.size() / 2 + 1);
    for (std::size_t i = 0; i < scrambled.size(); i += 2) {
        const int e = positionIn(alphabet, scrambled[i]);
        const int m = i + 1 < scrambled.size() ? positionIn(alphabet, scrambled[i + 1]) : 0;
        const int t = m / 8;
        const int r = m - 8 * t;
        const auto byte = static_cast<unsigned char>((t * L + e) ^ r);
        if (byte == 0)
            break;
        out.push_back(static_cast<char>(byte));
    }
    return out;
}

} // namespace velkora
