// lookupCells on any card and coordinates. Input: one byte whose low bit picks letters across or
// down, then grid text, letter string and the three cells, separated by zero bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "carddata/CoordinateLookup.h"

namespace {

std::string_view nextField(std::string_view& rest)
{
    const std::size_t end = rest.find('\0');
    const std::string_view field = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return field;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const bool across = (static_cast<std::uint8_t>(rest[0]) & 1) != 0;
    rest.remove_prefix(1);

    velkora::CardRecord card;
    card.grid = nextField(rest);
    card.letters = nextField(rest);
    card.orientation = velkora::orientationText(across ? velkora::Orientation::LettersAcross
                                                       : velkora::Orientation::LettersDown);
    const std::string_view cell1 = nextField(rest);
    const std::string_view cell2 = nextField(rest);
    const std::string_view cell3 = nextField(rest);

    const velkora::CoordinateQuery q = velkora::lookupCells(card, cell1, cell2, cell3);
    if (!q.ok()) {
        if (q.error->message.empty() || q.error->cell < 1 || q.error->cell > 3 || !q.answers.empty() ||
            !q.resultText.empty())
            std::abort();
        return 0;
    }
    if (cell1.empty() || q.count < 1 || q.count > 3 || q.answers.size() != static_cast<std::size_t>(q.count))
        std::abort();
    std::string resultText;
    for (const std::string& answer : q.answers)
        resultText += answer + "\r\n\r\n";
    if (resultText != q.resultText)
        std::abort();
    // Every answer is one cell of the card: cutting it again at a row break or a cell separator
    // leaves it whole.
    for (const std::string& answer : q.answers) {
        for (const std::string_view delimiter : {std::string_view("\r\n"), std::string_view("-")}) {
            const auto pieces = velkora::splitText(answer, delimiter);
            if (!(answer.empty() ? pieces.empty() : (pieces.size() == 1 && pieces[0] == answer)))
                std::abort();
        }
    }
    return 0;
}
