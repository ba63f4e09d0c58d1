#include "carddata/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace velkora {
namespace {

struct KnownBytes {
    const char* utf8;
    std::string gb;
};

// Byte forms the rest of the program relies on: GBK for GBK characters, four bytes for the rest.
TEST(Text, Utf8ToGbGivesTheGbBytes)
{
    const KnownBytes cases[] = {
        {"", ""},
        {"A1 b2", "A1 b2"},
        {"卡", "\xBF\xA8"},
        {"横向字母", "\xBA\xE1\xCF\xF2\xD7\xD6\xC4\xB8"},
        {"１", "\xA3\xB1"},   // full-width digit
        {"Ａ", "\xA3\xC1"},   // full-width capital
        {"　", "\xA1\xA1"},   // ideographic space
        {"𠀀", "\x95\x32\x82\x36"},
        {"😀", "\x94\x39\xFC\x36"},
        {"€", "\xA2\xE3"},
    };
    for (const KnownBytes& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(utf8ToGb(c.utf8), c.gb);
        EXPECT_EQ(gbToUtf8(c.gb), c.utf8);
    }
}

TEST(Text, RoundTripKeepsEveryCharacter)
{
    std::string longText;
    for (int i = 0; i < 3000; ++i) // far more than one conversion buffer
        longText += "密保卡A1-𠀀\r\n";
    const std::string cases[] = {
        "密保卡参数与字母串长度不符！（字母长度：26  横向坐标长度：6）",
        "13-15-23-45-55-82\r\n99-15-21-16-45-33",
        "ＡＢ１２　－＋",
        "ǹ乗丄亅😀𠀀€ß",
        std::string("with\0zero", 9),
        longText,
    };
    for (const std::string& utf8 : cases) {
        SCOPED_TRACE(utf8.substr(0, 60));
        EXPECT_EQ(gbToUtf8(utf8ToGb(utf8)), utf8);
    }
}

TEST(Text, InvalidUtf8BytesBecomeQuestionMarks)
{
    const KnownBytes cases[] = {
        {"A\xFF" "B", "A?B"},
        {"\x80", "?"},
        {"\xE5\x8D", "??"},            // 卡 cut short
        {"\xE5\x8D" "A", "??A"},
        {"\xC0\xAF", "??"},            // overlong '/'
        {"\xED\xA0\x80", "???"},       // a UTF-16 surrogate
        {"卡\xFF卡", "\xBF\xA8?\xBF\xA8"},
    };
    for (const KnownBytes& c : cases) {
        SCOPED_TRACE(c.gb);
        EXPECT_EQ(utf8ToGb(c.utf8), c.gb);
    }
}

TEST(Text, InvalidGbBytesBecomeReplacementCharacters)
{
    const std::string fffd = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"A\xFF" "B", "A" + fffd + "B"},
        {"\x81", fffd},                    // lead byte at the end
        {"\x81\x20", fffd + " "},          // lead byte before a blank
        {"\x81\x30", fffd + "0"},          // four-byte character cut short
        {"\xBF\xA8\x81", "卡" + fffd},
    };
    for (const auto& [gb, utf8] : cases) {
        SCOPED_TRACE(utf8);
        EXPECT_EQ(gbToUtf8(gb), utf8);
    }
}

TEST(Text, VkTextConvertsOnceAndKeepsTheResult)
{
    const std::string* first = nullptr;
    for (int i = 0; i < 3; ++i) {
        const std::string& text = VK_TEXT("错误");
        EXPECT_EQ(text, "\xB4\xED\xCE\xF3");
        if (first == nullptr)
            first = &text;
        EXPECT_EQ(&text, first);
    }
}

TEST(Text, CharacterLengthFollowsTheLeadByte)
{
    struct Case {
        std::string text;
        std::size_t pos;
        std::size_t length;
    };
    const Case cases[] = {
        {"A", 0, 1},
        {"\x7F", 0, 1},
        {"\xBF\xA8", 0, 2},              // 卡
        {"\x81\x5C", 0, 2},              // 乗: trail byte is a backslash
        {"\x80\x41", 0, 2},              // 0x80 counts as a lead byte
        {"\x95\x32\x82\x36", 0, 4},      // 𠀀
        {"A\x95\x32\x82\x36", 1, 4},
        {"\x81\x30", 0, 2},              // four-byte character cut short
        {"\x81\x30\x81", 0, 2},
        {"\x81\x30\x20\x30", 0, 2},      // third byte is no lead byte
        {"\x81", 0, 1},                  // lone lead byte at the end
        {"A\xBF", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text) + " at " + std::to_string(c.pos));
        EXPECT_EQ(gbCharLength(c.text, c.pos), c.length);
    }
}

} // namespace
} // namespace velkora
