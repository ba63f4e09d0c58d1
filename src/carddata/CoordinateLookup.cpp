#include "carddata/CoordinateLookup.h"

#include <limits>

#include "carddata/Text.h"

namespace velkora {
namespace {

LookupError makeError(LookupErrorKind kind, int cell, std::string message, std::string title = {},
                      bool focus = false)
{
    return LookupError{kind, cell, std::move(message), std::move(title), focus};
}

const std::string& badFormatMessage(int cell)
{
    switch (cell) {
    case 1: return VK_TEXT("第一格坐标点输入有误！(格式为： 字母+数字 例如 A1 B2 C3)");
    case 2: return VK_TEXT("第二格坐标点输入有误！(格式为： 字母+数字 例如 A1 B2 C3)");
    default: return VK_TEXT("第三格坐标点输入有误！(格式为： 字母+数字 例如 A1 B2 C3)");
    }
}

// Full-width ASCII forms (lead byte 0xA3) become their ASCII bytes, the ideographic space a blank.
std::string asciiForms(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = gbCharLength(text, i);
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto trail = length == 2 ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            out.push_back(static_cast<char>(trail - 0x80));
        else if (lead == 0xA1 && trail == 0xA1)
            out.push_back(' ');
        else
            out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::int32_t textToInteger(std::string_view text)
{
    const std::string s = asciiForms(text);
    std::size_t i = 0;
    while (i < s.size() && isCSpace(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    constexpr std::int64_t limit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

Coordinate parseCoordinate(std::string_view text)
{
    Coordinate c;
    if (text.empty())
        return c;
    c.letter = text.front();
    c.numberText = std::string(text.substr(1));
    c.number = textToInteger(c.numberText);
    return c;
}

CoordinateQuery lookupCells(const CardRecord& card, std::string_view cell1, std::string_view cell2,
                            std::string_view cell3)
{
    CoordinateQuery q;
    if (cell1.empty()) {
        q.error = makeError(LookupErrorKind::FirstCellMissing, 1,
                            VK_TEXT("第一格坐标值为必填项！（其余两格根据坐标情况选填！）"), {}, true);
        return q;
    }
    q.count = cell2.empty() ? 1 : (cell3.empty() ? 2 : 3);
    const std::string_view cells[3] = {cell1, cell2, cell3};
    if (q.count == 3) {
        for (int i = 0; i < 3; ++i) {
            if (cells[i].size() < 2) {
                q.error = makeError(LookupErrorKind::BadFormat, i + 1, badFormatMessage(i + 1), {}, true);
                return q;
            }
        }
    }

    const CardGrid grid = parseCard(card.grid, card.letters, card.orientation);
    for (int i = 0; i < q.count; ++i) {
        const std::string coordinate(cells[i]);
        const Coordinate c = parseCoordinate(coordinate);
        const std::string letter(1, c.letter);

        std::size_t p = 0; // 1-based position in the letter list
        for (std::size_t k = 0; k < grid.letters.size(); ++k) {
            if (grid.letters[k] == letter) {
                p = k + 1;
                break;
            }
        }
        if (p == 0) {
            q.error = makeError(LookupErrorKind::LetterNotFound, i + 1,
                                "[" + coordinate + VK_TEXT("]超过密保卡字母长度范围！"), VK_TEXT("错误"));
            break;
        }

        const auto beyondGrid = [&] {
            return makeError(LookupErrorKind::LetterBeyondGrid, i + 1,
                             "[" + coordinate + VK_TEXT("]在密保卡上没有对应的格子，请您检查或重新编辑！"),
                             VK_TEXT("错误"));
        };
        const auto rowCount = static_cast<std::int64_t>(grid.rows.size());
        if (grid.orientation == Orientation::LettersAcross) {
            if (c.number > rowCount || c.number < 1) {
                q.error = makeError(LookupErrorKind::RowOutOfRange, i + 1,
                                    VK_TEXT("数字(行)[") + coordinate +
                                        VK_TEXT("]坐标超出范围，请您检查或重新编辑！"));
                break;
            }
            const auto& row = grid.rows[static_cast<std::size_t>(c.number - 1)];
            if (p > row.size()) {
                q.error = beyondGrid();
                break;
            }
            q.answers.push_back(row[p - 1]);
        } else {
            if (static_cast<std::int64_t>(p) > rowCount) {
                q.error = beyondGrid();
                break;
            }
            const auto& row = grid.rows[p - 1];
            if (c.number > static_cast<std::int64_t>(row.size()) || c.number < 1) {
                q.error = makeError(LookupErrorKind::ColumnOutOfRange, i + 1,
                                    VK_TEXT("数字(列)[") + coordinate +
                                        VK_TEXT("]坐标超出范围，请您检查或重新编辑！"));
                break;
            }
            q.answers.push_back(row[static_cast<std::size_t>(c.number - 1)]);
        }
    }

    if (q.error) {
        q.answers.clear();
        return q;
    }
    for (const std::string& answer : q.answers)
        q.resultText += answer + "\r\n\r\n";
    return q;
}

} // namespace velkora
