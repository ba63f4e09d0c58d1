#include "startup/IniProfile.h"

#include <vector>

namespace velkora {
namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Gb18030Bom = "\x84\x31\x95\x33";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool inRange(char c, unsigned lo, unsigned hi)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= lo && b <= hi;
}

// Length of the GB18030 character that starts at `i`: 1, 2 or 4 bytes. A byte that starts no
// complete character counts as one.
std::size_t characterLength(std::string_view text, std::size_t i)
{
    if (!inRange(text[i], 0x81, 0xFE) || i + 1 >= text.size())
        return 1;
    const char second = text[i + 1];
    if (inRange(second, 0x30, 0x39)) {
        if (i + 3 < text.size() && inRange(text[i + 2], 0x81, 0xFE) && inRange(text[i + 3], 0x30, 0x39))
            return 4;
        return 1;
    }
    if (inRange(second, 0x40, 0x7E) || inRange(second, 0x80, 0xFE))
        return 2;
    return 1;
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal without regard to the case of ASCII letters; multi-byte characters compare exactly.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    std::size_t i = 0;
    while (i < a.size()) {
        const std::size_t lenA = characterLength(a, i);
        if (characterLength(b, i) != lenA)
            return false;
        if (lenA == 1) {
            if (asciiLower(a[i]) != asciiLower(b[i]))
                return false;
        } else if (a.substr(i, lenA) != b.substr(i, lenA)) {
            return false;
        }
        i += lenA;
    }
    return true;
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

enum class LineKind { Other, Section, Key };

struct Line {
    std::size_t begin = 0;      // first byte of the line
    std::size_t eolBegin = 0;   // first byte of its end ("\r\n", "\n" or nothing)
    std::size_t end = 0;        // one past its end
    LineKind kind = LineKind::Other;
    std::string_view name;      // section or key name, trimmed
    std::size_t valueBegin = 0; // key lines: first byte after "=" and the blanks after it
    std::string_view value;     // key lines: trimmed value
};

Line classify(std::string_view text, std::size_t begin, std::size_t eolBegin, std::size_t end)
{
    Line line{begin, eolBegin, end, LineKind::Other, {}, 0, {}};
    std::string_view content = text.substr(begin, eolBegin - begin);
    if (begin == 0) {
        if (content.starts_with(Utf8Bom))
            content.remove_prefix(Utf8Bom.size());
        else if (content.starts_with(Gb18030Bom))
            content.remove_prefix(Gb18030Bom.size());
    }
    const std::size_t contentOffset = static_cast<std::size_t>(content.data() - text.data());
    const std::string_view trimmed = trimBlanks(content);
    if (trimmed.empty() || trimmed.front() == ';')
        return line;

    if (trimmed.front() == '[') {
        // ']' can be the second byte of a double-byte character, so walk by character.
        for (std::size_t i = 1; i < trimmed.size(); i += characterLength(trimmed, i)) {
            if (trimmed[i] == ']') {
                line.kind = LineKind::Section;
                line.name = trimBlanks(trimmed.substr(1, i - 1));
                return line;
            }
        }
    }

    // "=" (0x3D) is never part of a multi-byte GB18030 character.
    const std::size_t eq = content.find('=');
    if (eq == std::string_view::npos)
        return line;
    line.kind = LineKind::Key;
    line.name = trimBlanks(content.substr(0, eq));
    std::size_t valueBegin = eq + 1;
    while (valueBegin < content.size() && isBlank(content[valueBegin]))
        ++valueBegin;
    line.valueBegin = contentOffset + valueBegin;
    line.value = trimBlanks(content.substr(valueBegin));
    return line;
}

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t lf = text.find('\n', begin);
        std::size_t eolBegin = 0;
        std::size_t end = 0;
        if (lf == std::string_view::npos) {
            eolBegin = end = text.size();
        } else {
            end = lf + 1;
            eolBegin = (lf > begin && text[lf - 1] == '\r') ? lf - 1 : lf;
        }
        lines.push_back(classify(text, begin, eolBegin, end));
        begin = end;
    }
    return lines;
}

// Index of the first section line named `section`, or lines.size().
std::size_t findSection(const std::vector<Line>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::Section && sameName(lines[i].name, section))
            return i;
    }
    return lines.size();
}

// One past the last line of the section whose header is at `header`.
std::size_t sectionEnd(const std::vector<Line>& lines, std::size_t header)
{
    std::size_t i = header + 1;
    while (i < lines.size() && lines[i].kind != LineKind::Section)
        ++i;
    return i;
}

std::string_view lineEndOf(std::string_view text)
{
    const std::size_t lf = text.find('\n');
    if (lf != std::string_view::npos && (lf == 0 || text[lf - 1] != '\r'))
        return "\n";
    return "\r\n";
}

std::string_view stripQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::optional<std::string> findProfileValue(std::string_view fileText, std::string_view section,
                                            std::string_view key)
{
    const std::vector<Line> lines = splitLines(fileText);
    const std::size_t header = findSection(lines, section);
    if (header == lines.size())
        return std::nullopt;
    const std::size_t end = sectionEnd(lines, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines[i].kind == LineKind::Key && sameName(lines[i].name, key))
            return std::string(stripQuotes(lines[i].value));
    }
    return std::nullopt;
}

std::string readProfileString(std::string_view fileText, std::string_view section, std::string_view key,
                              std::string_view defaultValue)
{
    const std::optional<std::string> found = findProfileValue(fileText, section, key);
    const std::string_view value = found ? std::string_view(*found) : defaultValue;
    return std::string(cutToCharacters(value, ProfileValueBufferSize - 1));
}

std::string writeProfileString(std::string_view fileText, std::string_view section, std::string_view key,
                               std::string_view value)
{
    const std::vector<Line> lines = splitLines(fileText);
    const std::string_view eol = lineEndOf(fileText);
    std::string out;
    out.reserve(fileText.size() + section.size() + key.size() + value.size() + 8);

    const std::size_t header = findSection(lines, section);
    if (header == lines.size()) {
        out.append(fileText);
        if (!out.empty() && out.back() != '\n')
            out.append(eol);
        out.append("[").append(section).append("]").append(eol);
        out.append(key).append("=").append(value).append(eol);
        return out;
    }

    const std::size_t end = sectionEnd(lines, header);
    std::size_t lastKey = header;
    for (std::size_t i = header + 1; i < end; ++i) {
        const Line& line = lines[i];
        if (line.kind != LineKind::Key)
            continue;
        if (sameName(line.name, key)) {
            out.append(fileText.substr(0, line.valueBegin));
            out.append(value);
            out.append(fileText.substr(line.eolBegin));
            return out;
        }
        lastKey = i;
    }

    // The key is new: it goes right after the section's last key (or its header line).
    const Line& after = lines[lastKey];
    out.append(fileText.substr(0, after.end));
    if (after.eolBegin == after.end)
        out.append(eol);
    out.append(key).append("=").append(value).append(eol);
    out.append(fileText.substr(after.end));
    return out;
}

std::string_view cutToCharacters(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t len = characterLength(text, i);
        if (i + len > maxBytes)
            break;
        i += len;
    }
    return text.substr(0, i);
}

} // namespace velkora
