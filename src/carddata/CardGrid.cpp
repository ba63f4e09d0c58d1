#include "carddata/CardGrid.h"

#include "carddata/Text.h"

namespace velkora {

std::vector<std::string> splitText(std::string_view text, std::string_view delimiter)
{
    std::vector<std::string> pieces;
    if (text.empty())
        return pieces;
    if (delimiter.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t pieceStart = 0;
    std::size_t pos = 0;
    while (pos + delimiter.size() <= text.size()) {
        if (text.compare(pos, delimiter.size(), delimiter) == 0) {
            pieces.emplace_back(text.substr(pieceStart, pos - pieceStart));
            pos += delimiter.size();
            pieceStart = pos;
        } else {
            pos += gbCharLength(text, pos);
        }
    }
    if (pieceStart < text.size())
        pieces.emplace_back(text.substr(pieceStart));
    return pieces;
}

std::vector<std::vector<std::string>> parseGrid(std::string_view gridText)
{
    std::vector<std::vector<std::string>> rows;
    for (const std::string& row : splitText(gridText, "\r\n"))
        rows.push_back(splitText(row, "-"));
    return rows;
}

std::vector<std::string> parseLetters(std::string_view letterString)
{
    return splitText(letterString, ",");
}

CardGrid parseCard(std::string_view gridText, std::string_view letterString, std::string_view orientation)
{
    return CardGrid{parseGrid(gridText), parseLetters(letterString), orientationFromText(orientation)};
}

Orientation orientationFromText(std::string_view text)
{
    return text == orientationText(Orientation::LettersAcross) ? Orientation::LettersAcross
                                                               : Orientation::LettersDown;
}

const std::string& orientationText(Orientation orientation)
{
    return orientation == Orientation::LettersAcross ? VK_TEXT("横向字母") : VK_TEXT("竖向字母");
}

std::optional<ShapeMismatch> validateShape(std::string_view gridText, std::string_view letterString,
                                           Orientation orientation)
{
    const int letterCount = static_cast<int>(parseLetters(letterString).size());
    const std::vector<std::string> rows = splitText(gridText, "\r\n");

    ShapeMismatch m;
    if (orientation == Orientation::LettersAcross) {
        m.measuredCount = rows.empty() ? 0 : static_cast<int>(splitText(rows.front(), "-").size());
        m.label = VK_TEXT("  横向");
    } else {
        m.measuredCount = static_cast<int>(rows.size());
        m.label = VK_TEXT("  竖向");
    }
    if (m.measuredCount == letterCount)
        return std::nullopt;

    m.letterCount = letterCount;
    m.message = VK_TEXT("密保卡参数与字母串长度不符！（字母长度：") + std::to_string(letterCount) + m.label +
                VK_TEXT("坐标长度：") + std::to_string(m.measuredCount) + VK_TEXT("）");
    m.title = VK_TEXT("密保卡字母行/列错误！");
    return m;
}

} // namespace velkora
