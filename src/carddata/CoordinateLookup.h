#pragma once
// Turns one to three coordinate texts and a card into the answers, or the first error.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "carddata/CardGrid.h"

namespace velkora {

// The result label's text when there is no answer.
inline constexpr std::string_view ResultPlaceholder = "-\r\n\r\n-\r\n\r\n-";

struct Coordinate {
    char letter = 0;
    std::string numberText;
    std::int32_t number = 0;
};

Coordinate parseCoordinate(std::string_view text);

enum class LookupErrorKind {
    FirstCellMissing,
    BadFormat,
    LetterNotFound,
    RowOutOfRange,
    ColumnOutOfRange,
    LetterBeyondGrid,
};

struct LookupError {
    LookupErrorKind kind = LookupErrorKind::FirstCellMissing;
    int cell = 1;          // 1 to 3
    std::string message;
    std::string title;     // empty: the default message-box caption
    bool focusCell = false;
};

struct CoordinateQuery {
    int count = 0;
    std::vector<std::string> answers;
    std::string resultText;            // every answer followed by "\r\n\r\n"
    std::optional<LookupError> error;

    bool ok() const { return !error.has_value(); }
};

// Only grid, letters and orientation of the card are read.
CoordinateQuery lookupCells(const CardRecord& card, std::string_view cell1, std::string_view cell2,
                            std::string_view cell3);

// A whole number out of a text, read like the C library's atoi after full-width digits, signs
// and the ideographic space have been turned into their ASCII forms. Saturates at the int range.
std::int32_t textToInteger(std::string_view text);

} // namespace velkora
