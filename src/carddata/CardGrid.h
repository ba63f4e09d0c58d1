#pragma once
// A stored card, its parsed grid and letters, and the shape check made before a card is stored.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkora {

// One row of table mb_data. Every field holds plain text; the store scrambles serial and grid.
struct CardRecord {
    std::int32_t id = 0;
    std::string type;
    std::string account;
    std::string serial;
    std::string orientation; // "横向字母" or "竖向字母"
    std::string grid;        // rows at "\r\n", cells at "-"
    std::string letters;     // letters at ","
};

enum class Orientation { LettersAcross, LettersDown };

struct CardGrid {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> letters;
    Orientation orientation = Orientation::LettersDown;
};

// Cuts `text` at every `delimiter`. Scans by character (gbCharLength), so a delimiter never matches
// from inside a double-byte or four-byte character. No empty last piece after a final delimiter.
std::vector<std::string> splitText(std::string_view text, std::string_view delimiter);

std::vector<std::vector<std::string>> parseGrid(std::string_view gridText);
std::vector<std::string> parseLetters(std::string_view letterString);
CardGrid parseCard(std::string_view gridText, std::string_view letterString, std::string_view orientationText);

// Exactly "横向字母" reads as LettersAcross; every other text as LettersDown.
Orientation orientationFromText(std::string_view text);
const std::string& orientationText(Orientation orientation);

struct ShapeMismatch {
    int letterCount = 0;
    int measuredCount = 0;
    std::string label;   // "  横向" or "  竖向"
    std::string message;
    std::string title;   // "密保卡字母行/列错误！"
};

// No value when the grid's measured side has as many entries as there are letters.
std::optional<ShapeMismatch> validateShape(std::string_view gridText, std::string_view letterString,
                                           Orientation orientation);

} // namespace velkora
